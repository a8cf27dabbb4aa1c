// Errors shown as the user types: half a second after the last change, and after a document is
// loaded, the compiler library checks a copy of the editor text on a worker thread; its first
// error is marked in the editor, and the status bar names it when it has nothing else to say.
#pragma once
#include <cstdint>

// The main window's timer of the pause after typing. A check's result comes back to the main
// window as ErrorCheckedMessage (base/AppMessages_win.h).
constexpr uintptr_t ErrorCheckTimer = 28;

// The editor's text changed: the pause starts again.
void NoteEditorChange();
// WM_TIMER: true when it was the check's timer, which then starts a check.
bool OnErrorCheckTimer(uintptr_t timer);
// ErrorCheckedMessage: marks the result's error when the text is still the one checked.
void OnErrorChecked(intptr_t result);
// The caret may have moved or lines above the error: the status bar names the marked error
// whenever no action's message stands (on its line as it reads there, elsewhere with the key
// that goes to it), and a message about a place the caret left goes.
void ShowErrorAtCaret();
// Ctrl+F6: the caret to the marked error's line.
void GoToErrorLine();
// A check is on its way; the process should then end without waiting for it.
bool ErrorCheckRunning();
