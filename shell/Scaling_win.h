// MainWindow at the scale of its display: the fonts the shell makes for it, its icon, and taking
// a new scale when the window moves to a display of another one.
#pragma once
#include <windows.h>

// The window's icon, drawn at the scale nearest to the window's; at creation a missing icon is
// said in a box ("Cannot load zitronenfalter.ico!").
void ShowWindowIcon(bool sayWhenMissing);
// The fonts of the finder boxes (and of the plain editor without the editing component) and of
// the command buttons' captions at the window's scale; the controls take the new fonts before
// the old ones are deleted.
void MakeScaledFonts();
// The font of the command buttons' captions and the painted line; null at 96 dpi, where they
// are written in the font their device context starts with.
HFONT FaceFont();
// Deletes the fonts and the icon made for the window; when it is destroyed.
void ReleaseScaledParts();

// The status bar and the tooltips take the system's font, made for the system's scale: on a
// display of another scale they are given that scale's font (and once given one, they are given
// one at every change of scale).
void ApplyStatusFont();

// Takes dpi as the window's scale and makes every part that depends on it again at that scale:
// the fonts, the editor's and the listing's margins, the toolbar with its pictures and tooltips,
// the status bar and the icon. The caller lays the window out again.
void ApplyScale(int dpi);
// WM_DPICHANGED: the window takes the new scale and the rectangle the system suggests for it,
// and lays itself out again.
void OnDpiChanged(WPARAM wParam, const RECT* suggested);
