// The row of ten picture buttons with balloon tooltips, and the status bar.
#pragma once
#include <windows.h>
#include <string>

// A "BUTTON" child with the default GUI font; style 0 means WS_CHILD | WS_VISIBLE.
HWND CreateButton(HWND parent, int x, int y, int width, int height, const std::string& caption, DWORD style, int id);

// A tooltip for the tool window with one tool (the tool window itself) showing text.
HWND CreateTooltip(HWND tool, const std::string& text, int balloon, int centre);
void SetTooltipTitle(HWND tip, int icon, const std::string& title);
void SetTooltipMaxWidth(HWND tip, int width);
void SetTooltipTextColour(HWND tip, COLORREF colour);
void SetTooltipBackColour(HWND tip, COLORREF colour);

// A status bar along the bottom of parent; style 0 means the default status bar style.
HWND CreateStatusBar(HWND parent, const std::string& text, DWORD style, DWORD exStyle);

// The ten toolbar pictures for a display of dpi, each drawn at the scale nearest to it (the
// 100% picture where that one is missing), into ToolbarPictures and the buttons that exist;
// the pictures they replace are deleted.
void LoadToolbarPictures(int dpi);

// The ten ToolbarButtons of MainWindow at the window's scale, with the identifiers ToolbarIds
// holds now, their pictures and their tooltips.
void CreateToolbarButtons(HWND window);
// The picture buttons' places and sizes, their tooltips' width and pictures at the window's
// scale; the tooltips take tipFont unless it is null.
void ScaleToolbar(HFONT tipFont);

// The status bar of MainWindow with its fixed text.
void CreateMainStatusBar(HWND window);
// The status bar takes font unless it is null, and its height and place along the bottom edge again.
void ScaleStatusBar(HFONT font);
