// Time stamps, short titles and help page names: pure text producers.
#include "documents/Titles.h"
#include "base/TextScan.h"

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

std::string ShortTitle(std::string_view name) {
  if (name.size() <= ShortTitleLimit) return std::string(name);
  return "..." + std::string(name.substr(name.size() - ShortTitleLimit));
}

std::string HelpPageName(std::string_view word) {
  std::string page;
  for (char c : LowerText(word)) {
    if (c >= 'a' && c <= 'z')
      page += c;
    else
      page += "a" + std::to_string(static_cast<unsigned char>(c) - 31);
  }
  return page + ".htm";
}
