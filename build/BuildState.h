// Process-wide state of the build commands.
#pragma once
#include <string>

extern std::string BuildInput;     // file handed to the compile tool by the last build; set by BuildCommand
extern std::string FoundInFolder;  // folder whose files the last find in files listed by relative names; empty for a project
