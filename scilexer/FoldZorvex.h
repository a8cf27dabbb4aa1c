// Fold levels of Zorvex Basic source, from the tokens of each line: blocks of statements,
// "#if"/"#ifdef"/"#ifndef" ... "#endif", and block comments over several lines.
#pragma once
#include <string_view>
#include "language/LineTokens.h"

// The fold level of a line read (without its line break; hasBreak tells whether one ends it),
// given in open the depth of blocks open at its start and changed to the depth after it. A
// line's level depends only on its text and the depth above it, so folding can restart at any
// line.
int FoldLevelOf(std::string_view line, const LineRead& read, bool hasBreak, int& open);
// The level of the empty line after a final line break: whatever is still open.
int TrailingLevel(int open);

// Marks the level of a line that heads a branch ("else", "elseif ... then", "#else"), above the
// depth after the line kept in the upper bits.
constexpr int BranchFlag = 0x10000000;
// Whether a line of that level (as FoldLevelOf gave it) closes blocks down to open. When the
// block it ends was in a branch (the nearest line above at that depth or below heads one), the
// line takes TrailingLevel(open) instead: the branch's fold ends before it, and "end if" stays
// in view below a folded "else".
bool ClosesBlocks(int level, int open);
