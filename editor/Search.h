// Finding and replacing text on strings: case-insensitive for A to Z, every other byte exactly.
// Positions are 1-based; 0 means "not found". Platform-free, and working on views so that the
// editor's own buffer can be searched without a copy.
#pragma once
#include <string>
#include <string_view>

// The first occurrence of what that begins at or after start (forward), or the last one that
// begins at or before start (backward, see FindLast). A start below 1 finds nothing forward;
// an empty what finds nothing.
int SearchText(int start, std::string_view text, std::string_view what, bool backward);
// The last occurrence of what that begins at or before start (it may reach beyond start). A
// negative start counts from the end (start + length + 1), 0 means the end of the text, a start
// still below 1 becomes 1 and one beyond the text becomes its length.
int FindLast(int start, std::string_view text, std::string_view what);

// A replacement of every occurrence that begins inside a range: the range [from, to) of the
// original text is to be replaced by text. count 0 means nothing was found (the rest is unset).
struct RangeReplacement {
  int from = 0;
  int to = 0;
  std::string text;
  int count = 0;
};
// Every occurrence of what that begins at or after start and before end (positions in text as
// it is now), each replaced by with; the search goes on behind each occurrence, so occurrences
// do not overlap and a replacement is never searched again. Built in one pass.
RangeReplacement ReplaceInRange(std::string_view text, int start, int end, std::string_view what,
                                std::string_view with);
