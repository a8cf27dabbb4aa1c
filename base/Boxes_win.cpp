// Message boxes and the dialog block.
#include "base/Boxes_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"

namespace {
// A box or dialog without an owner ends while MainWindow is still disabled, so the system
// activates no window of the program after it: activate MainWindow again, which gives the
// focus back to the control that had it.
void ReactivateMainWindow() {
  if (!MainWindow || !Api.IsWindow(MainWindow) || !Api.IsWindowVisible(MainWindow)) return;
  if (Api.GetActiveWindow() == nullptr) Api.SetActiveWindow(MainWindow);
}
}  // namespace

int ShowBox(const std::string& text, const std::string& caption, unsigned style) {
  int pressed = Api.MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL);
  ReactivateMainWindow();
  return pressed;
}

void ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(text, caption.empty() ? "<MsgBox>" : caption, MB_OK);
}

MainWindowBlocked::MainWindowBlocked() {
  if (MainWindow && Api.IsWindow(MainWindow)) {
    Api.EnableWindow(MainWindow, FALSE);
    blocked_ = true;
  }
}

MainWindowBlocked::~MainWindowBlocked() {
  if (!blocked_ || !Api.IsWindow(MainWindow)) return;
  Api.EnableWindow(MainWindow, TRUE);
  ReactivateMainWindow();
}
