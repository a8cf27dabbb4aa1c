// The main-window routine: placement, class "wins", creation and the main message loop, and the
// message boxes and dialogs that commands show over it.
#pragma once
#include <windows.h>
#include <string>

// Steps of RunMainWindow before its loop: places, registers "wins", creates and shows
// MainWindow. Null when the window could not be created (the failure has been reported).
HWND CreateMainWindow(int width, int height, unsigned long style, int placementMode);

// Creates MainWindow with the given size and style at the place the mode gives, shows it and
// runs the message loop until the quit message. Returns false when the window could not be
// created (the failure has been reported).
bool RunMainWindow(int width, int height, unsigned long style, int placementMode);

// The main message loop: until the quit message, turns keys and double-clicks into command
// messages to MainWindow (see KeyTable.h), then dispatches or withholds the message.
void RunMessageLoop();

// A message box with no owner. It is task-modal: while it is up no window of the program takes
// input, so nothing typed or clicked can change the text or the names that the question is
// about. Returns the button pressed, as MessageBoxA does.
int ShowBox(const std::string& text, const std::string& caption, unsigned style);

// A plain information box with no owner; an empty caption shows as "<MsgBox>".
void ShowMessage(const std::string& text, const std::string& caption);

// Keeps MainWindow from taking input while a dialog without an owner (the file dialogs) is up;
// afterwards MainWindow is enabled and active again.
class MainWindowBlocked {
 public:
  MainWindowBlocked();
  MainWindowBlocked(const MainWindowBlocked&) = delete;
  MainWindowBlocked& operator=(const MainWindowBlocked&) = delete;
  ~MainWindowBlocked();

 private:
  bool blocked_ = false;
};
