// State of the navigation features: where to go back to, and how the listing panel's lines are
// read: the folder its relative names are in and the document its "line: text" lines are of.
#pragma once
#include <string>
#include "navigation/BackStack.h"

extern BackStack JumpsBack;            // places the jumps started from; Shift+F12 takes the newest
extern std::string ListingFolder;      // folder of the panel's relative names; empty: as named
extern bool ListingSearched;            // the panel holds find in files' listing: its names as SearchedFile reads them
extern std::string ListingDocument;    // document of the panel's "line: text" lines; empty: the current one
extern std::string OutputStepped;      // the OutputBox's text when F6 last went through it
extern int OutputLineGoneTo;           // the OutputBox's line F6 went to last (0-based), -1 none
