// Start-up sequence (placeholder until built out).
#include "shell/Startup.h"
#include "shell/Bindings.h"

int RunStartup() {
  std::string missing = BindLibraries();
  if (!missing.empty()) return 1;
  FreeLibraries();
  return 0;
}
