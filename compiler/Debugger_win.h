// The debugger in the IDE: Ctrl+D runs the source F5 runs under the compile tool's debugger
// (zor5.exe -debug <pipe> <source>) in the IDE's console; a thread of its own reads the named
// pipe and posts what it reads to the main window, whose thread never waits on the pipe. The
// keys of a session, the stopped line, the listing panel's variables and call stack and the
// KeywordBox's commands go through here; the session's logic is DebugModel's.
#pragma once
#include <windows.h>
#include <string>
#include "base/AppMessages_win.h"

// A key-down (WM_KEYDOWN or WM_SYSKEYDOWN) of the main loop that the debugger takes: true when it
// was carried out and must not reach its window. Outside a session only Ctrl+B and Ctrl+D.
bool DebugTakesKey(unsigned message, unsigned key);
// What the pipe's thread posted.
void OnDebugArrived(LPARAM lParam);
// A double-click in the listing panel while it shows a stopped program: the frame of the call
// stack at its caret shows its line and variables. False when the panel shows something else.
bool DebugPanelJump();
// Enter in the KeywordBox while the program is stopped: the text is the debugger's command
// ("? expression", "let place = expression", "watch place", "when condition", "unwatch"); while
// it runs, told how to stop it. False outside a session.
bool DebugBoxCommand(const std::string& text);
// The mouse rests on the editor's text at position while the program is stopped: the name
// there, when it has a value, shows it in a tip.
void DebugHover(size_t position);
// The side panel covers the KeywordBox's place: during a session the box stands over the
// panel (whose first three lines the session's text leaves empty for it), so that commands can be
// typed there while the panel shows the program's variables.
bool DebugKeywordBoxOnTop();
// The IDE closes: a program still running under the debugger is ended.
void EndDebugSession();
