// Byte-string scanners and path helpers. Every scanner reads code 0 at the end of the text
// (and at an embedded zero byte), so none of them can run past the end.
#include "base/TextScan.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>
#include "base/SharedState.h"
#include "zorbasic/Source.h"

namespace {

bool IsBlank(int c) { return c >= 1 && c <= 32; }
bool IsLineBreak(int c) { return c >= 10 && c <= 13; }
bool IsQuote(int c) { return c == '"' || c == '\'' || c == '`'; }
bool IsSingleWord(int c) { return c == '(' || c == ')' || c == ','; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
constexpr int PairLead = 255;

// The closing partner of an opening bracket, or 0 when c opens no group.
int PartnerOf(int c) {
  switch (c) {
    case '(': return ')';
    case '<': return '>';
    case '[': return ']';
    case '{': return '}';
    default: return 0;
  }
}

bool EndsWord(int c) {
  return c == 0 || IsBlank(c) || IsSingleWord(c) || IsQuote(c) || c == ';' || c == PairLead;
}

// The characters from 1-based first up to (excluding) 1-based last, clipped to the text.
std::string Between(std::string_view text, int first, int last) {
  if (first < 1) first = 1;
  int size = static_cast<int>(text.size());
  if (last > size + 1) last = size + 1;
  if (last <= first) return {};
  return std::string(text.substr(first - 1, last - first));
}

// Finds the "[" ... "]" item around start; see BracketAt.
bool FindBracket(std::string_view text, int& start, int& end) {
  int open = start;
  for (;;) {
    int c = CodeAt(text, open);
    if (c == 0) return false;
    if (c == '[') break;
    if (--open < 1) return false;
  }
  int close = open + 1;
  while (CodeAt(text, close) != 0 && CodeAt(text, close) != ']') ++close;
  start = open + 1;
  end = close;
  return true;
}

}  // namespace

int CodeAt(std::string_view text, int pos) {
  if (pos < 1 || pos > static_cast<int>(text.size())) return 0;
  return static_cast<unsigned char>(text[pos - 1]);
}

int SkipBlanks(std::string_view text, int& pos) {
  while (IsBlank(CodeAt(text, pos))) ++pos;
  return CodeAt(text, pos);
}

void LineStart(std::string_view text, int& pos) {
  while (pos >= 2) {
    int c = CodeAt(text, pos);
    if (c == 0) return;
    if (IsLineBreak(c)) {
      ++pos;
      return;
    }
    --pos;
  }
}

void LineEnd(std::string_view text, int& pos) {
  if (pos < 1) return;
  for (int c = CodeAt(text, pos); c != 0 && !IsLineBreak(c); c = CodeAt(text, pos)) ++pos;
}

std::string NextListLine(std::string_view text, int& pos) {
  if (pos < 1) pos = 1;
  if (pos > static_cast<int>(text.size())) return {};
  size_t found = text.find("\r\n", pos - 1);
  if (found == std::string_view::npos) return {};
  std::string item(text.substr(pos - 1, found - (pos - 1)));
  pos = static_cast<int>(found) + 3;
  return item;
}

std::string ReadWord(std::string_view text, int& pos) {
  for (;;) {
    int c = SkipBlanks(text, pos);
    int start = pos;
    if (c == 0) return {};
    if (IsSingleWord(c)) {
      ++pos;
    } else if (IsQuote(c)) {
      ++pos;
      while (CodeAt(text, pos) != 0 && CodeAt(text, pos) != c) ++pos;
      if (CodeAt(text, pos) == c) ++pos;
    } else if (c == ';') {
      LineEnd(text, pos);
      continue;
    } else if (c == PairLead) {
      ++pos;
      if (CodeAt(text, pos) != 0) ++pos;  // the pair's second byte, when there is one
    } else {
      while (!EndsWord(CodeAt(text, pos))) ++pos;
    }
    return Between(text, start, pos);
  }
}

std::string Unquote(std::string_view s) {
  if (s.empty() || !IsQuote(static_cast<unsigned char>(s.front())) || s.back() != s.front())
    return std::string(s);
  if (s.size() <= 2) return {};
  return std::string(s.substr(1, s.size() - 2));
}

std::string ReadGroup(std::string_view text, int& pos) {
  if (pos < 1) pos = 1;
  int open = SkipBlanks(text, pos);
  int close = PartnerOf(open);
  std::string value;
  if (close != 0) {
    int first = pos + 1;
    int depth = 1;
    int q = first;
    for (int c = CodeAt(text, q); c != 0; c = CodeAt(text, ++q)) {
      if (c == open) ++depth;
      if (c == close && --depth == 0) break;
    }
    value = Between(text, first, q);
    pos = CodeAt(text, q) == 0 ? q : q + 1;
  } else {
    int first = pos;
    while (CodeAt(text, pos) != 0) ++pos;
    value = Between(text, first, pos);
  }
  SkipBlanks(text, pos);
  return value;
}

std::string ValueAfterKey(std::string_view text, std::string_view key, int start) {
  if (start < 1) start = 1;
  if (start > static_cast<int>(text.size()) + 1) return {};
  size_t found = text.find(key, start - 1);
  if (found == std::string_view::npos) return {};
  int pos = static_cast<int>(found + key.size()) + 1;
  return ReadGroup(text, pos);
}

std::string BracketAt(std::string_view text, int& start, int& end, int& length) {
  int first = start;
  int last = 0;
  if (!FindBracket(text, first, last)) return {};
  start = first;
  end = last;
  length = last - first;
  return Between(text, first, last);
}

std::string LabelTarget(std::string_view text, int start, int end) {
  if (!FindBracket(text, start, end)) return {};
  if (CodeAt(text, start - 2) != '<' || CodeAt(text, end + 1) != '>') return {};
  size_t open = text.find('[', end + 1);
  if (open == std::string_view::npos) return {};
  size_t close = text.find(']', open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(text.substr(open + 1, close - open - 1));
}

void InsertText(std::string& s, int p, std::string_view ins) {
  size_t at = p <= 1 ? 0 : static_cast<size_t>(p - 1);
  if (at > s.size()) at = s.size();
  s.insert(at, ins);
}

std::string DirPart(std::string_view path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i])) return std::string(path.substr(0, i));
  return std::string(path);
}

std::string NamePart(std::string_view path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i])) return std::string(path.substr(i + 1));
  return std::string(path);
}

std::string ExtPart(std::string_view path) {
  size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string StripExt(std::string_view path) {
  size_t dot = path.rfind('.');
  return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::string PathInFolder(std::string_view folder, std::string_view path) {
  bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/' || path[0] == '$');
  bool drive = path.size() >= 2 && path[1] == ':';
  if (path.empty() || rooted || drive || folder.empty()) return std::string(path);
  std::string joined(folder);
  if (joined.back() != '\\' && joined.back() != '/') joined += '\\';
  return joined.append(path);
}

std::string FolderToEnter(std::string_view folder) {
  std::string entered(folder);
  if (entered.size() == 2 && entered[1] == ':') entered += '\\';
  return entered;
}

std::string ExpandPath(std::string_view name) {
  if (name.empty() || name.front() != '$') return std::string(name);
  return ProgramDir + std::string(name.substr(1));
}

std::string DocumentSourcePath(std::string_view currentFile) {
  return currentFile.empty() ? ProgramDir + "\\_.zobas" : ExpandPath(currentFile);
}

// The toolchain's own rule, so the IDE and the compile tool tell files apart alike.
std::string NormalPath(std::string_view path) { return zb::NormalPath(path); }

std::string FileNameKey(std::string_view path) { return zb::FileNameKey(path); }

std::string LowerText(std::string_view s) {
  std::string lower(s);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

int ReadNumber(std::string_view text) {
  int pos = 1;
  SkipBlanks(text, pos);
  bool negative = false;
  if (CodeAt(text, pos) == '+' || CodeAt(text, pos) == '-') negative = CodeAt(text, pos++) == '-';
  auto isDigit = [&](int p) { return CodeAt(text, p) >= '0' && CodeAt(text, p) <= '9'; };
  long long whole = 0;
  bool any = false;
  for (; isDigit(pos); ++pos, any = true)
    whole = std::min<long long>(whole * 10 + (CodeAt(text, pos) - '0'), 1LL << 40);
  // The fraction decides the rounding only: above, below or exactly one half.
  int half = -1;
  if (CodeAt(text, pos) == '.' && isDigit(pos + 1)) {
    any = true;
    int first = CodeAt(text, ++pos) - '0';
    bool restNonZero = false;
    for (++pos; isDigit(pos); ++pos) restNonZero |= CodeAt(text, pos) != '0';
    half = first > 5 || (first == 5 && restNonZero) ? 1 : first == 5 ? 0 : -1;
  }
  if (!any) return 0;
  if (half > 0 || (half == 0 && whole % 2 == 1)) ++whole;
  if (negative) whole = -whole;
  if (whole > INT_MAX) return INT_MAX;
  if (whole < INT_MIN) return INT_MIN;
  return static_cast<int>(whole);
}

long long RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return LLONG_MAX;
  if (value <= -9.2e18) return LLONG_MIN;
  double down = std::floor(value);
  double rest = value - down;
  long long result = static_cast<long long>(down);
  if (rest > 0.5 || (rest == 0.5 && result % 2 != 0)) ++result;
  return result;
}
