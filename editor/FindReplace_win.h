// Find and replace in the editor with the FindBox and the ReplaceBox.
#pragma once
#include <windows.h>

// Find flags: the CommandModifier of the command.
constexpr int FindBackward = 1;       // Shift: search towards the start
constexpr int FindTakeSelection = 2;  // Ctrl: take the selected text into the boxes instead

// One find step from the editor's selection: with a replacement box, an occurrence that the
// selection starts at is replaced first; then the next occurrence is selected and shown.
// Returns its 1-based position, 0 when nothing was found or the search text is empty, or -1
// after taking the selection into the boxes.
int FindStep(HWND editor, HWND searchBox, int flags, HWND replaceBox);
// Replaces every occurrence that begins inside the editor's selection, as one undo step.
// -1 after replacing, 0 when nothing was done.
int ReplaceInSelection(HWND editor, HWND searchBox, HWND replaceBox);
