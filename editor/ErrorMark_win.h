// The mark of a source's first error in the editor: a wavy underline under the error's line
// and a sign in the symbol margin beside it. The sign moves with the line as text is edited.
#pragma once
#include <windows.h>

// Marks the 1-based line, taking the mark off any other line.
void ShowErrorMark(HWND editor, int line);
// Takes the mark off.
void ClearErrorMark(HWND editor);
// The 1-based line that carries the mark now, 0 when none does.
int ErrorMarkLine(HWND editor);
// Whether the 1-based line carries the mark now (as the mark moves with its line's edits).
bool ErrorMarkOn(HWND editor, int line);
