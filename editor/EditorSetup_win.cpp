// Editor set-up (declared in EditorSetup_win.h).
#include "editor/EditorSetup_win.h"
#include "base/Bindings_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/SciMessages.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int StyleDefault = 32;
constexpr int ZorvexLexer = 200;

LRESULT Sci(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  return Api.SendMessageA(editor, message, wParam, lParam);
}

// Fore colours of the lexer's classes: text, block/line/doc comments, number, keyword,
// strings, and the comments of a directive line.
struct StyleColour { int style; COLORREF colour; };
constexpr StyleColour ClassColours[] = {
    {0, Rgb(0, 0, 255)},   {1, Rgb(0, 120, 32)},  {2, Rgb(0, 96, 0)},   {3, Rgb(0, 0, 208)},
    {4, Rgb(0, 136, 0)},   {5, Rgb(128, 0, 192)}, {6, Rgb(136, 0, 0)},  {7, Rgb(0, 32, 0)},
    {23, Rgb(0, 120, 32)}, {24, Rgb(0, 120, 32)},
};
}  // namespace

void ConfigureEditor(HWND editor, const std::string& keywords, const std::string& fontName, int fontSize) {
  Sci(editor, SCI_SETLEXER, ZorvexLexer, 0);
  Sci(editor, SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(keywords.c_str()));
  Sci(editor, SCI_STYLESETBACK, StyleDefault, Rgb(252, 248, 220));
  for (int style = 0; style <= 31; ++style) {
    Sci(editor, SCI_STYLESETFONT, style, reinterpret_cast<LPARAM>(fontName.c_str()));
    Sci(editor, SCI_STYLESETSIZE, style, fontSize);
  }
  Sci(editor, SCI_SETMARGINTYPEN, 0, SC_MARGIN_NUMBER);
  Sci(editor, SCI_SETMARGINWIDTHN, 0, 30);
  Sci(editor, SCI_SETCARETLINEBACK, Rgb(238, 238, 255), 0);
  Sci(editor, SCI_SETCARETFORE, Rgb(68, 68, 255), 0);
  Sci(editor, SCI_SETCARETLINEVISIBLE, 1, 0);
  for (const StyleColour& c : ClassColours) Sci(editor, SCI_STYLESETFORE, c.style, c.colour);
}

void RestoreCaret(HWND editor, int pos) {
  LRESULT line = Sci(editor, SCI_LINEFROMPOSITION, pos, 0);
  Sci(editor, SCI_GOTOLINE, line + 20, 0);
  Sci(editor, SCI_GOTOPOS, pos, 0);
}

HFONT ConfigurePlainEditor(HWND editor, const std::string& fontName, int fontSize, int pos) {
  HFONT font = ApplyFont(&editor, 1, fontSize, fontSize - 3, 400, fontName);
  Api.SendMessageA(editor, EM_SETLIMITTEXT, 0, 0);
  Api.SendMessageA(editor, EM_SETSEL, pos, pos);
  Api.SendMessageA(editor, EM_SCROLLCARET, 0, 0);
  return font;
}
