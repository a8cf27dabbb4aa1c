// The WM_COMMAND branch of MainWindow: carries out the dispatcher's plan for one command
// message, and the pending action that follows every handled message.
#pragma once
#include <windows.h>
#include "base/Outcome.h"

// Runs one command message (wParam: identifier and notification code, lParam: the window it
// concerns) through its three stages. Stop when a cancelled save prompt abandoned the
// command; the window procedure then returns at once and leaves the pending action alone.
Outcome DispatchCommand(WPARAM wParam, LPARAM lParam);

// After a handled message: a requested relayout sends WM_SIZE (0, 0) to MainWindow.
void RunPendingAction();
