// F6, listing jumps, going back, the list of declarations and bookmarks (declared in
// Navigation_win.h).
#include "navigation/Navigation_win.h"
#include <windows.h>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "navigation/FindFiles.h"
#include "documents/Documents.h"
#include "editor/Bookmarks.h"
#include "editor/EditorAccess_win.h"
#include "editor/ListingText.h"
#include "editor/Listing_win.h"
#include "editor/Marks_win.h"
#include "navigation/Declarations.h"
#include "navigation/NavigationState.h"

namespace {
Place PlaceNow() { return {SaveName, CaretPosition()}; }

// Goes to the place a listed line names, opening its file as a double-click does (asking about
// unsaved text first); false when nothing moved (cancelled, or the file could not be opened).
bool JumpTo(const ListedLine& read) {
  if (read.kind == ListedKind::None) return false;
  const Place from = PlaceNow();
  const std::string file = read.kind != ListedKind::FileLine ? ListingDocument
                           : ListingSearched          ? SearchedFile(read.name)
                                                      : PathInFolder(ListingFolder, read.name);
  if (!file.empty() && !OpenListedFile(file)) return false;
  JumpsBack.Push(from);
  GoToLine(CurrentEditor, read.line);
  return true;
}

void SayStep(bool wrapped, bool forward, int line, size_t count) {
  if (wrapped)
    ShowStatus(forward ? "Past the last line of the listing: F6 starts again at the first"
                       : "Past the first line of the listing: Shift+F6 starts again at the last");
  else
    ShowStatus("Listing line " + std::to_string(line + 1) + " of " + std::to_string(count));
}

void StepThroughPanel(bool forward) {
  std::vector<std::string_view> lines = ListingLines();
  bool wrapped = false;
  int next = NextListedLine(lines, MarkedListingLine(), forward, wrapped);
  if (next < 0) {
    ShowStatus("No line of the listing names a place to go to");
    return;
  }
  const ListedLine read = ReadListedLine(lines[size_t(next)]);
  const size_t count = lines.size();
  if (!JumpTo(read)) return;
  MarkListingLine(next);
  SayStep(wrapped, forward, next, count);
}

// The OutputBox of a compiler query (or of find in files): its lines are gone to as a
// double-click there goes to them, the line selected in the box.
void StepThroughOutputBox(bool forward) {
  HWND box = FinderBoxes[OutputBox];
  const std::string text = GetControlText(box);
  if (text != OutputStepped) OutputLineGoneTo = -1;
  std::vector<std::string_view> lines = SplitLines(text);
  bool wrapped = false;
  int next = NextListedLine(lines, OutputLineGoneTo, forward, wrapped);
  if (next < 0) {
    ShowStatus("No line of the listing names a place to go to");
    return;
  }
  const std::string_view line = lines[size_t(next)];
  const size_t start = size_t(line.data() - text.data());
  const ListedLine read = ReadListedLine(line);
  OutputStepped = text;
  OutputLineGoneTo = next;
  SelectAndShow(box, start, start + line.size());
  const Place from = PlaceNow();
  if (read.kind == ListedKind::FileLine) {
    GoToListedLine();  // reads the line selected in the box, names as find in files gave them
    if (PlaceNow() == from) return;
  } else {
    GoToLine(CurrentEditor, read.line);
  }
  JumpsBack.Push(from);
  SayStep(wrapped, forward, next, lines.size());
}

std::string LineOf(std::string_view text, int line) {
  std::vector<std::string_view> lines = SplitLines(text);
  return line >= 1 && size_t(line) <= lines.size() ? std::string(lines[size_t(line - 1)]) : std::string();
}

// The key the bookmarks of the current document are kept under.
std::string CurrentKey() { return DocumentKey(SaveName); }
}  // namespace

void ListingStep(bool forward) {
  if (ListingShows()) StepThroughPanel(forward);
  else if (OutputShown != 0) StepThroughOutputBox(forward);
  else ShowStatus("No listing shows: F6 goes through the lines of a listing");
  Api.SetFocus(CurrentEditor);
}

void JumpFromListingCaret() {
  int line = ListingCaretLine();
  std::vector<std::string_view> lines = ListingLines();
  if (line < 0 || size_t(line) >= lines.size()) return;
  if (JumpTo(ReadListedLine(lines[size_t(line)]))) MarkListingLine(line);
}

void ShowPlaces(std::string_view text, const std::string& folder, const std::string& document) {
  ListingFolder = folder;
  ListingSearched = false;
  ListingDocument = document;
  ShowListing(text);
}

void GoBack() {
  std::optional<Place> place = JumpsBack.Pop();
  if (!place) {
    ShowStatus("Nothing to go back to");
    return;
  }
  if (place->path.empty() && !SaveName.empty()) {
    ShowStatus("The untitled document that jump started in is gone");
    return;
  }
  if (!place->path.empty() && !OpenListedFile(place->path)) {
    // Cancelled: the place stays to go back to; a file that went away does not.
    if (Api.GetFileAttributesA(ExpandPath(place->path).c_str()) != INVALID_FILE_ATTRIBUTES) JumpsBack.Push(*place);
    return;
  }
  GoToPosition(place->position);
}

void ListDeclarations() {
  std::string copy;
  std::string listing = DeclarationListing(ControlTextView(CurrentEditor, copy));
  if (listing.empty()) {
    ShowPlaces("No subs, functions, types or labels in this document\r\n", "", SaveName);
    return;
  }
  ShowPlaces(listing, "", SaveName);
}

void ToggleBookmarkAtCaret() { ToggleBookmark(LineOfPosition(CaretPosition())); }

void ToggleBookmarkAtPosition(size_t position) { ToggleBookmark(LineOfPosition(position)); }

void StepBookmark(bool forward) {
  int line = NextMark(BookmarkLines(), LineOfPosition(CaretPosition()), forward);
  if (line == 0) {
    ShowStatus("No bookmarks in this document: Ctrl+M sets one on the caret's line");
    return;
  }
  GoToLine(CurrentEditor, line);
}

void ListBookmarks() {
  const std::string current = CurrentKey();
  std::vector<MarkedLine> marks;
  for (const KeptMarks& file : AllBookmarks(current)) {
    const bool here = LowerText(file.key) == LowerText(current);
    const std::string text = here ? std::string() : ReadTextFile(file.key);
    for (int line : file.lines) marks.push_back({file.key, line, here ? EditorLineText(line) : LineOf(text, line)});
  }
  if (marks.empty()) {
    ShowPlaces("No bookmarks: Ctrl+M sets one on the caret's line\r\n", "", "");
    return;
  }
  ShowPlaces(BookmarkListing(marks, WorkDir), WorkDir, "");
}
