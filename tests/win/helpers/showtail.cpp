// Test helper: writes the program's own command tail and program folder, one per line, into
// the file named by the environment variable ZOR_SHOWTAIL_OUT.
#include <cstdio>
#include <cstdlib>
#include "base/Bindings_win.h"
#include "compiler/Launch.h"

int main() {
  const char* out = std::getenv("ZOR_SHOWTAIL_OUT");
  if (!out || !BindLibraries().empty()) return 2;
  std::FILE* f = std::fopen(out, "wb");
  if (!f) return 1;
  std::fprintf(f, "%s\n%s\n", GetCommandTail().c_str(), GetProgramDir().c_str());
  return std::fclose(f) == 0 ? 0 : 1;
}
