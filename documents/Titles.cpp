// File names shortened for the window's title.
#include "documents/Titles.h"

std::string ShortTitle(std::string_view name) {
  if (name.size() <= ShortTitleLimit) return std::string(name);
  return "..." + std::string(name.substr(name.size() - ShortTitleLimit));
}
