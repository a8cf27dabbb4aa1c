// The welcome dialog shown at every start over its picture, and the routines it is built
// with: the modeless dialog from a template and picture drawing through GDI+.
#pragma once
#include <windows.h>
#include <string>
#include "auxwin/DialogTemplate.h"

constexpr UINT ExitDialogFailed = 1;  // exit code when a needed dialog cannot be created

// text in UTF-16 by the ANSI code page (precomposed), as dialog templates carry it.
std::u16string WidenAnsi(const std::string& text);

// Creates the modeless dialog and releases the template. When the platform cannot create it,
// says so in a box and ends the process with ExitDialogFailed.
HWND CreateModelessFromTemplate(HWND owner, DLGPROC procedure, LPARAM value, DialogTemplate& dialog);

// The picture file decoded by GDI+ (which must be running); null when it cannot be loaded.
void* LoadPicture(const std::wstring& file);
// Frees a picture from LoadPicture; a null picture is left alone.
void FreePicture(void* picture);
// Draws the picture stretched from (0, 0) to the rectangle's right and bottom edges on the
// device context; draws nothing without a picture.
void DrawPicture(HDC dc, void* picture, const RECT& rect);

// The welcome dialog's template: its caption and the centred "Close" button. False when it
// could not be built (said in a box).
bool BuildWelcomeTemplate(DialogTemplate& dialog);

// The message loop of a modeless dialog: its keys (Esc, Enter, Tab) go to the dialog, and the
// loop waits without working until the quit message.
void RunDialogLoop(HWND dialog);

// Builds and shows the welcome dialog, fading it in, and runs its message loop until the
// user closes it. GDI+ must be running.
void RunWelcomeDialog();

// The welcome dialog's procedure: fade-in, picture background (decoded once, drawn only when
// the dialog needs painting), Close, Esc and the close box.
INT_PTR CALLBACK WelcomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
