// The window procedure of MainWindow: one named handler per message, then the pending action.
#include "shell/WindowProc.h"
#include "commands/Commands.h"
#include "shell/Bindings.h"
#include "shell/MainWindowSteps.h"
#include "shell/Painting.h"

namespace {
// Handles the message; false passes it to DefWindowProcA. runPending is set false when a
// command was abandoned at a cancelled prompt, which skips the pending action. A handler
// whose message answers with something other than 0 sets result.
bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& runPending, LRESULT& result) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return true;
    case WM_SIZE: OnSize(); return true;
    case WM_CLOSE: OnClose(); return true;
    case WM_DESTROY: OnDestroy(); return true;
    case WM_COMMAND: runPending = DispatchCommand(wParam, lParam); return true;
    case WM_DRAWITEM: OnDrawItem(wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return true;
    case WM_ERASEBKGND: result = OnEraseBackground(window, reinterpret_cast<HDC>(wParam)); runPending = false; return true;
    case WM_PAINT: OnPaint(window); return true;
    case WM_CTLCOLOREDIT: result = OnCtlColorEdit(reinterpret_cast<HDC>(wParam)); return true;
    case WM_MOUSEMOVE: OnMouseMove(wParam); return true;
    default: return false;
  }
}
}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No C++ exception may cross into the system's message dispatch.
  try {
    bool runPending = true;
    LRESULT result = 0;
    if (!HandleMessage(window, message, wParam, lParam, runPending, result))
      return Api.DefWindowProcA(window, message, wParam, lParam);
    if (runPending) RunPendingAction();
    return result;
  } catch (...) {
  }
  return 0;
}
