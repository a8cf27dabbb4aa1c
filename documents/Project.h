// The open project: its list in the ProjectBox, opening it, adding dropped files, remembered
// lines, and writing the box back to the project file.
#pragma once
#include <string>

// Opens the project file name (a drop, or start-up): the box shows its text, ProjectText is taken
// from the box and its folder becomes the working directory; the caller rebuilds the menu bar.
// The box of a project open before is written back to its own file first; false when that
// failed (reported) and nothing changed.
bool OpenProjectFile(const std::string& name);
// The text of the project file name for the box. A text with a NUL byte cannot be shown whole
// by the box: it is reported, and the project is not written back until another is opened.
std::string ReadProjectText(const std::string& name);
// Adds a dropped file (already in its "$" form) to the project in the box, or makes a new
// project beside it. False when the drop must stop here: an existing project beside the file
// was opened instead.
bool AddFileToProject(const std::string& path);
// Stores the editor's caret line (1-based, last five digits) in the line field of the entry
// "[" name "]" of the ProjectBox text. Nothing without an open project, an empty name or an
// entry for it. The project file itself changes only at the next SaveProjectBox.
void RecordCaretLine(const std::string& name);
// Writes the ProjectBox text to the project file name when it differs from the file (so an
// empty box creates no file), through the same safe replace as documents. Nothing when name is
// empty or the project's text could not be read whole. False when the write failed (reported).
bool SaveProjectBox(const std::string& name);
