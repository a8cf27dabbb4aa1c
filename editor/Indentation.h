// Indentation as the user types Zorvex Basic: a new line keeps the indentation of the line
// above, one step more below a line that opens a block; a word that closes or continues a block
// goes back to its opener's indentation once it is complete; Tab and Shift+Tab shift lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "language/BlockWords.h"
#include "editor/LineEdits.h"

// How far up the aids look for the opener of a block.
constexpr int OpenerReach = 2000;

// The document's own indentation step: what the first indented line below a block opener adds
// to the opener's indentation, when that is blanks or one tab. The first lines of the document
// are looked at, then those above nearLine, the line being indented, which shows none; two
// blanks when none of them shows a step.
std::string IndentStep(const SourceLines& lines, int nearLine);

// What a line break just typed at the start of line asks for: the edits, and the column of the
// caret on the new line behind its indentation. The new line gets the indentation of the line
// above, one step more when that line opens a block, or its opener's when the new line starts
// with a closing word; a closing word that the line break completed on the line above goes back
// to its opener's indentation. A break typed into a line's indentation leaves the line all of
// it; a break on an empty line indents as below the nearest line above with text; and a break
// inside a string changes nothing.
struct LineBreakIndent {
  std::vector<LineEdit> edits;
  size_t caretColumn = 0;
};
LineBreakIndent IndentAfterLineBreak(const SourceLines& lines, int line, std::string_view step);

// What the character just typed at column of line asks for: when it cannot go on a word and it
// completes a closing or continuing word (next, end if, else, case ...) that the line starts
// with, the edit that gives the line its opener's indentation.
std::vector<LineEdit> DedentCompletedWord(const SourceLines& lines, int line, size_t column);

// Tab and Shift+Tab on the lines first..last: one step more at the start of each line, or one
// step less (the step itself, a tab, or as many blanks as the step is wide; tabWidth for a tab
// step). Blank lines are left as they are.
std::vector<LineEdit> ShiftLines(const SourceLines& lines, int first, int last, std::string_view step,
                                 bool outdent, int tabWidth);
