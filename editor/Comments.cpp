// Commenting lines out and in.
#include "editor/Comments.h"
#include <algorithm>
#include <string>

namespace {

bool IsWordChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '#' || c >= 128;
}

// The length of the mark itself at the start of code, 0 when code does not start with one.
size_t MarkAt(std::string_view code) {
  if (code.starts_with('\'') || code.starts_with(';')) return 1;
  if (code.starts_with("//")) return 2;
  if (code.size() >= 3 && (code[0] | 32) == 'r' && (code[1] | 32) == 'e' && (code[2] | 32) == 'm' &&
      (code.size() == 3 || !IsWordChar(static_cast<unsigned char>(code[3]))))
    return 3;
  return 0;
}

}  // namespace

size_t CommentMarkLength(std::string_view line) {
  const std::string_view code = line.substr(LeadingBlanks(line).size());
  size_t mark = MarkAt(code);
  if (mark > 0 && mark < code.size() && code[mark] == ' ') ++mark;
  return mark;
}

std::vector<LineEdit> ToggleComments(const SourceLines& lines, int first, int last, bool removeOnly) {
  struct Line {
    int number;
    size_t indent;
    size_t mark;
  };
  std::vector<Line> code;  // the lines that are not blank
  int blank = 0;
  for (int l = std::max(0, first); l <= last && l < lines.Count(); ++l) {
    const std::string text = lines.Text(l);
    const size_t indent = LeadingBlanks(text).size();
    if (indent < text.size()) {
      code.push_back({l, indent, CommentMarkLength(text)});
    } else {
      ++blank;
    }
  }
  // Lines that are all blank are commented, so Ctrl+Q on an empty line begins a comment.
  if (code.empty() && !removeOnly) {
    for (int l = std::max(0, first); blank-- > 0; ++l) code.push_back({l, 0, 0});
  }
  const bool remove =
      removeOnly || (!code.empty() && std::all_of(code.begin(), code.end(), [](const Line& c) { return c.mark > 0; }));
  std::vector<LineEdit> edits;
  for (const Line& c : code) {
    if (!remove) {
      edits.push_back({c.number, 0, 0, "' "});
    } else if (c.mark > 0) {
      edits.push_back({c.number, c.indent, c.indent + c.mark, ""});
    }
  }
  return edits;
}
