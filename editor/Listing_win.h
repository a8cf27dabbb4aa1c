// The listing panel: a read-only view made with the editing component, in the OutputBox's place,
// for the listings the IDE composes itself. Its lines keep their form ("name(line): text"), the
// name and line number coloured apart from the text, the lines of one file folded under its
// first one, the line last gone to marked. Without the editing component the OutputBox shows
// the listings instead.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include "editor/ListingText.h"

// Styles, fold margin and marker of a newly made panel; the margin at the window's scale.
void ConfigureListing(HWND panel, const std::string& fontName, int fontSize);
// The panel's fold margin as wide as the window's scale makes it.
void ScaleListingMargins();
// Empties the panel (or the OutputBox standing in for it); what shows does not change.
void ClearListing();
// Adds lines at the end, coloured and folded, without moving the view: a running search calls it
// with each batch of lines found. One call costs a few messages, not some per line.
void AppendListing(std::string_view lines);
// The panel shows the listing in place of the OutputBox, from the next layout on; what its
// lines are of (its kind, folder and document) goes with it, the lines appended later too.
void ShowListing(Listing listing);
// True while the side panel shows the listing panel.
bool ListingShows();
// The listing that shows in the side panel, its text included: the panel's; else the
// OutputBox's, which is a query's answer unless the box still holds a listing shown there
// for want of the panel. Empty when the side panel is hidden.
Listing ShownListing();
// The 0-based line of the listing that shows marked as last gone to, -1 when none is.
int MarkedListingLine();
// The 0-based line of the listing that shows that holds its caret (the OutputBox's: the start
// of its selection); -1 when it has none.
int ListingCaretLine();
// Marks line of the listing that shows as the one last gone to: the panel's shown (unfolded),
// scrolled into view and the caret on it; the OutputBox's selected.
void MarkListingLine(int line);
