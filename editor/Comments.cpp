// Commenting lines out and in.
#include "editor/Comments.h"
#include <algorithm>
#include <string>

size_t CommentMarkLength(std::string_view line) {
  const std::string_view code = line.substr(LeadingBlanks(line).size());
  // The mark is the line's own text, read on its own: a line inside a /* */ comment has its mark too.
  const LineRead read = ReadLine(code, false);
  if (read.tokens.empty() || read.tokens[0].kind != TokenKind::LineComment) return 0;
  size_t mark = code[0] == '\'' || code[0] == ';' ? 1 : code[0] == '/' ? 2 : 3;  // ' ; // rem
  if (mark < code.size() && code[mark] == ' ') ++mark;
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
