// The word around a position of a text, as the keyword query and the help command see it.
#pragma once
#include <string>
#include <string_view>

// Word characters: digits, letters, "#", "_" and bytes 127 to 255.
bool IsWordCode(int c);
// When the character at the 1-based p is a word character, p moves to the first character of its
// word, end becomes the position behind the word, length the word's length, and the word is
// returned. Otherwise the result is that one character (empty outside the text), p stays,
// end = p + 1, length = 1.
std::string WordAt(std::string_view text, int& p, int& end, int& length);
