// Ownership of kernel handles: files, processes and threads are closed by whoever holds them.
#pragma once
#include <windows.h>
#include <utility>
#include "base/Bindings_win.h"

// Closes its handle when it goes out of scope. Both null and INVALID_HANDLE_VALUE mean "none",
// since the system's routines use either to report that nothing was opened.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  ~KernelHandle() { Close(); }
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closes the handle now; false when the system reports that closing failed (for a file
  // written through this handle that can mean its last bytes did not reach the disk).
  bool Close() {
    if (!Valid()) return true;
    HANDLE handle = std::exchange(handle_, nullptr);
    return Api.CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};
