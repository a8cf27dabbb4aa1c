// The names of the help file's pages.
#include "commands/HelpPages.h"
#include "base/TextScan.h"

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
