// Definitions of the navigation state (declared in NavigationState.h).
#include "navigation/NavigationState.h"

BackStack JumpsBack;
std::string ListingFolder;
bool ListingSearched = false;
std::string ListingDocument;
std::string OutputStepped;
int OutputLineGoneTo = -1;
