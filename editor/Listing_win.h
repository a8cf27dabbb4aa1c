// The listing panel: a read-only view made with the editing component, in the OutputBox's place,
// for the listings the IDE composes itself. Its lines keep their form ("name(line): text"), the
// name and line number coloured apart from the text, the lines of one file folded under its
// first one, the line last gone to marked. Without the editing component the OutputBox shows
// the listings instead.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

// Styles, fold margin and marker of a newly made panel; the margin at the window's scale.
void ConfigureListing(HWND panel, const std::string& fontName, int fontSize);
// The panel's fold margin as wide as the window's scale makes it.
void ScaleListingMargins();
// Empties the panel (or the OutputBox standing in for it); what shows does not change.
void ClearListing();
// Adds lines at the end, coloured and folded, without moving the view: a running search calls it
// with each batch of lines found. One call costs a few messages, not some per line.
void AppendListing(std::string_view lines);
// The panel shows text in place of the OutputBox, from the next layout on.
void ShowListing(std::string_view text);
// True while the side panel shows the listing panel.
bool ListingShows();
// The panel's lines (views into its text, valid until it changes).
std::vector<std::string_view> ListingLines();
// The 0-based line marked as last gone to, -1 when none is.
int MarkedListingLine();
// The 0-based line of the panel's caret.
int ListingCaretLine();
// Marks line as the one last gone to: shown (unfolded) and scrolled into view, the caret on it.
void MarkListingLine(int line);
