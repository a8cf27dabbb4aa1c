// What the editor highlights around the caret: the words of the block the caret's word belongs
// to, and the bracket beside the caret with its partner.
#pragma once
#include <string_view>
#include <vector>
#include "language/BlockWords.h"

// Columns from..to of a 0-based line.
struct LineRange {
  int line;
  size_t from;
  size_t to;
};

// With column on or at either end of a word that opens, continues or closes a block, every
// word of that block in order: the opener, its continuing words (else, case ...) and its
// closer. Blocks inside it are passed over; the search reaches maxLines lines up and down.
// Empty when the column is on no block word or the block's opener is out of reach.
std::vector<LineRange> MatchingBlockWords(const SourceLines& lines, int line, size_t column, int maxLines);

// The bracket just before column, or else at column, outside strings and comments, and its
// partner on the same line (statements do not go on over a line end).
struct BracketMatch {
  bool found = false;    // there is a bracket beside the column
  size_t at = 0;         // its column
  bool matched = false;  // it has a partner
  size_t partner = 0;    // the partner's column
};
BracketMatch MatchBracket(std::string_view line, bool startsInComment, size_t column);
