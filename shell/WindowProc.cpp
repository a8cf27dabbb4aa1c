// The window procedure of MainWindow (declared in WindowProc.h).
#include "shell/WindowProc.h"
#include "shell/Bindings.h"
#include "shell/ShellState.h"

namespace {
LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: MainWindow = window; return 0;
    case WM_DESTROY: Api.PostQuitMessage(0); return 0;
    default: return Api.DefWindowProcA(window, message, wParam, lParam);
  }
}
}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No C++ exception may cross into the system's message dispatch.
  try {
    return HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}
