// The open project: its list in the ProjectBox, opening it, adding dropped files, remembered
// lines, and writing the box back to the project file.
#pragma once
#include <string>

// Opens the project file name (a drop, or start-up): the box shows its text, ProjectText is taken
// from the box and its folder becomes the working directory; the caller rebuilds the menu bar.
// The box of a project open before is written back to its own file first; false when that
// failed or the file could not be read (both reported): the project open before stays open.
bool OpenProjectFile(const std::string& name);
// How much of a project file the box can show.
enum class ProjectRead {
  Whole,    // all of it (a file that does not exist reads as empty)
  Part,     // the text holds a NUL byte: shown up to it, so never to be written back (reported)
  Nothing,  // the file exists but could not be read (reported): text is empty
};
// Reads the project file name for the box into text. A project read other than Whole must not
// be written back over its file (ProjectUnreadable) until another is opened.
ProjectRead ReadProjectText(const std::string& name, std::string& text);
// Adds a dropped file (already in its "$" form) to the project in the box, or to the project
// file beside it: an existing one without a "$files" list keeps its text and gets a list, a
// missing or empty one becomes a new project. False when the drop must stop here: an existing
// project beside the file was opened instead, or it could not be read (reported; nothing
// changed).
bool AddFileToProject(const std::string& path);
// Stores the editor's caret line (1-based, last five digits) in the line field of the entry
// "[" name "]" of the ProjectBox text. Nothing without an open project, an empty name or an
// entry for it. The project file itself changes only at the next SaveProjectBox.
void RecordCaretLine(const std::string& name);
// Writes the ProjectBox text to the project file name when it differs from the file (so an
// empty box creates no file), through the same safe replace as documents. Nothing when name is
// empty or the project's text could not be read whole. False when the write failed (reported).
bool SaveProjectBox(const std::string& name);
// As SaveProjectBox, but a failed write is not shown: the report's text, or "" when the list
// was written or needed no write.
std::string TrySaveProjectBox(const std::string& name);
