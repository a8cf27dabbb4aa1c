// The completion list's names, the fields of a record, and the parameter a call is at.
#include "editor/Completion.h"

#include <algorithm>
#include <unordered_set>

#include "base/TextScan.h"

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  std::string la = LowerText(a), lb = LowerText(b);
  return la != lb ? la < lb : a < b;
}

}  // namespace

std::vector<std::string> NamesStartingWith(const std::vector<std::string_view>& names, std::string_view prefix) {
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (std::string_view name : names) {
    if (name.size() < prefix.size() || !SameText(name.substr(0, prefix.size()), prefix)) continue;
    if (seen.insert(LowerText(name)).second) out.emplace_back(name);
  }
  std::sort(out.begin(), out.end(), LessIgnoringCase);
  return out;
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

std::vector<std::string> FieldsAfterDot(const std::vector<Declaration>& names, std::string_view name, int line) {
  std::vector<std::string> out;
  const Declaration* var = DeclarationAt(names, name, line);
  if (!var || var->type.empty()) return out;
  for (const Declaration& d : names)
    if (d.kind == NameKind::Field && SameText(d.owner, var->type)) out.push_back(d.name);
  return out;
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
