// Changes to lines of a document that the editing aids hand to the editor, and where a
// position on a changed line goes.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

// Columns from..to of a 0-based line replaced by text.
struct LineEdit {
  int line;
  size_t from;
  size_t to;
  std::string text;
};

// Where the column of a position on line goes when the edits are made: text inserted at or
// after it leaves it alone, text before it moves it, and a position inside replaced text stays
// within the new text.
inline size_t ColumnAfterEdits(const std::vector<LineEdit>& edits, int line, size_t column) {
  size_t moved = column;
  for (const LineEdit& e : edits) {
    if (e.line != line || column <= e.from) continue;
    if (column >= e.to) {
      moved = moved + e.text.size() - (e.to - e.from);
    } else {
      moved = moved - (column - e.from) + std::min(column - e.from, e.text.size());
    }
  }
  return moved;
}
