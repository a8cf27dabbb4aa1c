// The current time stamp and Ctrl+T.
#pragma once
#include <string>

// The current local time stamp.
std::string TimeStamp();
// Ctrl+T: replaces the selection of the focused editor or edit box by the first 19
// characters of the time stamp and puts the caret behind them.
void InsertTimeStamp();
