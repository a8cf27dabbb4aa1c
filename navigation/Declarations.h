// The subs, functions, types and labels of a source, found by a small scan of its lines.
// Platform-free.
#pragma once
#include <string>
#include <string_view>

// One line per declaration, in source order: "line: declaration" with the declaration as
// written (leading and trailing blanks dropped), CR LF after each. A sub, function or type is a
// line that begins with that word and a name; a label is a name and ":" on a line of its own.
// Lines inside /* */ comments are no declarations.
std::string DeclarationListing(std::string_view text);
