// Program entry: runs the start-up sequence.
#include <windows.h>
#include "shell/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunStartup(); }
