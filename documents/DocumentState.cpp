// Definitions of the document and project state (declared in DocumentState.h).
#include "documents/DocumentState.h"

std::string CurrentFile;
std::string SaveName;
std::string ProjectFile;
std::string ProjectText;
bool ProjectUnreadable = false;
