// The remembered line of a file listed in the project text: the five characters that begin
// six characters before the "[" of the file's path item. Platform-free.
#pragma once
#include <string>
#include <string_view>

// The line field belongs to a file entry of the list only: "<[" label "]>", a tab, the six
// characters of the line text, a blank and the path item "[" path "]", on one line. The same
// "[" path "]" anywhere else ("$main [" path "]", a label item, a command) has none.
// The text with the line field of path (found ignoring the case of A to Z, first file entry
// for it) set to the last five digits of "0000" and line; unchanged without such an entry.
std::string WithLineField(std::string_view text, std::string_view path, int line);
// The line number stored in the line field of path: its leading digits (0 for "00000"); -1
// when there is no entry for path or its field does not begin with a digit ("-0012",
// " 1234"), which is another answer than line 0.
int LineFieldOf(std::string_view text, std::string_view path);
