// MainWindow's painting and colour messages: the command buttons' faces, the background,
// the painted line, the finder boxes' colours and the mouse-move record.
#pragma once
#include <windows.h>

// WM_DRAWITEM: a command button's face in its colours, its caption centred and clipped, a
// sunken edge while pressed. Other identifiers and empty items draw nothing.
void OnDrawItem(WPARAM id, const DRAWITEMSTRUCT* item);

// WM_ERASEBKGND: fills the client area with the window colour; returns 1.
LRESULT OnEraseBackground(HWND window, HDC dc);

// WM_PAINT: the line of red-on-yellow text in the middle of the client area.
void OnPaint(HWND window);

// WM_CTLCOLOREDIT: red text on the boxes' colour; returns the brush of that colour, without
// which the system would repaint the box in its default colours.
LRESULT OnCtlColorEdit(HDC dc);

// WM_MOUSEMOVE: the low and high words of wParam into GuiState slots 12 and 14.
void OnMouseMove(WPARAM wParam);

// Deletes the brush behind the finder boxes; called when MainWindow is destroyed.
void ReleasePaintBrushes();
