// Program entry: runs the start-up sequence, which ends the process.
#include <windows.h>
#include "shell/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunStartup(); }
