// MainWindow's fonts, icon and parts at its display's scale.
#include "shell/Scaling_win.h"
#include <string>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Handles_win.h"
#include "base/Scaling_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/Listing_win.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/ShellState.h"
#include "shell/Toolbar_win.h"

namespace {
const char* const IconFile = "zitronenfalter.ico";
const char* const BoxFontFace = "Lucida console";
constexpr int BoxFontHeight = 13;
constexpr int BoxFontWidth = 9;
constexpr int BoxFontWeight = 400;
constexpr int PlainFontNarrower = 3;  // the plain editor's font is this much narrower than high

GdiObject<HFONT> BoxFont;         // the six finder boxes' font
GdiObject<HFONT> PlainFont;       // the plain editor's font, made only without the editing component
GdiObject<HFONT> CaptionFont;     // the command buttons' captions and the painted line, away from 96 dpi
GdiObject<HFONT> StatusFont;      // status bar and tooltips on a display whose scale is not the system's
GdiObject<HICON, DestroyIconObject> WindowIcon;
}  // namespace

void ApplyStatusFont() {
  if (StatusFont.Get() == nullptr && WindowScale.dpi == SystemDpi()) return;
  if (HFONT font = MakeStatusFont(WindowScale.dpi)) {
    // The controls take the new font before the old one goes.
    ScaleToolbar(font);
    ScaleStatusBar(font);
    StatusFont.Reset(font);
  }
}

void ShowWindowIcon(bool sayWhenMissing) {
  int percent = 100;
  const std::string file = PictureFileFor(IconFile, WindowScale.dpi, percent);
  HICON icon = static_cast<HICON>(Api.LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  if (!icon && !sayWhenMissing) return;  // a new scale's icon that cannot be read: the old one stays
  if (!icon) ShowBox(std::string("Cannot load ") + IconFile + "!", "zor", MB_OK);
  Api.SendMessageA(MainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  WindowIcon.Reset(icon);
}

void MakeScaledFonts() {
  const DisplayScale scale = WindowScale;
  BoxFont.Reset(ApplyFont(FinderBoxes + 1, 6, scale(BoxFontHeight), scale(BoxFontWidth), BoxFontWeight, BoxFontFace));
  if (Editor == nullptr && CurrentEditor != nullptr)
    PlainFont.Reset(ApplyFont(&CurrentEditor, 1, scale(EditorFontSize), scale(EditorFontSize - PlainFontNarrower),
                              BoxFontWeight, EditorFontName));
  CaptionFont.Reset(scale.dpi == BaseDpi ? nullptr : MakeSystemFont(scale));
}

HFONT FaceFont() { return CaptionFont.Get(); }

void ReleaseScaledParts() {
  BoxFont.Reset();
  PlainFont.Reset();
  CaptionFont.Reset();
  StatusFont.Reset();
  WindowIcon.Reset();
}

void ApplyScale(int dpi) {
  WindowScale = ScaleOfDpi(dpi);
  MakeScaledFonts();
  ScaleEditorMargins();
  ScaleListingMargins();
  ScaleToolbar(nullptr);
  ApplyStatusFont();
  ShowWindowIcon(false);
  for (HWND button : CommandButtons) Api.InvalidateRect(button, nullptr, TRUE);
}

void OnDpiChanged(WPARAM wParam, const RECT* suggested) {
  ApplyScale(HIWORD(wParam));
  if (suggested)
    Api.SetWindowPos(MainWindow, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The status bar sits along the bottom edge at the height its font needs.
  ScaleStatusBar(nullptr);
  // A rectangle of the same size as before brings no WM_SIZE: lay out here in any case.
  OnSize();
}
