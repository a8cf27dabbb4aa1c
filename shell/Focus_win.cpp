// Where the keyboard focus goes when MainWindow itself receives it, and what the IDE looks at
// when it becomes the active program again.
#include <windows.h>
#include "base/Bindings_win.h"
#include "documents/Documents.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/ShellState.h"

namespace {
constexpr WORD EditGotFocus = EN_SETFOCUS;  // 0x0100, from an edit box
constexpr WORD EditorGotFocus = 512;        // SCEN_SETFOCUS, from the Scintilla editor
}  // namespace

void RememberFocus(WPARAM wParam, LPARAM lParam) {
  WORD code = HIWORD(wParam);
  if (code != EditGotFocus && code != EditorGotFocus) return;
  HWND control = reinterpret_cast<HWND>(lParam);
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
