// Test helper: saves the file named by its first argument as often as its second argument says,
// with the program's own safe write, in turn 3000000 'a' and 4000000 'b' bytes, starting with 'b'.
// Exits with 0 when every save succeeded.
#include <cstdlib>
#include <string>
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "documents/Documents.h"

int main(int argc, char** argv) {
  if (argc < 3 || !BindLibraries().empty()) return 2;
  const std::string first(3000000, 'a'), second(4000000, 'b');
  for (int i = 0, count = std::atoi(argv[2]); i < count; ++i)
    if (!WriteTextFile(argv[1], i % 2 == 0 ? second : first)) return 1;
  return 0;
}
