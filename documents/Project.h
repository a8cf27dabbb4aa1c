// The open project's list in the ProjectBox: remembered lines, refresh and writing it back.
#pragma once
#include <string>

// Stores the editor's caret line (1-based, last five digits) in the line field of the entry
// "[" name "]" of the ProjectBox text. Nothing without an open project, an empty name or an
// entry for it. The project file itself changes only at the next SaveProjectBox.
void RecordCaretLine(const std::string& name);
// Writes the ProjectBox text to the project file name; nothing when name is empty.
void SaveProjectBox(const std::string& name);
// Takes ProjectText again from the ProjectBox and writes it to ProjectFile.
void RefreshProject();
