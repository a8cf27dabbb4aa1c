// Entry point of the Windows tests: binds the program's libraries as start-up does, then runs
// every test on this one thread, as the program runs.
#include <gtest/gtest.h>
#include <cstdio>
#include "base/Bindings_win.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string missing = BindLibraries();
  if (!missing.empty()) {
    std::fprintf(stderr, "cannot bind %s\n", missing.c_str());
    return 1;
  }
  int result = RUN_ALL_TESTS();
  FreeLibraries();
  return result;
}
