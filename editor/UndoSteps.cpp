// Which typed keys make the editing aids add edits of their own.
#include "editor/UndoSteps.h"
#include <string>
#include "editor/Indentation.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"

namespace {
// The lines as they read once ch is typed at column of line.
class LinesWithTyped : public SourceLines {
 public:
  LinesWithTyped(const SourceLines& lines, int line, size_t column, char ch)
      : lines_(lines), line_(line), column_(column), ch_(ch) {}
  int Count() const override { return lines_.Count(); }
  std::string Text(int line) const override {
    std::string text = lines_.Text(line);
    if (line == line_) text.insert(std::min(column_, text.size()), 1, ch_);
    return text;
  }
  bool StartsInComment(int line) const override { return lines_.StartsInComment(line); }

 private:
  const SourceLines& lines_;
  int line_;
  size_t column_;
  char ch_;
};
}  // namespace

bool TypingMovesClosingWord(const SourceLines& lines, int line, size_t column, char ch) {
  if (column == 0 || ch == 0 || IsWordChar(static_cast<unsigned char>(ch)) || ch == '\r' || ch == '\n') return false;
  return !DedentCompletedWord(LinesWithTyped(lines, line, column, ch), line, column).empty();
}
