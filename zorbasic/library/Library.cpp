// The compiler library zorvex.dll. zor_basis answers a query text's listing directive by
// writing the answer to the file the directive names; it keeps nothing between calls and
// lets no exception out, since it runs inside the IDE with the user's unsaved work.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "zorbasic/Query.h"

namespace {

// Reading a program stops this far above the end of the calling thread's stack: the IDE's
// thread, whose stack is much smaller than the tools' own.
constexpr uintptr_t StackMargin = 128 * 1024;

uintptr_t CallerStackFloor() {
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(&info, &info, sizeof info)) return 0;
  return reinterpret_cast<uintptr_t>(info.AllocationBase) + StackMargin;
}

}  // namespace

extern "C" __declspec(dllexport) int WINAPI zor_trend(int) { return 0; }

extern "C" __declspec(dllexport) int WINAPI zor_basis(const char* text) {
  try {
    if (!text) return 0;
    zb::QueryAnswer answer = zb::AnswerQuery(text, CallerStackFloor());
    if (!answer.write) return 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(answer.file.c_str(), "wb"), &std::fclose);
    if (!f) return 0;
    return std::fwrite(answer.text.data(), 1, answer.text.size(), f.get()) == answer.text.size() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
