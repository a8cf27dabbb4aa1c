// Bookmarks and caret places in the editor.
#include "editor/Marks_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorState.h"
#include "base/TextScan.h"
#include "editor/ScintillaDoor_win.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int BookmarkMask = 1 << BookmarkMarker;

ScintillaDoor EditorDoor() { return ScintillaDoor(Editor); }
}  // namespace

void ConfigureBookmarks(HWND control) {
  const ScintillaDoor editor(control);
  editor.MarkerDefine(BookmarkMarker, Scintilla::MarkerSymbol::Bookmark);
  editor.MarkerSetFore(BookmarkMarker, Rgb(0, 0, 128));
  editor.MarkerSetBack(BookmarkMarker, Rgb(96, 144, 255));
  editor.SetMarginSensitiveN(BookmarkMargin, true);
}

void ToggleBookmark(int line) {
  if (Editor == nullptr || line < 1) return;
  if (EditorDoor().MarkerGet(line - 1) & BookmarkMask) EditorDoor().MarkerDelete(line - 1, BookmarkMarker);
  else EditorDoor().MarkerAdd(line - 1, BookmarkMarker);
}

std::vector<int> BookmarkLines() {
  std::vector<int> lines;
  if (Editor == nullptr) return lines;
  const ScintillaDoor editor = EditorDoor();
  for (ScintillaDoor::Line at = editor.MarkerNext(0, BookmarkMask); at >= 0; at = editor.MarkerNext(at + 1, BookmarkMask))
    lines.push_back(int(at) + 1);
  return lines;
}

void SetBookmarkLines(const std::vector<int>& lines) {
  if (Editor == nullptr) return;
  EditorDoor().MarkerDeleteAll(BookmarkMarker);
  for (int line : lines) EditorDoor().MarkerAdd(line - 1, BookmarkMarker);
}

void KeepBookmarks(const std::string& key) {
  if (Editor == nullptr || key.empty()) return;
  KeptBookmarks.Keep(key, BookmarkLines());
}

void RestoreBookmarks(const std::string& key) {
  if (Editor == nullptr) return;
  SetBookmarkLines(key.empty() ? std::vector<int>() : KeptBookmarks.LinesOf(key));
}

std::vector<KeptMarks> AllBookmarks(const std::string& currentKey) {
  std::vector<KeptMarks> all;
  for (const BookmarkStore::FileMarks& file : KeptBookmarks.Files())
    if (currentKey.empty() || LowerText(file.path) != LowerText(currentKey)) all.push_back({file.path, file.lines});
  // An untitled document's marks are listed under the empty key, by their lines alone.
  std::vector<int> current = BookmarkLines();
  if (!current.empty()) all.push_back({currentKey, current});
  return all;
}

int LineOfPosition(size_t position) { return Editor ? int(EditorDoor().LineFromPosition(ScintillaDoor::Position(position))) + 1 : 1; }

std::string EditorLineText(int line) {
  if (Editor == nullptr || line < 1) return {};
  const ScintillaDoor editor = EditorDoor();
  const ScintillaDoor::Position start = editor.LineStart(line - 1), end = editor.LineEnd(line - 1);
  if (start < 0 || end < start) return {};
  return std::string(editor.Range(start, end));
}

size_t CaretPosition() { return Editor == nullptr ? 0 : size_t(EditorDoor().CurrentPos()); }

void GoToPosition(size_t position) {
  if (Editor == nullptr) return;
  const ScintillaDoor editor = EditorDoor();
  editor.EnsureVisible(editor.LineFromPosition(ScintillaDoor::Position(position)));
  editor.GotoPos(ScintillaDoor::Position(position));
  Api.SetFocus(Editor);
}
