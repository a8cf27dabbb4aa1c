// State of the navigation features: the places the jumps started from.
#pragma once
#include "navigation/BackStack.h"

extern BackStack JumpsBack;  // places the jumps started from; Shift+F12 takes the newest
