// Fold levels of Zorvex Basic source, computed from the text and the styles the lexer gave it.
#pragma once
#include <cassert>
#include <string>
#include "ILexer.h"
#include "LexAccessor.h"

// Sets the fold level of every line from the one holding startPos to the one holding
// startPos + length - 1. A line's level depends only on its text and the level of the line
// above, so folding can restart at any line.
void FoldZorvex(Lexilla::LexAccessor& styler, Sci_PositionU startPos, Sci_Position length);
