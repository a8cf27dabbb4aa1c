// Process-wide state of the build commands.
#pragma once
#include <string>

extern std::string BuildInput;  // file handed to the compile tool by the last build; set by BuildCommand
