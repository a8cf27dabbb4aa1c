// The compiler library zorvex.dll. zor_basis answers a query text's listing directive by
// writing the answer to the file the directive names; it keeps nothing between calls and
// lets no exception out, since it runs inside the IDE with the user's unsaved work.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "zorbasic/Query.h"

extern "C" __declspec(dllexport) int WINAPI zor_trend(int) { return 0; }

extern "C" __declspec(dllexport) int WINAPI zor_basis(const char* text) {
  try {
    if (!text) return 0;
    zb::QueryAnswer answer = zb::AnswerQuery(text);
    if (!answer.write) return 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(answer.file.c_str(), "wb"), &std::fclose);
    if (!f) return 0;
    return std::fwrite(answer.text.data(), 1, answer.text.size(), f.get()) == answer.text.size() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
