// The subs, functions, types and labels of a source, for the listing of Ctrl+F12. Platform-free.
#pragma once
#include <string>
#include <string_view>

// One line per declaration, in source order: "line: declaration" with the declaration as
// written (leading and trailing blanks dropped), CR LF after each; nothing inside strings or
// comments counts.
std::string DeclarationListing(std::string_view text);
