// Test helper: asks for a dialog the platform cannot create (its one control has a class that
// does not exist) and answers the box that follows. The dialog routine then ends the process;
// returning from main at all means it did not.
#include <windows.h>
#include "DialogAnswer.h"
#include "auxwin/Welcome_win.h"
#include "base/Bindings_win.h"

namespace {
INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

int main() {
  if (!BindLibraries().empty()) return 2;
  DialogTemplate dialog;
  BeginDialogTemplate(dialog, 0, 0, 100, 50, "broken", WS_POPUP, 0, "", 0, WidenAnsi);
  AddDialogControl(dialog, "x", 1, "NoSuchZorvexClass", 0, 0, 0, 10, 10, 0, 0);
  DialogAnswer answer({Press(IDOK)});
  CreateModelessFromTemplate(nullptr, NoHandling, 0, dialog);
  return 3;
}
