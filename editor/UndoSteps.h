// Which typed keys make the editing aids add edits of their own, so the message loop can make
// the key's edit and the aids' one undo step. Platform-free.
#pragma once
#include <cstddef>
#include "language/BlockWords.h"

// True when the character ch, about to be typed at column of line, completes a closing or
// continuing word that then goes back to its opener's indentation (as DedentCompletedWord
// finds once the character is in).
bool TypingMovesClosingWord(const SourceLines& lines, int line, size_t column, char ch);
