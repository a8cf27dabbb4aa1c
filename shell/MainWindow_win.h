// The main-window routine: placement, class "wins", creation and the main message loop.
#pragma once
#include <windows.h>

// The program's instance handle as the main-window routine keeps it in GuiState slots 2 and 4
// (see GuiSlots.h); null before the main window is created.
HINSTANCE ProgramInstance();

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
