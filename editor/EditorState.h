// State of the editor folder: the bookmarks of the documents left and the listing panel's
// reading of what was appended to it.
#pragma once
#include <string>
#include "editor/Bookmarks.h"
#include "editor/ListingText.h"

extern BookmarkStore KeptBookmarks;  // marks of each document left; the editor's markers hold the current one's
extern BookmarkStore KeptBreakpoints;  // the debugger's breakpoints of each document left, likewise
extern ListingFold PanelFold;        // fold reading of the panel's lines so far
extern std::string PanelTail;        // the panel's last line while no line break has ended it
