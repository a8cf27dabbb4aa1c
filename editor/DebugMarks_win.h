// The debugger's marks in the editor: breakpoints (a red dot in the mark margin, which moves
// with its line; kept per file while the IDE runs, as bookmarks are) and the line the program
// stopped at (an arrow in the mark margin and a coloured line background).
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "editor/Marks_win.h"

// The markers' look.
void ConfigureDebugMarks(HWND editor);
// Sets or clears the breakpoint of the 1-based line.
void ToggleBreakpoint(int line);
// The current document's breakpoint lines, 1-based, ascending.
std::vector<int> BreakpointLines();
// Keeps the current document's breakpoints under key before another document takes the editor.
void KeepBreakpoints(const std::string& key);
// Puts back the breakpoints kept under key; an empty key clears them. The stopped line's marks
// stand only in the document the program stopped in: they go with the document left and come
// back with that one, however it is opened again.
void RestoreBreakpoints(const std::string& key);
// The breakpoints kept for each document left, with the current document's under currentKey.
std::vector<KeptMarks> AllBreakpoints(const std::string& currentKey);
// The name at the 0-based position of the editor's text; "" when no name stands there.
std::string NameAtPosition(size_t position);
// A tip at the position with a name's value while the mouse rests there; hidden again when it
// moves on (only a tip shown here: a parameter hint stays).
void ShowValueTip(size_t position, const std::string& text);
void HideValueTip();
// The listing panel paints around the windows above it (the KeywordBox during a session).
void ClipPanelToBoxesAbove();
// Keeps where the program stopped: the key of that document and the 1-based line (the last
// stop while it runs on, as its arrow stays); line 0 once it ended.
void KeepStop(const std::string& key, int line);
// Marks the 1-based line as the one the program stopped at, the caret there and the line in
// view; 0 takes the mark away.
void ShowStoppedLine(int line);
