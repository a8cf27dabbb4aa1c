// Time stamps as Ctrl+T inserts them.
#pragma once
#include <string>

// A local time as the system reports it.
struct LocalTime { int year, month, day, hour, minute, second, milliseconds; };

// year-MM-DDThh:mm:ss.mmm; the year without padding, every other field zero-padded.
std::string TimeStampOf(const LocalTime& time);
