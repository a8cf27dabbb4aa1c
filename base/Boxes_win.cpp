// Message boxes and the dialog block (declared in Boxes_win.h).
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
void GiveBackFocus(HWND focused) {
  if (!MainWindow || !Api.IsWindow(MainWindow) || !Api.IsWindowVisible(MainWindow)) return;
  if (Api.GetForegroundWindow() != MainWindow) Api.SetForegroundWindow(MainWindow);
  if (Api.GetActiveWindow() != MainWindow) Api.SetActiveWindow(MainWindow);
  if (focused && Api.IsWindow(focused) && Api.IsChild(MainWindow, focused) && Api.GetFocus() != focused)
    Api.SetFocus(focused);
}
}  // namespace

int ShowBox(const std::string& text, const std::string& caption, unsigned style) {
  HWND focused = FocusedControl();
  int pressed = Api.MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL);
  GiveBackFocus(focused);
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
  GiveBackFocus(focused_);
}
