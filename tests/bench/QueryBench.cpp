// Benchmark: times the compiler library's answers on large generated sources, next to the
// time of one plain copy of the same text. Run in the program folder by dev/bench.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using Export = int(WINAPI*)(const char*);

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// A program of the given number of lines; every fourth line uses the word "target".
std::string Source(int lines) {
  std::string s = "dim target as int\r\ndim y as int\r\n";
  char line[96];
  for (int k = 0; k < lines; ++k) {
    if (k % 4 == 0) std::snprintf(line, sizeof line, "target = target + %d\r\n", k % 1000);
    else std::snprintf(line, sizeof line, "y = y * 2 + %06d ' text\r\n", k);
    s += line;
  }
  return s;
}

std::string WithDirective(const std::string& source, const std::string& listing) {
  std::string text = source;
  text.insert(text.find("\r\n") + 2, "\r\n#list \"" + listing + "\" target\r\n");
  return text;
}

// The best of three runs of the query, in seconds.
double TimeQuery(Export basis, const std::string& text) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    double t0 = Now();
    basis(text.c_str());
    double t = Now() - t0;
    if (t < best) best = t;
  }
  return best;
}

double TimeCopy(const std::string& text) {
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    double t0 = Now();
    std::string copy = text;
    volatile char keep = copy[copy.size() / 2];
    (void)keep;
    double t = Now() - t0;
    if (t < best) best = t;
  }
  return best;
}

}  // namespace

int main() {
  HMODULE library = LoadLibraryA("zorvex.dll");
  Export basis = library ? reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(library, "zor_basis"))) : nullptr;
  if (!basis) {
    std::printf("querybench: zorvex.dll with zor_basis not found in the current folder\n");
    return 1;
  }
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  std::string listing = std::string(dir) + "\\_bench.txt";

  std::string million = WithDirective(Source(1000000), listing);
  std::printf("query (#list) on a 1,000,000-line source (%.1f MB): %.3f s\n", million.size() / 1e6, TimeQuery(basis, million));
  std::string heavy = million;  // every line of a source under 2 MB is checked: time the largest such
  heavy.resize(2 * 1024 * 1024 - 64);
  heavy.resize(heavy.rfind("\r\n") + 2);
  std::printf("query (#list) on a %.1f MB source, checked whole: %.3f s\n", heavy.size() / 1e6, TimeQuery(basis, heavy));

  std::string tenMb = WithDirective(Source(400000), listing);  // 100,000 lines use the word
  double query = TimeQuery(basis, tenMb);
  double copy = TimeCopy(tenMb);
  std::printf("query (#list) on a %.1f MB source with 100,000 occurrences: %.3f s\n", tenMb.size() / 1e6, query);
  std::printf("plain copy of the same text: %.4f s; the query takes %.0f times as long\n", copy, query / copy);
  DeleteFileA(listing.c_str());
  return 0;
}
