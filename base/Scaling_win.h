// The display scale of a window and of the system, the fonts that go with a scale, and which of
// the pictures drawn at several scales a display takes.
#pragma once
#include <windows.h>
#include <string>
#include "base/DisplayScale.h"

// Dots per inch of the display the window is on; the system's one scale where the system cannot
// tell the displays apart (before Windows 10) or the window is gone.
int DpiOfWindow(HWND window);
// Dots per inch of the system's scale, as a device context of the screen reports it.
int SystemDpi();

// The System font, which a device context starts with and in which the command buttons'
// captions and dialogs without a font of their own are written, at the scale: at 96 dpi 16
// pixels high and 7 wide, as the platform's own. The caller deletes it.
HFONT MakeSystemFont(DisplayScale scale);
// The font that the status bar and the tooltips take on a display of that dpi (the system's
// status font at that scale); null where the system makes its metrics for its own scale only.
// The caller deletes it.
HFONT MakeStatusFont(int dpi);

// The picture file a display of dpi shows: the one drawn at the nearest scale where it is there,
// else the 100% file itself. percent says which of them it is.
std::string PictureFileFor(const std::string& file, int dpi, int& percent);
