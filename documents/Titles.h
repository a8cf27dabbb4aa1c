// Time stamps, shortened file names for window titles and the names of help pages.
#pragma once
#include <string>
#include <string_view>

// A local time as the system reports it.
struct LocalTime { int year, month, day, hour, minute, second, milliseconds; };

// year-MM-DDThh:mm:ss.mmm; the year without padding, every other field zero-padded.
std::string TimeStampOf(const LocalTime& time);
// Longest file name a title shows in full.
constexpr size_t ShortTitleLimit = 64;
// The name, or "..." and its last 64 characters when it is longer.
std::string ShortTitle(std::string_view name);
// The help page of a keyword: lower-case letters kept, every other byte written as "a" and its
// code minus 31, then ".htm".
std::string HelpPageName(std::string_view word);

// Windows side (Titles_win.cpp).
// The current local time stamp.
std::string TimeStamp();
// Ctrl+T: replaces the selection of the focused editor or edit box by the first 19
// characters of the time stamp and puts the caret behind them.
void InsertTimeStamp();
