// The window procedure of MainWindow (class "wins").
#pragma once
#include <windows.h>
#include <functional>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs one message's handler so that no C++ exception leaves the window procedure: running out
// of memory is reported in a box ("Not enough memory to ..."), any other failure likewise, and
// a failed WM_CREATE gives -1 so that the window is not created with controls missing.
LRESULT RunGuarded(UINT message, const std::function<LRESULT()>& handler);
