// The completion list's names, the fields of a record, and the parameter a call is at.
#include "language/Completion.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include "base/TextScan.h"
#include "language/CharClasses.h"


namespace {

// Below zero, zero or above zero as a comes before, with or after b, letter case ignored.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  for (size_t k = 0; k < a.size() && k < b.size(); ++k)
    if (LowerLetter(a[k]) != LowerLetter(b[k])) return static_cast<unsigned char>(LowerLetter(a[k])) - static_cast<unsigned char>(LowerLetter(b[k]));
  return static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size());
}

struct NameHash {
  size_t operator()(std::string_view s) const {
    size_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<unsigned char>(LowerLetter(c))) * 16777619u;
    return h;
  }
};
struct NameEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

}  // namespace

std::vector<std::string> NamesStartingWith(const std::vector<std::string_view>& names, std::string_view prefix) {
  std::vector<std::string_view> found;
  std::unordered_set<std::string_view, NameHash, NameEqual> seen;
  for (std::string_view name : names) {
    if (name.size() < prefix.size() || !SameText(name.substr(0, prefix.size()), prefix)) continue;
    if (seen.insert(name).second) found.push_back(name);
  }
  std::sort(found.begin(), found.end(), [](std::string_view a, std::string_view b) {
    int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  return std::vector<std::string>(found.begin(), found.end());
}

bool KnownAt(const Declaration& d, int line) { return line >= d.scopeFirst && line <= d.scopeLast; }

const Declaration* DeclarationAt(const std::vector<Declaration>& names, std::string_view name, int line) {
  const Declaration* found = nullptr;
  for (const Declaration& d : names) {
    if (d.kind == NameKind::Field || !KnownAt(d, line) || !SameText(d.name, name)) continue;
    bool inner = d.scopeFirst > 0 || d.scopeLast < INT_MAX;
    if (!found || (inner && found->scopeFirst == 0 && found->scopeLast == INT_MAX)) found = &d;
  }
  return found;
}

namespace {
// A record of a chain: a variable, array, parameter or function with a type.
bool HoldsRecord(const Declaration& d) {
  return d.kind == NameKind::Variable || d.kind == NameKind::Array || d.kind == NameKind::Parameter ||
         d.kind == NameKind::Function;
}

// The declaration the first name of a chain stands for at the line.
const Declaration* ChainStart(const KnownNames& known, std::string_view name, int line) {
  if (const Declaration* d = DeclarationAt(known.document, name, line)) return HoldsRecord(*d) ? d : nullptr;
  for (const std::vector<Declaration>& file : known.included)
    for (const Declaration& d : file)
      if (d.scopeFirst == 0 && d.scopeLast == INT_MAX && HoldsRecord(d) && SameText(d.name, name)) return &d;
  return nullptr;
}

// Where the "(" stands that the ")" at close (in line) matches, passing over strings; npos
// when there is none.
size_t OpeningBracket(std::string_view line, size_t close) {
  int depth = 0;
  for (size_t p = close + 1; p-- > 0;) {
    const char c = line[p];
    if (c == '"' || c == '`') {
      const size_t open = p == 0 ? std::string_view::npos : line.rfind(c, p - 1);
      if (open == std::string_view::npos) return std::string_view::npos;
      p = open;
    } else if (c == ')') {
      ++depth;
    } else if (c == '(' && --depth == 0) {
      return p;
    }
  }
  return std::string_view::npos;
}
}  // namespace

std::vector<std::string> RecordChainBefore(std::string_view line, size_t nameStart) {
  std::vector<std::string> chain;
  size_t p = std::min(nameStart, line.size());
  while (p > 0 && line[p - 1] == '.') {
    size_t end = p - 1;
    if (end > 0 && line[end - 1] == ')') {
      end = OpeningBracket(line, end - 1);
      if (end == std::string_view::npos) return {};
    }
    const size_t start = NameStartBefore(line, end);
    if (start == end || IsDigit(static_cast<unsigned char>(line[start]))) return {};
    chain.insert(chain.begin(), std::string(line.substr(start, end - start)));
    p = start;
  }
  return chain;
}

std::string ChainType(const KnownNames& known, const std::vector<std::string>& chain, int line) {
  if (chain.empty()) return {};
  const Declaration* link = ChainStart(known, chain[0], line);
  int file = -1;
  for (size_t k = 1; link != nullptr && k < chain.size(); ++k) link = FieldOfType(known, link->type, chain[k], file);
  return link ? std::string(link->type) : std::string();
}

const Declaration* FieldOfType(const KnownNames& known, std::string_view type, std::string_view name, int& file) {
  if (type.empty()) return nullptr;
  auto find = [&](const std::vector<Declaration>& names) -> const Declaration* {
    for (const Declaration& d : names)
      if (d.kind == NameKind::Field && SameText(d.owner, type) && SameText(d.name, name)) return &d;
    return nullptr;
  };
  file = -1;
  if (const Declaration* d = find(known.document)) return d;
  for (size_t k = 0; k < known.included.size(); ++k)
    if (const Declaration* d = find(known.included[k])) {
      file = static_cast<int>(k);
      return d;
    }
  return nullptr;
}

std::vector<std::string> FieldsOfType(const KnownNames& known, std::string_view type) {
  std::vector<std::string> out;
  if (type.empty()) return out;
  auto add = [&](const std::vector<Declaration>& names) {
    for (const Declaration& d : names)
      if (d.kind == NameKind::Field && SameText(d.owner, type)) out.emplace_back(d.name);
  };
  add(known.document);
  for (const std::vector<Declaration>& file : known.included) add(file);
  return out;
}

bool EnterBreaksLine(const ListShown& list, std::string_view typed) {
  if (!list.byItself || list.movedThrough || typed.empty()) return false;
  return std::any_of(list.names.begin(), list.names.end(), [&](const std::string& name) { return SameText(name, typed); });
}

int CurrentParameter(std::string_view callText) {
  int depth = 0, k = 0;
  for (size_t p = 0; p < callText.size(); ++p) {
    char c = callText[p];
    if (c == '"' || c == '`') {
      size_t close = callText.find(c, p + 1);
      // A doubled "" inside a string opens the next string at once, so it is passed over too.
      if (close == std::string_view::npos) return k;
      p = close;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth-- == 0) return -1;
    } else if (c == ',' && depth == 0) {
      ++k;
    }
  }
  return k;
}

bool ParameterRange(std::string_view parameters, int k, size_t& first, size_t& last) {
  size_t b = 0;
  int depth = 0;
  for (size_t p = 0; p <= parameters.size(); ++p) {
    char c = p < parameters.size() ? parameters[p] : ',';
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c != ',' || depth > 0) continue;
    if (k-- == 0) {
      size_t e = p;
      while (b < e && (parameters[b] == ' ' || parameters[b] == '[' || parameters[b] == ']')) ++b;
      while (e > b && (parameters[e - 1] == ' ' || parameters[e - 1] == '[' || parameters[e - 1] == ']')) --e;
      first = b;
      last = e;
      return b < e;
    }
    b = p + 1;
  }
  return false;
}

CallHint HintFor(const std::vector<Declaration>& names, const std::vector<Builtin>& builtins, std::string_view name,
                 int line) {
  CallHint hint;
  const Declaration* d = DeclarationAt(names, name, line);
  std::string_view parameters;
  if (d && (d->kind == NameKind::Sub || d->kind == NameKind::Function)) {
    name = d->name;
    parameters = d->parameters;
  } else if (const Builtin* b = FindListedBuiltin(builtins, name)) {
    name = b->name;
    parameters = b->parameters;
  } else {
    return hint;
  }
  hint.text = std::string(name) + "(" + std::string(parameters) + ")";
  hint.parameters = name.size() + 1;
  return hint;
}

bool HintParameter(const CallHint& hint, int k, size_t& first, size_t& last) {
  if (hint.text.size() < hint.parameters + 1) return false;
  std::string_view list(hint.text);
  list = list.substr(hint.parameters, list.size() - hint.parameters - 1);
  if (!ParameterRange(list, k, first, last)) return false;
  first += hint.parameters;
  last += hint.parameters;
  return true;
}

namespace {
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
}  // namespace

size_t NameStartBefore(std::string_view line, size_t column) {
  column = std::min(column, line.size());
  size_t start = column;
  while (start > 0 && IsNameChar(static_cast<unsigned char>(line[start - 1]))) --start;
  return start;
}

std::vector<CallSite> CallsAround(std::string_view line, size_t column) {
  column = std::min(column, line.size());
  std::vector<size_t> open;  // columns behind the "(" still open
  size_t statement = 0;      // where the statement the column is in starts
  for (size_t p = 0; p < column; ++p) {
    const char c = line[p];
    if (c == '"' || c == '`') {
      const size_t close = line.find(c, p + 1);
      if (close == std::string_view::npos || close >= column) return {};  // the column is inside a string
      p = close;
    } else if (c == '\'') {
      return {};  // the column is in a comment
    } else if (c == '(') {
      open.push_back(p + 1);
    } else if (c == ')') {
      if (!open.empty()) open.pop_back();
    } else if (c == ':' && open.empty()) {
      statement = p + 1;
    }
  }
  std::vector<CallSite> calls;
  for (auto at = open.rbegin(); at != open.rend(); ++at) {
    const size_t paren = *at - 1;
    const size_t start = NameStartBefore(line, paren);
    if (start == paren || IsDigit(static_cast<unsigned char>(line[start]))) continue;
    calls.push_back({std::string(line.substr(start, paren - start)), *at, true});
  }
  size_t first = statement;
  while (first < column && IsBlankOrTab(line[first])) ++first;
  size_t end = first;
  while (end < column && IsNameChar(static_cast<unsigned char>(line[end]))) ++end;
  if (end > first && end < column && IsBlankOrTab(line[end]) && IsLetter(static_cast<unsigned char>(line[first])))
    calls.push_back({std::string(line.substr(first, end - first)), end + 1, false});
  return calls;
}
