// The word around a position of a text, as the keyword query, the help command and find in
// files see it: a run of word characters (IsWordChar). Platform-free.
#pragma once
#include <string>
#include <string_view>

// When the character at the 1-based p is a word character, p moves to the first character of its
// word, end becomes the position behind the word, length the word's length, and the word is
// returned. Otherwise the result is that one character (empty outside the text), p stays,
// end = p + 1, length = 1.
std::string WordAt(std::string_view text, int& p, int& end, int& length);
