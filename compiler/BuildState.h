// Process-wide state of the build commands.
#pragma once
#include <atomic>
#include <string>
#include "base/SharedState.h"
#include "compiler/DebugModel.h"

extern DebugModel Debugging;       // the debug session Ctrl+D started (Idle when none runs)
extern std::string BuildInput;     // file handed to the compile tool by the last build; set by BuildCommand

// The check of the document as the user types (ErrorCheck_win.cpp).
extern unsigned EditorChanges;     // counts the editor's text changes; a check's result counts only for the count it was taken at
extern int ErrorLine;              // 1-based line of the first error the last check found; 0 when none
extern std::string ErrorShown;     // its message as the status bar shows it
extern std::atomic<int> ChecksRunning;  // checks started and not yet ended; each check's thread counts itself out
extern bool CheckDue;              // a check waits for a running one to end
extern HWND PauseTimerWindow;      // the window whose pause timer is running; null when none runs
extern unsigned LastChangeTick;    // tick count of the editor's last text change
