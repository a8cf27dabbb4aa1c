// Definitions of the editor folder's state.
#include "editor/EditorState.h"

BookmarkStore KeptBookmarks;
BookmarkStore KeptBreakpoints;
StopPlace KeptStop;
ListingFold PanelFold;
std::string PanelTail;
Listing ShownListingOf;
std::string OutputMarkedText;
int OutputMarkedLine = -1;
