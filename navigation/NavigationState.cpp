// Definitions of the navigation state (declared in NavigationState.h).
#include "navigation/NavigationState.h"

BackStack JumpsBack;
