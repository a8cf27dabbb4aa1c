// Definitions of the build commands' state (declared in BuildState.h).
#include "build/BuildState.h"

std::string BuildInput;
std::string FoundInFolder;
