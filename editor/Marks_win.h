// Bookmarks in the editor: a mark in the margin beside the line numbers, which moves with its
// line as the text changes; and the caret places the jumps go to and come back from.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include <vector>
#include "editor/Folding_win.h"

// The markers of the Editor's mark margin, numbered below the fold markers (25 to 31).
constexpr int BookmarkMarker = 2;
constexpr int ErrorMarker = 12;

// The bookmark's look and a margin that takes clicks.
void ConfigureBookmarks(HWND editor);
// The margin whose click toggles a bookmark.
constexpr int BookmarkMargin = MarkMargin;
// Sets or clears the bookmark of the 1-based line.
void ToggleBookmark(int line);
// The marked lines of the current document, 1-based, ascending.
std::vector<int> BookmarkLines();
// Marks exactly these 1-based lines of the current document.
void SetBookmarkLines(const std::vector<int>& lines);
// Keeps the current document's marks under key (its full path) before another document takes
// the editor; an empty key (an untitled document) keeps nothing.
void KeepBookmarks(const std::string& key);
// Puts back the marks kept under key after its document was loaded; an empty key clears them.
void RestoreBookmarks(const std::string& key);
// The marks kept for each document left, with the current document's under currentKey (empty
// for an untitled document).
struct KeptMarks {
  std::string key;
  std::vector<int> lines;
};
std::vector<KeptMarks> AllBookmarks(const std::string& currentKey);
// The 1-based line of a 0-based position in the editor.
int LineOfPosition(size_t position);
// The text of the editor's 1-based line, without its line break.
std::string EditorLineText(int line);
// The editor's caret, 0-based.
size_t CaretPosition();
// Puts the caret at the 0-based position, scrolls it into view and focuses the editor.
void GoToPosition(size_t position);
