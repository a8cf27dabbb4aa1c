// Composition of the command lines the program starts, and the parts of its own command line.
#pragma once
#include <string>
#include <string_view>

// "tool" options "file": the quoted tool, one blank, the options as given (they carry their
// own trailing blank), one blank, the quoted file. Nothing is trimmed or escaped.
std::string ToolCommandLine(std::string_view tool, std::string_view options, std::string_view file);
// "cmd.exe" for an empty command (an interactive prompt), else "cmd.exe /c " and the command.
std::string ShellCommandLine(std::string_view command);
// A command line without its first token (the program) and the blanks after it.
std::string CommandTailOf(std::string_view commandLine);
// The folder of a module path: everything before its last backslash; empty without one.
std::string ProgramDirOf(std::string_view modulePath);
