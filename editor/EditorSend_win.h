// Inside the editor folder only: a message to the Editor or to a box, chosen by the target.
// Every other folder reads and writes the controls through the operations of EditorAccess_win.h.
#pragma once
#include <windows.h>

// Sends sciMessage when control is the Editor, boxMessage otherwise; a chosen message of 0
// sends nothing and gives 0.
LRESULT EditorSend(HWND control, UINT boxMessage, UINT sciMessage, WPARAM wParam, LPARAM lParam);
