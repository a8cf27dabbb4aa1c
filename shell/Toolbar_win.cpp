// Picture buttons, tooltips and the status bar.
#include "shell/Toolbar_win.h"
#include <commctrl.h>
#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "base/Scaling_win.h"
#include "base/SharedState.h"
#include "base/StatusBar_win.h"
#include "commands/CommandState.h"
#include "editor/CodePage_win.h"
#include "shell/MainWindow_win.h"
#include "shell/ShellState.h"
#include "shell/StartupText.h"

namespace {
constexpr DWORD PlainChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD PictureButton = WS_CHILD | WS_VISIBLE | BS_BITMAP;                             // 0x50000080
constexpr DWORD StatusBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_SIZEGRIP;   // 0x54000100
constexpr int ButtonSide = 30;
constexpr int ButtonTop = 4;
constexpr int TipWidth = 20;  // narrow enough that the text wraps after every word
constexpr COLORREF TipText = RGB(250, 150, 0);
constexpr COLORREF TipBack = RGB(255, 255, 255);
const char* const StatusText = "Compiler ZorvexBasic 2017-24";
// The tool structure the tooltips expect (common controls 6, with its reserved pointer): 48
// bytes in the 32-bit program, 72 in the 64-bit one, whose handles and pointers are 8 bytes.
static_assert(sizeof(TOOLINFOA) == (sizeof(void*) == 8 ? 72 : 48), "the tool structure the tooltips expect");

struct ToolbarButton {
  int x;
  const char* tip;    // tooltip text
  const char* title;  // tooltip title, shown with the information icon
};

// In button order; the identifiers come from ToolbarIds and the pictures from ToolbarPictures.
constexpr ToolbarButton Buttons[10] = {
    {4, "This is a button", "New File"}, {38, "Open File", "Open File"}, {74, "Save File", "Save File as.."},
    {110, "Find", "Find"},               {146, "Run", "Run"},            {186, "Compile", "Compile"},
    {222, "Help", "Help"},               {258, "About", "About"},        {294, "FindEditor", "FindEditor"},
    {334, "Codefinder", "Codefinder"},
};

HWND ToolbarTips[10] = {};  // each picture button's tooltip, in toolbar order
int PicturesScale = 0;       // the scale (percent) the pictures were loaded for; 0 before

// The pictures for the window's scale, loaded again when they were loaded for another.
void ShowToolbarPictures() {
  if (PicturesScale != NearestPictureScale(WindowScale.dpi)) LoadToolbarPictures(WindowScale.dpi);
}
}  // namespace

HWND CreateButton(HWND parent, int x, int y, int width, int height, const std::string& caption, DWORD style, int id) {
  HWND button = Api.CreateWindowExA(0, "BUTTON", caption.c_str(), style ? style : PlainChild, x, y, width, height,
                                    parent, reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, nullptr);
  Api.SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(Api.GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  Api.UpdateWindow(parent);
  return button;
}

HWND CreateTooltip(HWND tool, const std::string& text, int balloon, int centre) {
  DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
  HWND tip = Api.CreateWindowExA(0, "tooltips_class32", "", style, 0, 0, 0, 0, tool, nullptr, ProgramInstance(), nullptr);
  std::string shown = text;  // the tool structure wants a writable text; the tooltip copies it
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS | (centre ? TTF_CENTERTIP : 0);
  info.hwnd = Api.GetParent(tip);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = shown.data();
  Api.SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  return tip;
}

void SetTooltipTitle(HWND tip, int icon, const std::string& title) {
  Api.SendMessageA(tip, TTM_SETTITLEA, WPARAM(icon), reinterpret_cast<LPARAM>(title.c_str()));
}

void SetTooltipMaxWidth(HWND tip, int width) { Api.SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, width); }
void SetTooltipTextColour(HWND tip, COLORREF colour) { Api.SendMessageA(tip, TTM_SETTIPTEXTCOLOR, colour, 0); }
void SetTooltipBackColour(HWND tip, COLORREF colour) { Api.SendMessageA(tip, TTM_SETTIPBKCOLOR, colour, 0); }

HWND CreateStatusBar(HWND parent, const std::string& text, DWORD style, DWORD exStyle) {
  return Api.CreateWindowExA(exStyle, "msctls_statusbar32", text.c_str(), style ? style : StatusBarStyle, 0, 0, 0, 0,
                             parent, nullptr, nullptr, nullptr);
}

void LoadToolbarPictures(int dpi) {
  PicturesScale = NearestPictureScale(dpi);
  for (int i = 0; i < 10; ++i) {
    int percent = 100;
    const std::string file = PictureFileFor(ToolbarPictureFiles[i], dpi, percent);
    const int side = PictureSide(ButtonSide, percent);
    // The old picture goes once the button shows the new one.
    GdiObject<HBITMAP> old(ToolbarPictures[i]);
    ToolbarPictures[i] = static_cast<HBITMAP>(Api.LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, side, side, LR_LOADFROMFILE));
    if (ToolbarButtons[i])
      Api.SendMessageA(ToolbarButtons[i], BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(ToolbarPictures[i]));
  }
}

void CreateToolbarButtons(HWND window) {
  const DisplayScale scale = WindowScale;
  ShowToolbarPictures();
  for (int i = 0; i < 10; ++i) {
    const ToolbarButton& b = Buttons[i];
    HWND button = CreateButton(window, scale(b.x), scale(ButtonTop), scale(ButtonSide), scale(ButtonSide), "<<",
                               PictureButton, ToolbarIds[i]);
    ToolbarButtons[i] = button;
    // The balloon flag is the identifier, never 0: every tip is a balloon.
    HWND tip = CreateTooltip(button, b.tip, ToolbarIds[i], 0);
    ToolbarTips[i] = tip;
    SetTooltipTitle(tip, TTI_INFO, b.title);
    SetTooltipMaxWidth(tip, scale(TipWidth));
    SetTooltipTextColour(tip, TipText);
    SetTooltipBackColour(tip, TipBack);
    Api.SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(ToolbarPictures[i]));
  }
}

void ScaleToolbar(HFONT tipFont) {
  const DisplayScale scale = WindowScale;
  for (int i = 0; i < 10; ++i) {
    if (ToolbarButtons[i] == nullptr) continue;
    Api.MoveWindow(ToolbarButtons[i], scale(Buttons[i].x), scale(ButtonTop), scale(ButtonSide), scale(ButtonSide), TRUE);
    SetTooltipMaxWidth(ToolbarTips[i], scale(TipWidth));
    if (tipFont) Api.SendMessageA(ToolbarTips[i], WM_SETFONT, reinterpret_cast<WPARAM>(tipFont), FALSE);
  }
  ShowToolbarPictures();
}

// A document opened while the window was made (from the command line) is told of here.
void CreateMainStatusBar(HWND window) {
  StatusBar = CreateStatusBar(window, StatusText, 0, 0);
  SetIdleStatus(StatusText);
  PlaceEncodingPart();
}

void ScaleStatusBar(HFONT font) {
  if (StatusBar == nullptr) return;
  if (font) Api.SendMessageA(StatusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A status bar takes its height from its font and its place from its parent as it is sized.
  Api.SendMessageA(StatusBar, WM_SIZE, 0, 0);
  PlaceEncodingPart();
}
