// Ownership of handles: files, processes and threads are closed, and fonts and pictures deleted,
// by whoever holds them.
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

// How the objects below are let go of: GDI objects (fonts, pictures) are deleted, icons destroyed.
// After the libraries are freed there is nothing left to let go of through.
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const {
    if (Api.DeleteObject) Api.DeleteObject(object);
  }
};
struct DestroyIconObject {
  void operator()(HICON icon) const {
    if (Api.DestroyIcon) Api.DestroyIcon(icon);
  }
};

// A GDI object (a font, a picture) or an icon let go of by whoever holds it: when it goes out of
// scope, or when it is given another one, which lets a control take the new object before the
// old one goes.
template <typename Object, typename Free = DeleteGdiObject>
class GdiObject {
 public:
  explicit GdiObject(Object object = nullptr) : object_(object) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }
  Object Get() const { return object_; }
  // Takes object and lets go of the one held before.
  void Reset(Object object = nullptr) {
    Object old = std::exchange(object_, object);
    if (old) Free()(old);
  }

 private:
  Object object_;
};
