// Definitions of the editor folder's state (declared in EditorState.h).
#include "editor/EditorState.h"

BookmarkStore KeptBookmarks;
BookmarkStore KeptBreakpoints;
ListingFold PanelFold;
std::string PanelTail;
