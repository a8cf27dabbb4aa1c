// Bookmarks and caret places in the editor (declared in Marks_win.h).
#include "editor/Marks_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorState.h"
#include "base/TextScan.h"
#include "editor/SciMessages.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
// Marker numbers below the fold markers (25..31); this one is the bookmarks' own.
constexpr int BookmarkMarker = 2;

LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return Api.SendMessageA(Editor, message, wParam, lParam);
}
}  // namespace

void ConfigureBookmarks(HWND editor) {
  Api.SendMessageA(editor, SCI_MARKERDEFINE, BookmarkMarker, SC_MARK_BOOKMARK);
  Api.SendMessageA(editor, SCI_MARKERSETFORE, BookmarkMarker, Rgb(0, 0, 128));
  Api.SendMessageA(editor, SCI_MARKERSETBACK, BookmarkMarker, Rgb(96, 144, 255));
  Api.SendMessageA(editor, SCI_SETMARGINSENSITIVEN, BookmarkMargin, 1);
}

void ToggleBookmark(int line) {
  if (Editor == nullptr || line < 1) return;
  if (Sci(SCI_MARKERGET, line - 1) & (1 << BookmarkMarker)) Sci(SCI_MARKERDELETE, line - 1, BookmarkMarker);
  else Sci(SCI_MARKERADD, line - 1, BookmarkMarker);
}

std::vector<int> BookmarkLines() {
  std::vector<int> lines;
  if (Editor == nullptr) return lines;
  for (LRESULT at = Sci(SCI_MARKERNEXT, 0, 1 << BookmarkMarker); at >= 0;
       at = Sci(SCI_MARKERNEXT, at + 1, 1 << BookmarkMarker))
    lines.push_back(int(at) + 1);
  return lines;
}

void SetBookmarkLines(const std::vector<int>& lines) {
  if (Editor == nullptr) return;
  Sci(SCI_MARKERDELETEALL, BookmarkMarker);
  for (int line : lines) Sci(SCI_MARKERADD, line - 1, BookmarkMarker);
}

void KeepBookmarks(const std::string& key) {
  if (Editor == nullptr || key.empty()) return;
  KeptBookmarks.Keep(key, BookmarkLines());
}

void RestoreBookmarks(const std::string& key) {
  if (Editor == nullptr) return;
  Sci(SCI_MARKERDELETEALL, BookmarkMarker);
  if (key.empty()) return;
  for (int line : KeptBookmarks.LinesOf(key)) Sci(SCI_MARKERADD, line - 1, BookmarkMarker);
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

int LineOfPosition(size_t position) { return Editor ? int(Sci(SCI_LINEFROMPOSITION, position)) + 1 : 1; }

std::string EditorLineText(int line) {
  if (Editor == nullptr || line < 1) return {};
  LRESULT start = Sci(SCI_POSITIONFROMLINE, line - 1);
  LRESULT end = Sci(SCI_GETLINEENDPOSITION, line - 1);
  auto* text = reinterpret_cast<const char*>(Sci(SCI_GETCHARACTERPOINTER));
  if (start < 0 || end < start || text == nullptr) return {};
  return std::string(text + start, size_t(end - start));
}

size_t CaretPosition() {
  if (Editor == nullptr) return 0;
  return size_t(Sci(SCI_GETCURRENTPOS));
}

void GoToPosition(size_t position) {
  if (Editor == nullptr) return;
  Sci(SCI_ENSUREVISIBLE, Sci(SCI_LINEFROMPOSITION, position));
  Sci(SCI_GOTOPOS, position);
  Api.SetFocus(Editor);
}
