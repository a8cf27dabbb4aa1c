// Time stamps as Ctrl+T inserts them.
#include "documents/TimeStamps.h"

namespace {
// value in decimal, padded with zeros in front to width digits (longer values keep their
// last width digits, as the time fields never exceed them).
std::string Padded(int value, size_t width) {
  std::string digits = std::string(width, '0') + std::to_string(value);
  return digits.substr(digits.size() - width);
}
}  // namespace

std::string TimeStampOf(const LocalTime& t) {
  return std::to_string(t.year) + "-" + Padded(t.month, 2) + "-" + Padded(t.day, 2) + "T" +
         Padded(t.hour, 2) + ":" + Padded(t.minute, 2) + ":" + Padded(t.second, 2) + "." +
         Padded(t.milliseconds, 3);
}
