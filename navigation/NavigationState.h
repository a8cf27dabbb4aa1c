// State of the navigation features: the places the jumps started from and the search that runs.
#pragma once
#include <atomic>
#include <memory>
#include "navigation/BackStack.h"

extern BackStack JumpsBack;  // places the jumps started from; Shift+F12 takes the newest
extern unsigned SearchNumber;  // the number of the newest search; news of an older one is dropped
extern std::shared_ptr<std::atomic<bool>> SearchStop;  // the running search's stop flag; null when none runs
