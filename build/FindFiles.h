// Find in files (Ctrl+F7) and going from a line of the OutputBox's listing to the line it names.
#pragma once

// Lists in the OutputBox every line that holds the word at the editor's caret (or the selected
// text, or the FindBox's text) as a whole word, with the letter case of A to Z ignored: in the
// files of the open project's list, or else in the sources of the current document's folder
// and its sub-folders. The status bar shows the progress of a long search and the summary.
// Esc ends a search early; what was found so far is listed.
void FindInFiles();
// A double-click in the OutputBox: a listed line "name(line): text" opens that file (asking
// about unsaved text first) at that line; a compiler query's "line 8: …" goes to that line of
// the current document. Any other line does nothing.
void GoToListedLine();
