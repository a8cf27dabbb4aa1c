// State of the editor folder: the bookmarks of the documents left, the listing that shows and
// the listing panel's reading of what was appended to it.
#pragma once
#include <string>
#include "editor/Bookmarks.h"
#include "editor/ListingText.h"

extern BookmarkStore KeptBookmarks;  // marks of each document left; the editor's markers hold the current one's
extern BookmarkStore KeptBreakpoints;  // the debugger's breakpoints of each document left, likewise
// Where the debugged program stopped last: the key of that document and the 1-based line (0
// when no program is debugged).
struct StopPlace {
  std::string key;
  int line = 0;
};
extern StopPlace KeptStop;
extern ListingFold PanelFold;        // fold reading of the panel's lines so far
extern std::string PanelTail;        // the panel's last line while no line break has ended it
extern Listing ShownListingOf;      // what the listing shown last is of; its text only while the OutputBox stands in for the panel
extern std::string OutputMarkedText; // the OutputBox's text when a line of it was marked as gone to
extern int OutputMarkedLine;         // that line (0-based), -1 none
