// Running the toolchain natively as the Windows tools run it: on a thread with their 256 MB
// stack, with the program's stack floor set from it, so a program nests as deep here as there.
#pragma once
#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <functional>

#include "zorbasic/Stack.h"

namespace zbnative {

constexpr size_t ToolStackBytes = size_t{256} << 20;  // as the Windows tools link with
constexpr size_t StackMarginBytes = size_t{16} << 20;  // kept free below the floor

// Runs work on a new thread with the tools' stack; work is given the stack floor for the
// programs it reads and runs there. Returns work's result, or -1 when no thread could start.
inline int RunOnToolStack(const std::function<int(uintptr_t floor)>& work) {
  struct Job {
    const std::function<int(uintptr_t)>* work;
    int result = -1;
  } job{&work};
  auto body = [](void* p) -> void* {
    Job& j = *static_cast<Job*>(p);
    j.result = (*j.work)(zb::StackFloorBelowHere(ToolStackBytes - StackMarginBytes));
    return nullptr;
  };
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return -1;
  pthread_t thread;
  bool started = pthread_attr_setstacksize(&attr, ToolStackBytes) == 0 && pthread_create(&thread, &attr, body, &job) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return -1;
  pthread_join(thread, nullptr);
  return job.result;
}

}  // namespace zbnative
