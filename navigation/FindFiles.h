// Find in files (Ctrl+F7) and going from a listed line of the OutputBox to the line it names.
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
// The file a name of the last search's listing stands for: inside the searched folder whatever
// its first character ("$tmp" is a folder's name like any other), or a project's file in the
// form the project's list gives it.
std::string SearchedFile(const std::string& name);
// A double-click in the OutputBox: a listed line "name(line): text" opens that file (asking
// about unsaved text first) at that line; a compiler query's "line 8: …" goes to that line of
// the current document. Any other line does nothing.
void GoToListedLine();
