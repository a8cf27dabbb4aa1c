// The compiler library zorvex.dll. zor_basis answers a query text's listing directive by
// writing the answer to the file the directive names; zor_check finds a source's first error
// as the compile tool would before running it. They keep nothing between calls and let no
// exception out, since they run inside the IDE with the user's unsaved work.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "zorbasic/Front.h"
#include "zorbasic/Query.h"

namespace {

// A query is answered on a thread of its own with the stack the tools link with, so no source,
// however deep, can use up the stack of the thread that called (the IDE's, which is small).
constexpr SIZE_T QueryStackBytes = SIZE_T{256} << 20;

// Reading a program stops this far above the end of the stack it runs on.
constexpr uintptr_t StackMargin = 128 * 1024;

uintptr_t ThreadStackFloor() {
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(&info, &info, sizeof info)) return 0;
  return reinterpret_cast<uintptr_t>(info.AllocationBase) + StackMargin;
}

int Answer(const char* text) {
  try {
    zb::QueryAnswer answer = zb::AnswerQuery(text, ThreadStackFloor());
    if (!answer.write) return 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(answer.file.c_str(), "wb"), &std::fclose);
    if (!f) return 0;
    return std::fwrite(answer.text.data(), 1, answer.text.size(), f.get()) == answer.text.size() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

struct Job {
  const char* text;
  int result = 0;
};

DWORD WINAPI AnswerOnOwnStack(void* p) {
  Job& job = *static_cast<Job*>(p);
  job.result = Answer(job.text);
  return 0;
}

}  // namespace

// The routines are exported by the names the .def file lists (zorvex.def), undecorated in the
// 32-bit and the 64-bit library alike; the damaged builds for the tests list fewer.
extern "C" int WINAPI zor_trend(int) { return 0; }

extern "C" int WINAPI zor_basis(const char* text) {
  if (!text) return 0;
  Job job{text};
  HANDLE thread = CreateThread(nullptr, QueryStackBytes, AnswerOnOwnStack, &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return Answer(text);  // no room for that stack: the caller's own, within its floor
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return job.result;
}

// text: the whole source, NUL-terminated; file: its file name, which #include lines are
// relative to and which the message names. Returns the 1-based line of the first error (an
// error inside an included file: the line of its #include), 0 when the source has none, -1
// when it could not be checked. The message, "file(line): message" as the compile tool words
// it, goes to message (size bytes with its NUL; cut to fit, empty without an error). It runs on
// the caller's stack, within its floor: the IDE calls it on a worker thread of its own.
extern "C" int WINAPI zor_check(const char* text, const char* file, char* message, int size) {
  if (message && size > 0) message[0] = 0;
  try {
    if (!text || !file) return -1;
    zb::FirstError error = zb::CheckProgram(file, text, zb::ReadSourceFile, ThreadStackFloor());
    if (message && size > 0) {
      size_t n = std::min(error.message.size(), static_cast<size_t>(size) - 1);
      std::memcpy(message, error.message.data(), n);
      message[n] = 0;
    }
    return error.line;
  } catch (...) {
    return -1;
  }
}
