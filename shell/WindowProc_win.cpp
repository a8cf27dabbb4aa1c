// The window procedure of MainWindow: one named handler per message, then the pending action.
#include "shell/WindowProc_win.h"
#include <new>
#include <stdexcept>
#include <string>
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "compiler/Debugger_win.h"
#include "compiler/ErrorCheck.h"
#include "compiler/RunWatch_win.h"
#include "commands/Commands_win.h"
#include "commands/Drops_win.h"
#include "navigation/FindFiles.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/Painting_win.h"
#include "shell/Scaling_win.h"

namespace {
// WM_DROPFILES: the drop is decided by where the pointer is as the message is handled.
Outcome TakeDrop(HWND window, WPARAM wParam) {
  DropPoint point;
  int height = 0;
  PointerInClient(window, point.quarter, height, point.x, point.y);
  return OnDropFiles(reinterpret_cast<HDROP>(wParam), point);
}

// Handles the message; false passes it to DefWindowProcA. runPending is set false when a
// command was abandoned at a cancelled prompt, which skips the pending action. A handler
// whose message answers with something other than 0 sets result.
bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& runPending, LRESULT& result) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return true;
    case WM_SIZE: OnSize(); return true;
    case WM_DPICHANGED: OnDpiChanged(wParam, reinterpret_cast<const RECT*>(lParam)); return true;
    case WM_SETFOCUS: OnSetFocus(); return true;
    case WM_ACTIVATEAPP: OnActivateApp(wParam != FALSE, static_cast<unsigned long>(lParam)); return false;
    case OutsideCheckMessage: OnOutsideCheck(); return true;
    case WM_CLOSE: OnClose(); return true;
    case WM_QUERYENDSESSION: result = OnQueryEndSession(); return true;
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return true;
    case WM_DESTROY: OnDestroy(); return true;
    case WM_COMMAND:
      RememberFocus(wParam, lParam);
      runPending = DispatchCommand(wParam, lParam) == Outcome::Go;
      return true;
    case WM_NOTIFY: OnNotify(reinterpret_cast<const NMHDR*>(lParam)); return true;
    case WM_DROPFILES: runPending = TakeDrop(window, wParam) == Outcome::Go; return true;
    case WM_DRAWITEM: OnDrawItem(wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return true;
    case WM_ERASEBKGND: result = OnEraseBackground(window, reinterpret_cast<HDC>(wParam)); runPending = false; return true;
    case WM_PAINT: OnPaint(window); return true;
    case WM_CTLCOLOREDIT: result = OnCtlColorEdit(reinterpret_cast<HDC>(wParam)); return true;
    case WM_MOUSEMOVE: OnMouseMove(wParam); return true;
    case WM_TIMER: return OnErrorCheckTimer(wParam) || OnFocusBackTimer(wParam);
    case ErrorCheckedMessage: OnErrorChecked(lParam); return true;
    case RunEndedMessage: OnRunEnded(lParam); return true;
    case DebugArrivedMessage: OnDebugArrived(lParam); return true;
    case SearchNewsMessage: OnSearchNews(wParam, lParam); return true;
    default: return false;
  }
}

// What the user was doing when a message failed, for the report.
std::string WhatFailed(UINT message) {
  switch (message) {
    case WM_CREATE: return "create the main window";
    case WM_CLOSE: return "close the window; it stays open";
    case WM_QUERYENDSESSION: return "save the work before the session ends; the IDE stays open";
    case WM_COMMAND: return "carry out the command";
    case WM_DROPFILES: return "take the dropped files";
    default: return "finish the last action";
  }
}

LRESULT Failed(UINT message, const std::string& report) {
  ShowBox(report, "zor", MB_OK | MB_ICONERROR);
  return message == WM_CREATE ? -1 : 0;
}
}  // namespace

LRESULT RunGuarded(UINT message, const std::function<LRESULT()>& handler) {
  try {
    return handler();
  } catch (const std::bad_alloc&) {
    return Failed(message, "Not enough memory to " + WhatFailed(message) + ".");
  } catch (const std::length_error&) {
    return Failed(message, "Not enough memory to " + WhatFailed(message) + ".");
  } catch (const std::exception& failure) {
    return Failed(message, "Could not " + WhatFailed(message) + ": " + failure.what());
  } catch (...) {
    return Failed(message, "Could not " + WhatFailed(message) + ".");
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No C++ exception may cross into the system's message dispatch.
  return RunGuarded(message, [&]() -> LRESULT {
    bool runPending = true;
    LRESULT result = 0;
    if (!HandleMessage(window, message, wParam, lParam, runPending, result))
      return Api.DefWindowProcA(window, message, wParam, lParam);
    if (runPending) RunPendingAction();
    return result;
  });
}
