// The window procedure of MainWindow: one named handler per message, then the pending action.
#include "shell/WindowProc.h"
#include "commands/Commands.h"
#include "shell/Bindings.h"
#include "shell/MainWindowSteps.h"

namespace {
// Handles the message; false passes it to DefWindowProcA. runPending is set false when a
// command was abandoned at a cancelled prompt, which skips the pending action.
bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& runPending) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return true;
    case WM_SIZE: OnSize(); return true;
    case WM_CLOSE: OnClose(); return true;
    case WM_DESTROY: OnDestroy(); return true;
    case WM_COMMAND: runPending = DispatchCommand(wParam, lParam); return true;
    default: return false;
  }
}
}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No C++ exception may cross into the system's message dispatch.
  try {
    bool runPending = true;
    if (!HandleMessage(window, message, wParam, lParam, runPending))
      return Api.DefWindowProcA(window, message, wParam, lParam);
    if (runPending) RunPendingAction();
  } catch (...) {
  }
  return 0;
}
