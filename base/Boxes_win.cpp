// Message boxes and the dialog block.
#include "base/Boxes_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"

namespace {
// The control of MainWindow that has the keyboard focus now; null when none has it.
HWND FocusedControl() {
  HWND focused = Api.GetFocus();
  return focused && MainWindow && Api.IsChild(MainWindow, focused) ? focused : nullptr;
}

// A box or dialog without an owner ends while MainWindow is still disabled, so the system
// activates no window of the program after it, and may make another program's window the
// foreground one (under Wine often the console, where the keys typed next would become a
// program's input): MainWindow becomes the foreground window again and the control that had
// the focus gets it back.
// The focus is set again even where the system already counts it as there: only a change of
// the focus makes Wine hand the display's keyboard to the window, which the console may hold.
void GiveBackFocus(HWND focused) {
  if (!MainWindow || !Api.IsWindow(MainWindow) || !Api.IsWindowVisible(MainWindow)) return;
  if (Api.GetForegroundWindow() != MainWindow) Api.SetForegroundWindow(MainWindow);
  if (Api.GetActiveWindow() != MainWindow) Api.SetActiveWindow(MainWindow);
  if (!focused || !Api.IsWindow(focused) || !Api.IsChild(MainWindow, focused)) return;
  if (Api.GetFocus() == focused) Api.SetFocus(MainWindow);  // which hands it on to focused again
  if (Api.GetFocus() != focused) Api.SetFocus(focused);
}

// The other program's window may also be activated a moment after the box has gone (under
// Wine the console's own process takes the keyboard when the display tells it so): for a short
// while after a box, an activation of another program that the user had no time to cause is
// undone.
constexpr UINT FocusBackPeriodMs = 100;
constexpr int FocusBackPeriods = 6;
HWND FocusBackTo = nullptr;  // the control that had the focus before the last box
int FocusBackLeft = 0;       // periods left to watch

void WatchFocusBack(HWND focused) {
  if (!MainWindow || !Api.IsWindow(MainWindow)) return;
  FocusBackTo = focused;
  FocusBackLeft = FocusBackPeriods;
  Api.SetTimer(MainWindow, FocusBackTimer, FocusBackPeriodMs, nullptr);
}

void FocusBackAfterBox(HWND focused) {
  GiveBackFocus(focused);
  WatchFocusBack(focused);
}
}  // namespace

bool OnFocusBackTimer(uintptr_t timer) {
  if (timer != FocusBackTimer) return false;
  if (--FocusBackLeft <= 0) Api.KillTimer(MainWindow, FocusBackTimer);
  // Another program took the keyboard (no window of this thread is active), or the focus is
  // still where it was given back and is given again; a control the user chose meanwhile
  // keeps it.
  if (Api.IsWindowEnabled(MainWindow) && (Api.GetActiveWindow() == nullptr || Api.GetFocus() == FocusBackTo))
    GiveBackFocus(FocusBackTo);
  return true;
}

int ShowBox(const std::string& text, const std::string& caption, unsigned style) {
  HWND focused = FocusedControl();
  int pressed = Api.MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL);
  FocusBackAfterBox(focused);
  return pressed;
}

void ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(text, caption.empty() ? "<MsgBox>" : caption, MB_OK);
}

MainWindowBlocked::MainWindowBlocked() : focused_(FocusedControl()) {
  if (MainWindow && Api.IsWindow(MainWindow)) {
    Api.EnableWindow(MainWindow, FALSE);
    blocked_ = true;
  }
}

MainWindowBlocked::~MainWindowBlocked() {
  if (!blocked_ || !Api.IsWindow(MainWindow)) return;
  Api.EnableWindow(MainWindow, TRUE);
  FocusBackAfterBox(focused_);
}
