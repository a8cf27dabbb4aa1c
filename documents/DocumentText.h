// Names and texts of the document commands that need no window: the save prompt, the name a
// save gives a file, the scratch file beside it, the failure report and the project-list
// lookups used when switching to a listed file. Platform-free.
#pragma once
#include <string>
#include <string_view>

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
// The question asked before a save replaces an existing file whose name got ".zobas" added.
std::string ReplacePromptText(std::string_view path);
// A temporary file name in the folder of path (the current folder for a bare name), made
// unique by tag: the new content is written there first and then put in place of path.
std::string TempNameBeside(std::string_view path, std::string_view tag);
// The text of the message that reports a failed write of path, with the system's reason.
std::string WriteFailureText(std::string_view path, std::string_view reason);

// The path of the file listed after the label item "<[label]>" that holds the 1-based
// positions start..end of list, in the letter case in which the list has it; empty when
// the positions are not inside a label item.
std::string ListedPathAt(std::string_view list, int start, int end);
// The path listed after the label item key (found ignoring the case of A to Z), in the list's
// own letter case; empty when the key is empty, absent or not a label item.
std::string ListedPathOfKey(std::string_view list, std::string_view key);
