// The names of the help file's pages.
#pragma once
#include <string>
#include <string_view>

// The help page of a keyword: lower-case letters kept, every other byte written as "a" and its
// code minus 31, then ".htm".
std::string HelpPageName(std::string_view word);
