// Find in files (Ctrl+F7).
#pragma once
#include <string>

// Lists in the listing panel every line that holds the word at the editor's caret (or the
// selected text, or the FindBox's text) as a whole word, with the letter case of A to Z ignored:
// in the files of the open project's list, or else in the sources of the current document's
// folder and its sub-folders. The panel fills while the search runs; the status bar shows the
// progress of a long search and the summary. Esc ends a search early; what was found so far is
// listed. Ctrl+F7 held into its auto-repeat starts one search, not one a repeat.
void FindInFiles();
// While a long search runs the window takes no keys: the keys queued for the program are taken
// up to the first Esc, which is taken too, and kept for the message loop to hand on once the
// search is done (NextKeptKey). True when there was an Esc; the keys after it stay queued.
bool TakeKeysUpToEscape();
// The form the project's list gives the file, so that a listed file opens as the list names it
// and its remembered line follows it; the path itself when no project is open or the list does
// not hold it.
std::string ListedForm(const std::string& path);
