// F6, listing jumps, going back, the list of declarations and bookmarks.
#include "navigation/Navigation_win.h"
#include <windows.h>
#include <optional>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/SharedState.h"
#include "base/StatusRule.h"
#include "base/TextScan.h"
#include "base/StatusBar_win.h"
#include "navigation/FindFiles.h"
#include "documents/Documents.h"
#include "editor/Bookmarks.h"
#include "editor/EditorAccess_win.h"
#include "editor/ListingText.h"
#include "editor/Listing_win.h"
#include "editor/Marks_win.h"
#include "navigation/Declarations.h"
#include "navigation/Listings.h"
#include "navigation/NavigationState.h"

namespace {
Place PlaceNow() { return {SaveName, CaretPosition()}; }

// Goes to the place the line of the listing names, opening its file as a double-click does
// (asking about unsaved text first); false when nothing moved (no place, cancelled, or the file
// could not be opened).
bool JumpTo(const Listing& listing, std::string_view line) {
  std::optional<ListedPlace> place = PlaceOfListedLine(listing, line);
  if (!place) return false;
  const Place from = PlaceNow();
  // A project's search names its files in the form the project's list gives them.
  if (listing.kind == ListingKind::Search) place->file = ListedForm(place->file);
  if (!place->file.empty() && !OpenListedFile(place->file)) return false;
  JumpsBack.Push(from);
  GoToLine(CurrentEditor, place->line);
  return true;
}

// Said about the place the step went to: it goes when the caret leaves that line.
void SayStep(bool wrapped, bool forward, int line, size_t count) {
  if (wrapped)
    ShowStatusAtCaret(forward ? "Past the last line of the listing: F6 starts again at the first"
                              : "Past the first line of the listing: Shift+F6 starts again at the last");
  else
    ShowStatusAtCaret("Listing line " + std::to_string(line + 1) + " of " + std::to_string(count));
}

// What a new listing says: how many of its lines name a place, or its first line when none does.
std::string ListingSaid(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  size_t places = 0;
  for (std::string_view line : lines)
    if (ReadListedLine(line).kind != ListedKind::None) ++places;
  if (places == 0) return lines.empty() ? std::string() : std::string(lines.front());
  return Counted(static_cast<long long>(places), "place") + " listed: F6 and Shift+F6 go through them";
}

std::string LineOf(std::string_view text, int line) {
  std::vector<std::string_view> lines = SplitLines(text);
  return line >= 1 && size_t(line) <= lines.size() ? std::string(lines[size_t(line - 1)]) : std::string();
}

// The key the bookmarks of the current document are kept under.
std::string CurrentKey() { return DocumentKey(SaveName); }
}  // namespace

void ListingStep(bool forward) {
  if (OutputShown == 0) {
    ShowStatus("No listing shows: F6 goes through the lines of a listing");
  } else {
    const Listing listing = ShownListing();
    const std::vector<std::string_view> lines = SplitLines(listing.text);
    bool wrapped = false;
    const int next = NextListedLine(lines, MarkedListingLine(), forward, wrapped);
    if (next < 0) {
      ShowStatus("No line of the listing names a place to go to");
    } else if (JumpTo(listing, lines[size_t(next)])) {
      MarkListingLine(next);
      SayStep(wrapped, forward, next, lines.size());
    }
  }
  Api.SetFocus(CurrentEditor);
}

void JumpFromListingCaret() {
  const Listing listing = ShownListing();
  const std::vector<std::string_view> lines = SplitLines(listing.text);
  const int line = ListingCaretLine();
  if (line < 0 || size_t(line) >= lines.size()) return;
  if (JumpTo(listing, lines[size_t(line)])) MarkListingLine(line);
}

void ShowPlaces(std::string_view text, const std::string& folder, const std::string& document) {
  ShowListing({ListingKind::Places, std::string(text), folder, document});
  ShowStatus(ListingSaid(text));
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
