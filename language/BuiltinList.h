// The list of the language's built-in functions and statements that the build writes beside
// the help file: one line a name, "name(parameters) description".
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct Builtin {
  std::string name;         // as listed
  std::string parameters;   // between the parentheses, as listed: "s, start [, n]"
  std::string description;  // one line
};

// The built-ins of the list's text (CR LF, LF or CR line ends; blank lines skipped). A damaged
// list (a line that is not "name(parameters) description", a NUL byte) yields none at all,
// so the editor goes on without built-ins rather than with half of them.
std::vector<Builtin> ReadBuiltinList(std::string_view text);
// The built-in of that name (letter case ignored), or null.
const Builtin* FindListedBuiltin(const std::vector<Builtin>& list, std::string_view name);
