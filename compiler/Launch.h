// Starting outside programs, and the facts about the program's own process the build needs.
// Started programs run in the program's console; their handles are closed at once.
#pragma once
#include <string>

// Starts commandLine (program first, found by the usual search). With wait set, blocks until
// the program ends. Always 0: a program that cannot be started starts nothing.
int LaunchProcess(const std::string& commandLine, bool wait);
// "cmd.exe" for an empty command, else "cmd.exe /c " and the command.
int RunShell(const std::string& command, bool wait);
// The quoted tool, the options as given between single blanks, the quoted file.
int RunTool(const std::string& tool, const std::string& options, const std::string& file, bool wait);
// The folder of the program file, without a trailing backslash.
std::string GetProgramDir();
// The program's own command line without the program token and the blanks after it.
std::string GetCommandTail();
