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

// The ten ToolbarButtons of MainWindow, with the identifiers ToolbarIds holds now, their
// pictures and their tooltips.
void CreateToolbarButtons(HWND window);

// The status bar of MainWindow with its fixed text.
void CreateMainStatusBar(HWND window);
