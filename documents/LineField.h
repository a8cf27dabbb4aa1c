// The remembered line of a file listed in the project text: the five characters that begin
// six characters before the "[" of the file's path item. Platform-free.
#pragma once
#include <string>
#include <string_view>

// The text with the line field of path (found ignoring the case of A to Z, first occurrence
// of "[" path "]" that is not a label item "<[" path "]>") set to the last five digits of
// "0000" and line; unchanged when the entry is missing or fewer than six characters precede
// its "[".
std::string WithLineField(std::string_view text, std::string_view path, int line);
// The line number stored in the line field of path (0 for "00000"); -1 when the entry or its
// field is missing, which is another answer than line 0.
int LineFieldOf(std::string_view text, std::string_view path);
