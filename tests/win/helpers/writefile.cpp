// Test helper: writes its second argument into the file named by its first, then exits.
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  std::fputs(argv[2], f);
  return std::fclose(f) == 0 ? 0 : 1;
}
