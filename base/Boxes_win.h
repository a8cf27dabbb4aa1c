// The message boxes that commands show, and the block that keeps MainWindow from taking input
// while a dialog without an owner is up.
#pragma once
#include <windows.h>
#include <string>

// A message box with no owner. It is task-modal: while it is up no window of the program takes
// input, so nothing typed or clicked can change the text or the names that the question is
// about. Afterwards the focus is back where it was. Returns the button pressed, as MessageBoxA
// does.
int ShowBox(const std::string& text, const std::string& caption, unsigned style);

// MainWindow's timer that watches, for a moment after a box or dialog, that the keyboard stays
// with the program; WM_TIMER: true when it was this timer.
constexpr uintptr_t FocusBackTimer = 29;
bool OnFocusBackTimer(uintptr_t timer);

// A plain information box with no owner; an empty caption shows as "<MsgBox>".
void ShowMessage(const std::string& text, const std::string& caption);

// Keeps MainWindow from taking input while a dialog without an owner (the file dialogs) is up;
// afterwards MainWindow is enabled, active and in the foreground again, and the control that
// had the focus has it back.
class MainWindowBlocked {
 public:
  MainWindowBlocked();
  MainWindowBlocked(const MainWindowBlocked&) = delete;
  MainWindowBlocked& operator=(const MainWindowBlocked&) = delete;
  ~MainWindowBlocked();

 private:
  HWND focused_ = nullptr;  // the control that had the focus, which gets it back
  bool blocked_ = false;
};
