// Editor set-up (declared in EditorSetup_win.h).
#include "editor/EditorSetup_win.h"
#include <string>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/Folding_win.h"
#include "editor/SciMessages.h"
#include "editor/Completing_win.h"
#include "scilexer/ZorvexStyles.h"

namespace {
using namespace ZorvexStyles;

constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int DefaultStyle = 32;
constexpr int LineNumberMargin = 0;
constexpr int LeastLineNumberWidth = 30;
constexpr int SymbolMarginWidth = 16;  // the width a symbol margin has by default
constexpr UINT DpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT of Windows 10

LRESULT Sci(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  return Api.SendMessageA(editor, message, wParam, lParam);
}

// Fore colours of the lexer's classes.
struct StyleColour { int style; COLORREF colour; };
constexpr StyleColour ClassColours[] = {
    {StyleDefault, Rgb(0, 0, 255)},           {StyleComment, Rgb(0, 120, 32)},
    {StyleLineComment, Rgb(0, 96, 0)},        {StyleDocComment, Rgb(0, 0, 208)},
    {StyleNumber, Rgb(0, 136, 0)},            {StyleKeyword, Rgb(128, 0, 192)},
    {StyleString, Rgb(136, 0, 0)},            {StyleOtherQuote, Rgb(0, 32, 0)},
    {StyleDirectiveComment, Rgb(0, 120, 32)}, {StyleDirectiveDocComment, Rgb(0, 120, 32)},
};

// Boxes with a plus or minus at fold points, joined by lines along the folded blocks.
struct FoldMarker { int number; int shape; };
constexpr FoldMarker FoldMarkers[] = {
    {SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS},        {SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS},
    {SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE},            {SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER},
    {SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED}, {SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED},
    {SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER},
};

// Every marker that is no fold marker shows in the mark margin: a marker that no margin shows
// would colour its whole line instead.
void ConfigureMarkMargin(HWND editor) {
  Sci(editor, SCI_SETMARGINTYPEN, MarkMargin, SC_MARGIN_SYMBOL);
  Sci(editor, SCI_SETMARGINMASKN, MarkMargin, static_cast<LPARAM>(~SC_MASK_FOLDERS));
  Sci(editor, SCI_SETMARGINWIDTHN, MarkMargin, WindowScale(SymbolMarginWidth));
  Sci(editor, SCI_SETMARGINSENSITIVEN, MarkMargin, 1);
}

void ConfigureFoldMargin(HWND editor) {
  Sci(editor, SCI_SETMARGINTYPEN, FoldMargin, SC_MARGIN_SYMBOL);
  Sci(editor, SCI_SETMARGINMASKN, FoldMargin, static_cast<LPARAM>(SC_MASK_FOLDERS));
  Sci(editor, SCI_SETMARGINWIDTHN, FoldMargin, WindowScale(SymbolMarginWidth));
  Sci(editor, SCI_SETMARGINSENSITIVEN, FoldMargin, 1);
  for (const FoldMarker& m : FoldMarkers) {
    Sci(editor, SCI_MARKERDEFINE, m.number, m.shape);
    Sci(editor, SCI_MARKERSETFORE, m.number, Rgb(255, 255, 255));
    Sci(editor, SCI_MARKERSETBACK, m.number, Rgb(128, 128, 128));
  }
  Sci(editor, SCI_SETAUTOMATICFOLD, SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CHANGE, 0);
  Sci(editor, SCI_SETFOLDFLAGS, SC_FOLDFLAG_LINEAFTER_CONTRACTED, 0);
}

// The editor tells the main window of changes to the text only: reporting every fold level
// and style the lexer sets would cost more than colouring and folding a big document. Styles,
// indicators and markers are set with the "performed by the user" flag too, so that flag stays
// out of the mask; an undo or redo of text still comes as an insertion or a deletion.
constexpr int ReportedChanges = SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;
}  // namespace

void ConfigureEditor(HWND editor, const std::string& keywords, const std::string& fontName, int fontSize) {
  Sci(editor, SCI_SETLEXER, ZorvexLexerNumber, 0);
  Sci(editor, SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(keywords.c_str()));
  SetCompletionKeywords(keywords);
  Sci(editor, SCI_STYLESETBACK, DefaultStyle, Rgb(252, 248, 220));
  for (int style = 0; style <= 31; ++style) {
    Sci(editor, SCI_STYLESETFONT, style, reinterpret_cast<LPARAM>(fontName.c_str()));
    Sci(editor, SCI_STYLESETSIZE, style, fontSize);
  }
  Sci(editor, SCI_SETMARGINTYPEN, LineNumberMargin, SC_MARGIN_NUMBER);
  Sci(editor, SCI_SETMARGINWIDTHN, LineNumberMargin, WindowScale(LeastLineNumberWidth));
  Sci(editor, SCI_SETCARETLINEBACK, Rgb(238, 238, 255), 0);
  Sci(editor, SCI_SETCARETFORE, Rgb(68, 68, 255), 0);
  Sci(editor, SCI_SETCARETLINEVISIBLE, 1, 0);
  for (const StyleColour& c : ClassColours) Sci(editor, SCI_STYLESETFORE, c.style, c.colour);
  ConfigureMarkMargin(editor);
  ConfigureFoldMargin(editor);
  Sci(editor, SCI_SETMODEVENTMASK, ReportedChanges, 0);
}

void UpdateLineNumberWidth() {
  if (Editor == nullptr) return;
  const LRESULT lines = Sci(Editor, SCI_GETLINECOUNT, 0, 0);
  const std::string widest = "_" + std::string(std::to_string(lines).size(), '9');
  LRESULT width = Sci(Editor, SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>(widest.c_str()));
  const int least = WindowScale(LeastLineNumberWidth);
  if (width < least) width = least;
  if (Sci(Editor, SCI_GETMARGINWIDTHN, LineNumberMargin, 0) != width) {
    Sci(Editor, SCI_SETMARGINWIDTHN, LineNumberMargin, width);
  }
}

void ScaleEditorMargins() {
  if (Editor == nullptr) return;
  // The system tells the editor of its display's scale only after the main window has taken it:
  // told now, it measures the line numbers at the new scale.
  Sci(Editor, DpiChangedAfterParent, 0, 0);
  Sci(Editor, SCI_SETMARGINWIDTHN, MarkMargin, WindowScale(SymbolMarginWidth));
  Sci(Editor, SCI_SETMARGINWIDTHN, FoldMargin, WindowScale(SymbolMarginWidth));
  UpdateLineNumberWidth();
}

void RestoreCaret(HWND editor, int pos) {
  LRESULT line = Sci(editor, SCI_LINEFROMPOSITION, pos, 0);
  Sci(editor, SCI_GOTOLINE, line + 20, 0);
  Sci(editor, SCI_GOTOPOS, pos, 0);
}

void ConfigurePlainEditor(HWND editor, int pos) {
  Api.SendMessageA(editor, EM_SETLIMITTEXT, 0, 0);
  Api.SendMessageA(editor, EM_SETSEL, pos, pos);
  Api.SendMessageA(editor, EM_SCROLLCARET, 0, 0);
}
