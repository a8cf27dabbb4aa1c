// Find in files (Ctrl+F7).
#pragma once
#include <cstdint>
#include <string>

// Lists in the listing panel every line that holds the word at the editor's caret (or the
// selected text, or the FindBox's text) as a whole word, with the letter case of A to Z ignored:
// in the files of the open project's list, or else in the sources of the current document's
// folder and its sub-folders. The search runs on a thread of its own; the panel fills as its
// news comes (OnSearchNews), and the status bar shows the progress of a long search and the
// summary. A search still running is stopped first. Ctrl+F7 held into its auto-repeat starts one
// search, not one a repeat.
void FindInFiles();
// Esc: the running search stops; what was found so far is listed, and that it was stopped.
void StopFindInFiles();
// True from the start of a search until its last news has come.
bool FindInFilesRunning();
// SearchNewsMessage: lines found, a progress text or the end of the search numbered number;
// takes news over. The news of a search that a newer one stopped is dropped.
void OnSearchNews(uintptr_t number, intptr_t news);
// The form the project's list gives the file, so that a listed file opens as the list names it
// and its remembered line follows it; the path itself when no project is open or the list does
// not hold it.
std::string ListedForm(const std::string& path);
