// Test helper: waits (up to 20 s) until the file named by its first argument exists, then
// writes its third argument into the file named by its second. Lets a test prove that the
// launcher returned while the started program was still running.
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  for (int waited = 0; GetFileAttributesA(argv[1]) == INVALID_FILE_ATTRIBUTES; waited += 20) {
    if (waited > 20000) return 3;
    Sleep(20);
  }
  std::FILE* f = std::fopen(argv[2], "wb");
  if (!f) return 1;
  std::fputs(argv[3], f);
  return std::fclose(f) == 0 ? 0 : 1;
}
