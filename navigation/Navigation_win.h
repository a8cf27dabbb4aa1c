// Finding one's way: F6 through the listing that shows, a listing's double-click, going back
// with Shift+F12, the list of declarations (Ctrl+F12), and bookmarks.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include <string_view>

// F6 (forward) and Shift+F6: opens the place of the next (previous) line of the listing that
// shows, as a double-click does; past the last line it starts again at the first and the status
// bar says so. The focus stays in the editor.
void ListingStep(bool forward);
// A double-click in the listing panel or the OutputBox: goes to the place the line at the caret
// names, as F6 would.
void JumpFromListingCaret();
// Shows a listing of places in the panel: relative names are in folder, "line: text" lines are
// of document (the current one when empty).
void ShowPlaces(std::string_view text, const std::string& folder, const std::string& document);
// Shift+F12: back to where the last jump started, file and caret.
void GoBack();
// Ctrl+F12: the document's subs, functions, types and labels in the panel.
void ListDeclarations();
// Ctrl+M: the bookmark of the caret's line on or off; a click in the bookmark margin at the
// line that starts at position.
void ToggleBookmarkAtCaret();
void ToggleBookmarkAtPosition(size_t position);
// Ctrl+. and Ctrl+,: the next (previous) bookmark of the document, wrapping around.
void StepBookmark(bool forward);
// Ctrl+Shift+M: every bookmark of every file in the panel.
void ListBookmarks();
