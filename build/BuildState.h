// Process-wide state of the build commands.
#pragma once
#include <string>

extern std::string BuildInput;     // file handed to the compile tool by the last build; set by BuildCommand
extern std::string FoundInFolder;  // folder whose files the last find in files listed by relative names; empty for a project
extern int SearchedF7Press;        // the low bit of F7's key state at the press that started the last find in files; -1 for none
