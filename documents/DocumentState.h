// Process-wide state of the current document and the open project.
#pragma once
#include <string>

extern std::string CurrentFile;  // file that is loaded, built and handed to project commands; empty when untitled
extern std::string SaveName;     // name the editor text is saved under and prompts show; empty when untitled
extern std::string ProjectFile;  // the open project's file name; empty when none
extern std::string ProjectText;  // the project list text as last read from the ProjectBox
extern bool ProjectUnreadable;   // the project file held what the box cannot show (a NUL byte): never written back
