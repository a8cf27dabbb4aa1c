// Stand-in for the Zorvex Basic compiler library: the two exports the IDE binds by name.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI zor_trend(int) { return 0; }

extern "C" __declspec(dllexport) int WINAPI zor_basis(const char*) { return 0; }
