// How deep the front end and the interpreter may recurse on the running thread. A host that
// knows its thread's stack sets Program::stackFloor; every recursive step compares the depth
// it has reached with it and stops with an error before the stack runs out.
#pragma once
#include <cstddef>
#include <cstdint>

namespace zb {

// The running function's frame address: the deeper the call, the lower it is.
inline uintptr_t StackHere() { return reinterpret_cast<uintptr_t>(__builtin_frame_address(0)); }

// The floor for work started here that may use `bytes` of stack below this point.
inline uintptr_t StackFloorBelowHere(size_t bytes) {
  uintptr_t here = StackHere();
  return bytes < here ? here - bytes : 1;
}

// Whether the stack has grown past the floor (a floor of 0 sets no limit).
inline bool StackFull(uintptr_t floor) { return StackHere() < floor; }

}  // namespace zb
