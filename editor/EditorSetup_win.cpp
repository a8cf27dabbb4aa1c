// Setting up the editor: its lexer, styles, margins and markers.
#include "editor/EditorSetup_win.h"
#include <algorithm>
#include <string>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "editor/Folding_win.h"
#include "editor/ScintillaDoor_win.h"
#include "editor/Completing_win.h"
#include "scilexer/ZorvexStyles.h"

namespace {
using namespace ZorvexStyles;
using Scintilla::MarkerOutline;
using Scintilla::MarkerSymbol;

constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
constexpr int DefaultStyle = static_cast<int>(Scintilla::StylesCommon::Default);
constexpr int LineNumberStyle = static_cast<int>(Scintilla::StylesCommon::LineNumber);
constexpr int LineNumberMargin = 0;
constexpr int LeastLineNumberWidth = 30;
constexpr int SymbolMarginWidth = 16;  // the width a symbol margin has by default

// Fore colours of the lexer's classes.
struct StyleColour { int style; COLORREF colour; };
constexpr StyleColour ClassColours[] = {
    {StyleDefault, Rgb(0, 0, 255)},           {StyleComment, Rgb(0, 120, 32)},
    {StyleLineComment, Rgb(0, 96, 0)},        {StyleDocComment, Rgb(0, 0, 208)},
    {StyleNumber, Rgb(0, 136, 0)},            {StyleKeyword, Rgb(128, 0, 192)},
    {StyleString, Rgb(136, 0, 0)},            {StyleOtherQuote, Rgb(0, 32, 0)},
    {StyleDirectiveComment, Rgb(0, 120, 32)}, {StyleDirectiveDocComment, Rgb(0, 120, 32)},
};

// Every marker that is no fold marker shows in the mark margin: a marker that no margin shows
// would colour its whole line instead.
void ConfigureMarkMargin(const ScintillaDoor& editor) {
  editor.SetMarginTypeN(MarkMargin, Scintilla::MarginType::Symbol);
  editor.SetMarginMaskN(MarkMargin, ~Scintilla::MaskFolders);
  editor.SetMarginWidthN(MarkMargin, WindowScale(SymbolMarginWidth));
  editor.SetMarginSensitiveN(MarkMargin, true);
}

void ConfigureFoldMargin(const ScintillaDoor& editor) {
  editor.SetMarginTypeN(FoldMargin, Scintilla::MarginType::Symbol);
  editor.SetMarginMaskN(FoldMargin, Scintilla::MaskFolders);
  editor.SetMarginWidthN(FoldMargin, WindowScale(SymbolMarginWidth));
  editor.SetMarginSensitiveN(FoldMargin, true);
  DefineFoldMarkers(editor);
  editor.SetAutomaticFold(Scintilla::AutomaticFold::Show | Scintilla::AutomaticFold::Change);
  editor.SetFoldFlags(Scintilla::FoldFlag::LineAfterContracted);
}

// The editor tells the main window of changes to the text only: reporting every fold level
// and style the lexer sets would cost more than colouring and folding a big document. Styles,
// indicators and markers are set with the "performed by the user" flag too, so that flag stays
// out of the mask; an undo or redo of text still comes as an insertion or a deletion.
constexpr Scintilla::ModificationFlags ReportedChanges =
    Scintilla::ModificationFlags::InsertText | Scintilla::ModificationFlags::DeleteText;
}  // namespace

void DefineFoldMarkers(const ScintillaDoor& control) {
  // Boxes with a plus or minus at fold points, joined by lines along the folded blocks.
  struct FoldMarker { MarkerOutline number; MarkerSymbol shape; };
  constexpr FoldMarker FoldMarkers[] = {
      {MarkerOutline::FolderOpen, MarkerSymbol::BoxMinus},        {MarkerOutline::Folder, MarkerSymbol::BoxPlus},
      {MarkerOutline::FolderSub, MarkerSymbol::VLine},            {MarkerOutline::FolderTail, MarkerSymbol::LCorner},
      {MarkerOutline::FolderEnd, MarkerSymbol::BoxPlusConnected}, {MarkerOutline::FolderOpenMid, MarkerSymbol::BoxMinusConnected},
      {MarkerOutline::FolderMidTail, MarkerSymbol::TCorner},
  };
  for (const FoldMarker& m : FoldMarkers) {
    control.MarkerDefine(int(m.number), m.shape);
    control.MarkerSetFore(int(m.number), Rgb(255, 255, 255));
    control.MarkerSetBack(int(m.number), Rgb(128, 128, 128));
  }
}

void ConfigureEditor(HWND control, const std::string& keywords, const std::string& fontName, int fontSize) {
  const ScintillaDoor editor(control);
  editor.SetLexer(ZorvexLexerNumber);
  editor.SetKeyWords(0, keywords);
  SetCompletionKeywords(keywords);
  editor.StyleSetBack(DefaultStyle, Rgb(252, 248, 220));
  for (int style = 0; style <= 31; ++style) {
    editor.StyleSetFont(style, fontName);
    editor.StyleSetSize(style, fontSize);
  }
  editor.SetMarginTypeN(LineNumberMargin, Scintilla::MarginType::Number);
  editor.SetMarginWidthN(LineNumberMargin, WindowScale(LeastLineNumberWidth));
  editor.SetCaretLineBack(Rgb(238, 238, 255));
  editor.SetCaretFore(Rgb(68, 68, 255));
  editor.SetCaretLineVisible(true);
  for (const StyleColour& c : ClassColours) editor.StyleSetFore(c.style, c.colour);
  ConfigureMarkMargin(editor);
  ConfigureFoldMargin(editor);
  editor.SetModEventMask(ReportedChanges);
}

void UpdateLineNumberWidth() {
  if (Editor == nullptr) return;
  const ScintillaDoor editor(Editor);
  const std::string widest = "_" + std::string(std::to_string(editor.LineCount()).size(), '9');
  const int width = std::max(editor.TextWidth(LineNumberStyle, widest), WindowScale(LeastLineNumberWidth));
  if (editor.MarginWidthN(LineNumberMargin) != width) editor.SetMarginWidthN(LineNumberMargin, width);
}

void ScaleEditorMargins() {
  if (Editor == nullptr) return;
  const ScintillaDoor editor(Editor);
  // The system tells the editor of its display's scale only after the main window has taken it:
  // told now, it measures the line numbers at the new scale.
  editor.ParentDpiChanged();
  editor.SetMarginWidthN(MarkMargin, WindowScale(SymbolMarginWidth));
  editor.SetMarginWidthN(FoldMargin, WindowScale(SymbolMarginWidth));
  UpdateLineNumberWidth();
}

void RestoreCaret(HWND control, int pos) {
  const ScintillaDoor editor(control);
  editor.GotoLine(editor.LineFromPosition(pos) + 20);
  editor.GotoPos(pos);
}

void ConfigurePlainEditor(HWND editor, int pos) {
  LiftTextLimit(editor);
  PlaceCaret(editor, size_t(pos));
  Api.SendMessageA(editor, EM_SCROLLCARET, 0, 0);
}
