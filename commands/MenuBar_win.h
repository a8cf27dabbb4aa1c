// The menu bar: five fixed menus and a Project menu read from the project text.
#pragma once
#include <windows.h>

// Makes a new bar with every popup and fills ProjectCommands; it is not attached yet.
void BuildMenuBar();
// Destroys the current bar, builds a new one, attaches it to window and sets its check marks.
void RebuildMenuBar(HWND window);
// The check marks of the output kind (3024, 3025), 3026 and 3005 from their flags.
void RefreshCheckMarks();
// Takes ProjectText again from the ProjectBox and rebuilds the menu bar from it, when the box
// holds any text.
void RebuildMenuIfProjectText();
