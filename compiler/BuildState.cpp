// Definitions of the build commands' state.
#include "compiler/BuildState.h"

DebugModel Debugging;
std::string BuildInput;
unsigned EditorChanges = 0;
int ErrorLine = 0;
std::string ErrorShown;
std::atomic<int> ChecksRunning = 0;
bool CheckDue = false;
HWND PauseTimerWindow = nullptr;
unsigned LastChangeTick = 0;
