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

// The other program's window may also be activated a while after the box has gone: under Wine
// the program's console takes the keyboard when its own process gets round to it, which on a
// busy machine can take long. Until the user presses a key or clicks, an activation that the
// user did not cause is undone: of any other program in the first moments, of the console for
// a few seconds. In the first moments the focus is also set again where it already is, which
// hands back the display's keyboard should the console have taken it without the foreground.
constexpr UINT FocusBackPeriodMs = 100;
constexpr int FocusBackPeriods = 30;  // how long the console's activation is undone
constexpr int FocusAgainPeriods = 6;  // how long any program's is, and the focus set again
HWND FocusBackTo = nullptr;           // the control that had the focus before the last box
int FocusBackLeft = 0;                // periods left to watch
DWORD FocusBackSince = 0;             // when the box went (GetTickCount)

void WatchFocusBack(HWND focused) {
  if (!MainWindow || !Api.IsWindow(MainWindow)) return;
  FocusBackTo = focused;
  FocusBackLeft = FocusBackPeriods;
  FocusBackSince = Api.GetTickCount();
  Api.SetTimer(MainWindow, FocusBackTimer, FocusBackPeriodMs, nullptr);
}

void FocusBackAfterBox(HWND focused) {
  GiveBackFocus(focused);
  WatchFocusBack(focused);
}

// Whether the user pressed or released a key or clicked after the first moments since the box
// went (the release of the key that closed it comes in those): what is active then is theirs.
bool UserActedLater() {
  LASTINPUTINFO input = {sizeof input, 0};
  return Api.GetLastInputInfo(&input) && int(input.dwTime - FocusBackSince) > int(FocusAgainPeriods * FocusBackPeriodMs);
}

// Whether another program has the keyboard: no window of this thread is active, or the
// foreground window is none or another thread's.
bool AnotherProgramHasKeyboard() {
  HWND foreground = Api.GetForegroundWindow();
  return Api.GetActiveWindow() == nullptr || foreground == nullptr ||
         Api.GetWindowThreadProcessId(foreground, nullptr) != Api.GetCurrentThreadId();
}

bool ConsoleHasKeyboard() {
  HWND foreground = Api.GetForegroundWindow();
  return foreground != nullptr && foreground == Api.GetConsoleWindow();
}
}  // namespace

bool OnFocusBackTimer(uintptr_t timer) {
  if (timer != FocusBackTimer) return false;
  const bool early = --FocusBackLeft >= FocusBackPeriods - FocusAgainPeriods;
  if (FocusBackLeft <= 0 || (!early && UserActedLater())) {
    Api.KillTimer(MainWindow, FocusBackTimer);
    FocusBackLeft = 0;
    return true;
  }
  // A dialog of the IDE's own may be up meanwhile; a control the user chose keeps the focus.
  if (!Api.IsWindowEnabled(MainWindow)) return true;
  const bool taken = early ? AnotherProgramHasKeyboard() || Api.GetFocus() == FocusBackTo : ConsoleHasKeyboard();
  if (taken) GiveBackFocus(FocusBackTo);
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
