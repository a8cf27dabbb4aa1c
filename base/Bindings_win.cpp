// Binding of the system libraries, the compiler library and GDI+ by name.
#include "base/Bindings_win.h"
#include <vector>

BoundApi Api;

namespace {
std::vector<HMODULE> LoadedLibraries;  // in load order; freed in reverse

template <typename Fn>
bool BindOne(HMODULE lib, const char* name, Fn& slot, std::string& missing) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(lib, name)));
  if (!slot && missing.empty()) missing = name;
  return slot != nullptr;
}

HMODULE LoadOne(const char* name, std::string& missing) {
  HMODULE lib = ::LoadLibraryA(name);
  if (!lib) missing = name;
  else LoadedLibraries.push_back(lib);
  return lib;
}
}  // namespace

#define ZOR_BIND_SYSTEM(name) BindOne(lib, #name, Api.name, missing);
#define ZOR_BIND_TYPED(name, type) BindOne(lib, #name, Api.name, missing);
#define ZOR_BIND_OPTIONAL(name, type) \
  Api.name = reinterpret_cast<type>(reinterpret_cast<void*>(::GetProcAddress(lib, #name)));
#define ZOR_BIND_LIBRARY(file, list, binder)      \
  if (!(lib = LoadOne(file, missing))) return missing; \
  list(binder)                                     \
  if (!missing.empty()) return missing;

std::string BindLibraries() {
  std::string missing;
  HMODULE lib = nullptr;
  ZOR_BIND_LIBRARY("kernel32.dll", ZOR_KERNEL32, ZOR_BIND_SYSTEM)
  ZOR_BIND_LIBRARY("user32.dll", ZOR_USER32, ZOR_BIND_SYSTEM)
  ZOR_USER32_OPTIONAL(ZOR_BIND_OPTIONAL)
  ZOR_BIND_LIBRARY("gdi32.dll", ZOR_GDI32, ZOR_BIND_SYSTEM)
  ZOR_BIND_LIBRARY("comdlg32.dll", ZOR_COMDLG32, ZOR_BIND_SYSTEM)
  ZOR_BIND_LIBRARY("shell32.dll", ZOR_SHELL32, ZOR_BIND_SYSTEM)
  ZOR_BIND_LIBRARY("zorvex.dll", ZOR_ZORVEX, ZOR_BIND_TYPED)
  ZOR_ZORVEX_OPTIONAL(ZOR_BIND_OPTIONAL)
  ZOR_BIND_LIBRARY("gdiplus.dll", ZOR_GDIPLUS, ZOR_BIND_TYPED)
  return missing;
}

void FreeLibraries() {
  for (auto it = LoadedLibraries.rbegin(); it != LoadedLibraries.rend(); ++it) ::FreeLibrary(*it);
  LoadedLibraries.clear();
  Api = BoundApi{};
}
