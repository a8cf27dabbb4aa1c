// The program's own window messages, each posted to MainWindow by a piece of work that ends
// later than the message that started it, all numbered from WM_APP in this one place.
#pragma once
#include <windows.h>

// A check of the document as the user types has ended (lParam: its result, which the handler
// takes over).
constexpr UINT ErrorCheckedMessage = WM_APP + 28;
// The IDE became the active program again: the document's file is looked at.
constexpr UINT OutsideCheckMessage = WM_APP + 29;
// Find in files has found lines, has got further or has ended (wParam: the search's number,
// lParam: its news, which the handler takes over).
constexpr UINT SearchNewsMessage = WM_APP + 30;
// A run or compile that F5 started has ended (lParam: the run, which the handler takes over).
constexpr UINT RunEndedMessage = WM_APP + 31;
// The debugger's pipe has brought something (lParam: what arrived, which the handler takes over).
constexpr UINT DebugArrivedMessage = WM_APP + 32;
