// Names and texts of the document commands that need no window: the save prompt, the name a
// save gives a file, the reports of a document that cannot be loaded and the project-list
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
// The path of the file listed after the label item "<[label]>" that holds the 1-based
// positions start..end of list, in the letter case in which the list has it; empty when
// the positions are not inside a label item.
std::string ListedPathAt(std::string_view list, int start, int end);
// The paths of every file entry of the list, in list order: the item after each label item.
std::vector<std::string> ListedPaths(std::string_view list);
// The path listed after the label item key (found ignoring the case of A to Z), in the list's
// own letter case; empty when the key is empty, absent or not a label item.
std::string ListedPathOfKey(std::string_view list, std::string_view key);
