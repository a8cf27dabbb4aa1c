// Where the keyboard focus goes when MainWindow itself receives it, and what the IDE looks at
// when it becomes the active program again.
#include <windows.h>
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "documents/Documents.h"
#include "editor/EditorEvents_win.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/ShellState.h"

void RememberFocus(WPARAM wParam, LPARAM lParam) {
  HWND control = ControlGainingFocus(wParam, lParam);
  if (control && Api.IsChild(MainWindow, control)) LastFocused = control;
}

void OnSetFocus() {
  HWND target = LastFocused && Api.IsWindow(LastFocused) && Api.IsChild(MainWindow, LastFocused) ? LastFocused
                                                                                              : CurrentEditor;
  if (target) Api.SetFocus(target);
}

void OnActivateApp(bool active, unsigned long otherThread) {
  // Only a program of its own coming back to the front counts: the IDE's own boxes closing
  // may also activate the window (under Wine), and nothing changed outside then.
  if (!active || MainWindow == nullptr || otherThread == Api.GetCurrentThreadId()) return;
  // A box shown while the system is still activating the window would come up half active.
  Api.PostMessageA(MainWindow, OutsideCheckMessage, 0, 0);
}

void OnOutsideCheck() { NoticeOutsideChange(DiskMoment::Activated); }
