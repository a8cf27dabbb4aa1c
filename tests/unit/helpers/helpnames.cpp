// With --keywords, writes the editor's keyword list; otherwise reads words, one per line in
// hexadecimal, and writes the help page name of each, so other tests can check their own.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include "commands/HelpPages.h"
#include "shell/StartupText.h"

namespace {

// The bytes of a hexadecimal text ("2370" gives "#p"); a stray digit at the end is dropped.
std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--keywords") == 0) {
    std::fwrite(KeywordList, 1, std::strlen(KeywordList), stdout);
    return 0;
  }
  std::string line;
  while (std::getline(std::cin, line)) std::cout << HelpPageName(FromHex(line)) << '\n';
  return 0;
}
