// Definitions of the navigation state.
#include "navigation/NavigationState.h"

BackStack JumpsBack;
unsigned SearchNumber = 0;
std::shared_ptr<std::atomic<bool>> SearchStop;
