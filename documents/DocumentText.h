// Names and texts of the document commands that need no window: the save prompt, the name a
// save gives a file, the scratch file beside it, the failure report and the project-list
// lookups used when switching to a listed file. Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// Shown in the save prompt for a document that has no file yet.
constexpr std::string_view UntitledName = "<current script>";
// Proposed in the Save dialog when an untitled document is saved from a prompt.
constexpr std::string_view PromptSaveName = "_.zobas";
// Appended to a name chosen in Save or Save As that contains no "." at all.
constexpr std::string_view SourceExtension = ".zobas";

// "Save " followed by the name, or by UntitledName when the name is empty.
std::string SavePromptText(std::string_view name);
// The name with ".zobas" appended when no "." appears anywhere in it (folders included).
std::string WithSourceExtension(std::string_view name);
// The report of a document file too large for the editor.
std::string TooLargeText(std::string_view path);
// The report of a document file with NUL bytes, which a plain edit control would cut short.
std::string NulBytesText(std::string_view path);
// The question asked before a save replaces an existing file whose name got ".zobas" added.
std::string ReplacePromptText(std::string_view path);
// Longest path the system's file routines take (MAX_PATH without the terminating zero).
constexpr size_t LongestPath = 259;
// A temporary file name in the folder of path (the current folder for a bare name), made
// unique by tag: the new content is written there first and then put in place of path. Where
// the usual name would make a path longer than LongestPath, the name is no longer than the
// file's own ("~" and the end of tag), so any file that can be written can also be saved.
// Never the name of the file itself: a file that bears the scratch name gets it with another
// first character.
std::string TempNameBeside(std::string_view path, std::string_view tag);
// The text of the message that reports a failed write of path, with the system's reason; a
// long path is broken into lines so that the box fits on the screen. keptCopy names the scratch
// file that holds the file's old content when a failed write into the file could not put it back.
std::string WriteFailureText(std::string_view path, std::string_view reason, std::string_view keptCopy = {});
// The report of a file that exists but cannot be read: "Cannot read " path ": " reason.
std::string ReadFailureText(std::string_view path, std::string_view reason);
// The report of a save refused because the folder holds the file under names that differ only
// in letter case (possible on some file systems) and none is exactly the one asked for.
std::string CaseTwinsText(std::string_view path, const std::vector<std::string>& names);
// True for the names that the safe write gives its temporary files ("~zor" ... ".tmp").
bool IsScratchName(std::string_view name);
// The report of temporary files that an interrupted save left beside path.
std::string LeftBehindText(std::string_view path, const std::vector<std::string>& names);
// The text broken into lines (CR LF) of at most width characters (a width of 0 counts as 1),
// each break placed after a path separator or blank where the line has one.
std::string WrapLongLine(std::string_view text, size_t width);

// The path of the file listed after the label item "<[label]>" that holds the 1-based
// positions start..end of list, in the letter case in which the list has it; empty when
// the positions are not inside a label item.
std::string ListedPathAt(std::string_view list, int start, int end);
// The paths of every file entry of the list, in list order: the item after each label item.
std::vector<std::string> ListedPaths(std::string_view list);
// The path listed after the label item key (found ignoring the case of A to Z), in the list's
// own letter case; empty when the key is empty, absent or not a label item.
std::string ListedPathOfKey(std::string_view list, std::string_view key);
