// Commenting a block of lines out and in again with the comment mark "' ".
#pragma once
#include <string_view>
#include <vector>
#include "language/BlockWords.h"
#include "editor/LineEdits.h"

// The comment mark a line begins with after its indentation (' ; // or rem), with one blank
// behind it: its length, 0 when the line does not begin with one.
size_t CommentMarkLength(std::string_view line);

// Ctrl+Q on the lines first..last: "' " at the start of every line, or, when every one of them
// already begins with a comment mark after its indentation, that mark taken away. With
// removeOnly (Ctrl+Shift+Q) the marks are only taken away. Blank lines are left alone, unless
// every line is blank: then each gets the mark, to begin a comment there.
std::vector<LineEdit> ToggleComments(const SourceLines& lines, int first, int last, bool removeOnly);
