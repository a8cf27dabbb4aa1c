// The project file's text: the entries that dropped files add, the template of a new project,
// the Project menu's items and the names dropped files get. Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The entry listing path: "<[" label "]>", a tab, "00001 ", " [", path, "]", CR LF; the label
// is the path's file-name part.
std::string FileEntry(std::string_view path);
// The text of a new project holding path (already in its "$" form) as its one file, its main
// source and, without its extension, its output name, with the default "Dir Example" command.
std::string NewProjectText(std::string_view path);
// The text of a file that has no "$files" list, kept whole, followed by a list holding path.
std::string WithFileList(std::string_view text, std::string_view path);
// Inserts the entry for path on the line after the first "$files"; later files therefore
// stand above earlier ones. When no line break follows "$files", one is added first. False
// (text unchanged) when the text holds no "$files".
bool InsertFileEntry(std::string& text, std::string_view path);

// The question asked at closing when the project list could not be written: the report of the
// failure, then whether to close without saving the list.
std::string CloseWithoutListText(std::string_view failure);

// The Project menu can hold this many items (identifiers 3100..3199).
constexpr size_t ProjectMenuLimit = 100;
// One item of the Project menu: its name and the command text it runs.
struct ProjectItem {
  std::string name;
  std::string command;
  bool operator==(const ProjectItem&) const = default;
};
// The Project menu's items read from the project text: every "$command " (name up to the
// next "[" without trailing blanks and control characters, command the text inside the
// brackets, to the end without a "]"), then every "<[" label "]>" (name the label, command
// the whole item), each group in text order; at most ProjectMenuLimit items.
std::vector<ProjectItem> ProjectMenuItems(std::string_view text);

// A name inside the program's folder in its "$" form: "$" followed by what comes after
// programDir (compared with case); any other name unchanged.
std::string DollarForm(std::string_view name, std::string_view programDir);
// True when the name ends in ".lnk" in any letter case: a shell shortcut, which a drop skips.
bool IsShortcut(std::string_view name);
