// The scan for the list of declarations (declared in Declarations.h).
#include "navigation/Declarations.h"
#include <vector>
#include "base/TextScan.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (IsBlank(line.front()) || line.front() == '\f' || line.front() == '\v')) line.remove_prefix(1);
  while (!line.empty() && (IsBlank(line.back()) || line.back() == '\f' || line.back() == '\v')) line.remove_suffix(1);
  return line;
}

size_t NameEnd(std::string_view s, size_t at) {
  while (at < s.size() && IsNameChar(s[at])) ++at;
  return at;
}

bool IsDeclaration(std::string_view line) {
  if (line.empty() || !IsNameStart(line[0])) return false;
  size_t word = NameEnd(line, 0);
  std::string_view first = line.substr(0, word);
  if (SameText(first, "sub") || SameText(first, "function") || SameText(first, "type")) {
    size_t at = word;
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at > word && at < line.size() && IsNameStart(line[at]);
  }
  // A label: a name and ":" and nothing else (but a comment).
  if (word >= line.size() || line[word] != ':') return false;
  std::string_view rest = Trimmed(line.substr(word + 1));
  return rest.empty() || rest[0] == '\'' || rest[0] == ';' || rest.substr(0, 2) == "//";
}

// Whether the line leaves a /* */ comment open, given whether one was open before it. Strings
// and line comments hide the marks.
bool CommentOpenAfter(std::string_view line, bool open) {
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (open) {
      if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') open = false, ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '`') {
      quote = c;
    } else if (c == '\'' || c == ';' || (c == '/' && i + 1 < line.size() && line[i + 1] == '/')) {
      return false;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
      open = true, ++i;
    }
  }
  return open;
}
}  // namespace

std::string DeclarationListing(std::string_view text) {
  std::string listing;
  bool inComment = false;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = text.substr(start, end - start);
    ++number;
    std::string_view shown = Trimmed(line);
    if (!inComment && IsDeclaration(shown)) listing += std::to_string(number) + ": " + std::string(shown) + "\r\n";
    inComment = CommentOpenAfter(line, inComment);
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return listing;
}
