// The one door to a Scintilla control: its messages as typed operations, named as Scintilla's
// own C++ interface (ScintillaCall) names them, with the numbers, types and structures of
// Scintilla's own headers. The Editor and the listing panel are each reached through one; only
// editor/ includes this file (dev/floors says so), the other floors use editor/'s operations.
// A door to no control (null) answers every question with 0 and does nothing.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <string_view>
#include "ScintillaTypes.h"
#include "ScintillaMessages.h"
#include "ScintillaStructures.h"

namespace Scintilla {
// Combinations of flags Scintilla's header leaves to its callers.
constexpr AutomaticFold operator|(AutomaticFold a, AutomaticFold b) {
  return static_cast<AutomaticFold>(static_cast<int>(a) | static_cast<int>(b));
}
constexpr FoldAction operator|(FoldAction a, FoldAction b) {
  return static_cast<FoldAction>(static_cast<int>(a) | static_cast<int>(b));
}
}  // namespace Scintilla

class ScintillaDoor {
 public:
  using Position = Scintilla::Position;
  using Line = Scintilla::Line;
  using Colour = Scintilla::Colour;
  using Message = Scintilla::Message;

  // Messages go to the control as window messages.
  explicit ScintillaDoor(HWND control = nullptr) : window_(control) {}
  // Messages go through the control's direct entry: the editing aids ask many small questions
  // per key, and a window message costs some hundred times as much. Ask anew for each
  // operation, so a control made anew is never reached through an old one's entry.
  static ScintillaDoor Direct(HWND control);

  HWND Window() const { return window_; }
  bool Exists() const { return window_ != nullptr; }

  // ---- the text
  Position Length() const { return Call(Message::GetLength); }
  // The whole text as the control holds it, without a copy; valid until the text changes.
  std::string_view Text() const;
  // The text from..to (0-based, end excluded), without a copy; valid until the text changes.
  std::string_view Range(Position from, Position to) const;
  // Replaces the whole text with every byte given, NULs included, as one undo step.
  void SetText(std::string_view text) const;
  void AppendText(std::string_view text) const { CallPointer(Message::AppendText, text.size(), text.data()); }
  void ClearAll() const { Call(Message::ClearAll); }
  void Allocate(Position bytes) const { Call(Message::Allocate, static_cast<uintptr_t>(bytes)); }
  Scintilla::Status Status() const { return static_cast<Scintilla::Status>(Call(Message::GetStatus)); }
  void SetStatus(Scintilla::Status status) const { Call(Message::SetStatus, static_cast<uintptr_t>(status)); }
  void SetReadOnly(bool readOnly) const { Call(Message::SetReadOnly, readOnly); }
  // Which document the control shows: a new load makes a new one.
  intptr_t DocPointer() const { return Call(Message::GetDocPointer); }
  void SetTargetRange(Position from, Position to) const { Call(Message::SetTargetRange, Unsigned(from), to); }
  void ReplaceTarget(std::string_view text) const { CallPointer(Message::ReplaceTarget, text.size(), text.data()); }

  // ---- undo and the clipboard
  void SetUndoCollection(bool collect) const { Call(Message::SetUndoCollection, collect); }
  void EmptyUndoBuffer() const { Call(Message::EmptyUndoBuffer); }
  void BeginUndoAction() const { Call(Message::BeginUndoAction); }
  void EndUndoAction() const { Call(Message::EndUndoAction); }
  void Undo() const { Call(Message::Undo); }
  void Cut() const { Call(Message::Cut); }
  void Copy() const { Call(Message::Copy); }
  void Paste() const { Call(Message::Paste); }

  // ---- lines, the caret and the selection (0-based)
  Line LineCount() const { return Call(Message::GetLineCount); }
  Line LineFromPosition(Position at) const { return Call(Message::LineFromPosition, Unsigned(at)); }
  Position LineStart(Line line) const { return Call(Message::PositionFromLine, Unsigned(line)); }
  Position LineEnd(Line line) const { return Call(Message::GetLineEndPosition, Unsigned(line)); }
  Position CurrentPos() const { return Call(Message::GetCurrentPos); }
  Position Anchor() const { return Call(Message::GetAnchor); }
  Position SelectionStart() const { return Call(Message::GetSelectionStart); }
  Position SelectionEnd() const { return Call(Message::GetSelectionEnd); }
  int Selections() const { return static_cast<int>(Call(Message::GetSelections)); }
  bool SelectionIsRectangle() const { return Call(Message::SelectionIsRectangle) != 0; }
  void SetSel(Position anchor, Position caret) const { Call(Message::SetSel, Unsigned(anchor), caret); }
  void SetEmptySelection(Position caret) const { Call(Message::SetEmptySelection, Unsigned(caret)); }
  void GotoLine(Line line) const { Call(Message::GotoLine, Unsigned(line)); }
  void GotoPos(Position caret) const { Call(Message::GotoPos, Unsigned(caret)); }
  void ScrollCaret() const { Call(Message::ScrollCaret); }
  void EnsureVisible(Line line) const { Call(Message::EnsureVisible, Unsigned(line)); }
  void EnsureVisibleEnforcePolicy(Line line) const { Call(Message::EnsureVisibleEnforcePolicy, Unsigned(line)); }
  Scintilla::EndOfLine EOLMode() const { return static_cast<Scintilla::EndOfLine>(Call(Message::GetEOLMode)); }
  int TabWidth() const { return static_cast<int>(Call(Message::GetTabWidth)); }
  void SetCodePage(int codePage) const { Call(Message::SetCodePage, Unsigned(codePage)); }
  int CodePage() const { return static_cast<int>(Call(Message::GetCodePage)); }
  void SetMouseDwellTime(int ms) const { Call(Message::SetMouseDwellTime, Unsigned(ms)); }

  // ---- styles and the lexer
  // Attaches the lexer of that number, as lib/SciLexer.dll offers them.
  void SetLexer(int lexer) const;
  void SetKeyWords(int set, const std::string& words) const { CallPointer(Message::SetKeyWords, Unsigned(set), words.c_str()); }
  Position EndStyled() const { return Call(Message::GetEndStyled); }
  void Colourise(Position from, Position to) const { Call(Message::Colourise, Unsigned(from), to); }
  int StyleAt(Position at) const { return static_cast<int>(Call(Message::GetStyleAt, Unsigned(at))); }
  void StartStyling(Position from) const { Call(Message::StartStyling, Unsigned(from)); }
  // One style byte for each byte from the styling start on.
  void SetStylingEx(std::string_view styles) const { CallPointer(Message::SetStylingEx, styles.size(), styles.data()); }
  void StyleSetFore(int style, Colour fore) const { Call(Message::StyleSetFore, Unsigned(style), fore); }
  void StyleSetBack(int style, Colour back) const { Call(Message::StyleSetBack, Unsigned(style), back); }
  void StyleSetFont(int style, const std::string& face) const { CallPointer(Message::StyleSetFont, Unsigned(style), face.c_str()); }
  void StyleSetSize(int style, int points) const { Call(Message::StyleSetSize, Unsigned(style), points); }
  void StyleSetBold(int style, bool bold) const { Call(Message::StyleSetBold, Unsigned(style), bold); }
  std::string StyleGetFont(int style) const;
  int StyleGetSize(int style) const { return static_cast<int>(Call(Message::StyleGetSize, Unsigned(style))); }
  Colour StyleGetBack(int style) const { return static_cast<Colour>(Call(Message::StyleGetBack, Unsigned(style))); }
  void SetCaretFore(Colour fore) const { Call(Message::SetCaretFore, Unsigned(fore)); }
  void SetCaretLineBack(Colour back) const { Call(Message::SetCaretLineBack, Unsigned(back)); }
  void SetCaretLineVisible(bool visible) const { Call(Message::SetCaretLineVisible, visible); }
  // The width of text in pixels in the style.
  int TextWidth(int style, const std::string& text) const {
    return static_cast<int>(CallPointer(Message::TextWidth, Unsigned(style), text.c_str()));
  }
  // Which changes of the text the control tells its parent of.
  void SetModEventMask(Scintilla::ModificationFlags mask) const { Call(Message::SetModEventMask, Unsigned(mask)); }
  // The control learns of its display's scale after its parent has taken it.
  void ParentDpiChanged() const;

  // ---- margins, markers and indicators
  void SetMarginTypeN(int margin, Scintilla::MarginType type) const { Call(Message::SetMarginTypeN, Unsigned(margin), int(type)); }
  void SetMarginWidthN(int margin, int pixels) const { Call(Message::SetMarginWidthN, Unsigned(margin), pixels); }
  int MarginWidthN(int margin) const { return static_cast<int>(Call(Message::GetMarginWidthN, Unsigned(margin))); }
  void SetMarginMaskN(int margin, int mask) const { Call(Message::SetMarginMaskN, Unsigned(margin), mask); }
  void SetMarginSensitiveN(int margin, bool sensitive) const { Call(Message::SetMarginSensitiveN, Unsigned(margin), sensitive); }
  void MarkerDefine(int marker, Scintilla::MarkerSymbol symbol) const { Call(Message::MarkerDefine, Unsigned(marker), int(symbol)); }
  void MarkerSetFore(int marker, Colour fore) const { Call(Message::MarkerSetFore, Unsigned(marker), fore); }
  void MarkerSetBack(int marker, Colour back) const { Call(Message::MarkerSetBack, Unsigned(marker), back); }
  void MarkerAdd(Line line, int marker) const { Call(Message::MarkerAdd, Unsigned(line), marker); }
  void MarkerDelete(Line line, int marker) const { Call(Message::MarkerDelete, Unsigned(line), marker); }
  // Every marker of that number; -1: every marker.
  void MarkerDeleteAll(int marker) const { Call(Message::MarkerDeleteAll, Unsigned(marker)); }
  // The markers on the line, a bit for each marker number.
  int MarkerGet(Line line) const { return static_cast<int>(Call(Message::MarkerGet, Unsigned(line))); }
  // The first line from line on that carries a marker of the mask; -1 when none does.
  Line MarkerNext(Line line, int mask) const { return Call(Message::MarkerNext, Unsigned(line), mask); }
  void IndicSetStyle(int indicator, Scintilla::IndicatorStyle style) const { Call(Message::IndicSetStyle, Unsigned(indicator), int(style)); }
  void IndicSetFore(int indicator, Colour fore) const { Call(Message::IndicSetFore, Unsigned(indicator), fore); }
  void IndicSetAlpha(int indicator, int alpha) const { Call(Message::IndicSetAlpha, Unsigned(indicator), alpha); }
  void IndicSetOutlineAlpha(int indicator, int alpha) const { Call(Message::IndicSetOutlineAlpha, Unsigned(indicator), alpha); }
  void IndicSetUnder(int indicator, bool under) const { Call(Message::IndicSetUnder, Unsigned(indicator), under); }
  void SetIndicatorCurrent(int indicator) const { Call(Message::SetIndicatorCurrent, Unsigned(indicator)); }
  void IndicatorFillRange(Position from, Position length) const { Call(Message::IndicatorFillRange, Unsigned(from), length); }
  void IndicatorClearRange(Position from, Position length) const { Call(Message::IndicatorClearRange, Unsigned(from), length); }
  void BraceHighlight(Position a, Position b) const { Call(Message::BraceHighlight, Unsigned(a), b); }
  void BraceBadLight(Position at) const { Call(Message::BraceBadLight, Unsigned(at)); }

  // ---- folding
  Scintilla::FoldLevel FoldLevel(Line line) const { return static_cast<Scintilla::FoldLevel>(Call(Message::GetFoldLevel, Unsigned(line))); }
  void SetFoldLevel(Line line, int level) const { Call(Message::SetFoldLevel, Unsigned(line), level); }
  Line FoldParent(Line line) const { return Call(Message::GetFoldParent, Unsigned(line)); }
  bool LineVisible(Line line) const { return Call(Message::GetLineVisible, Unsigned(line)) != 0; }
  void ToggleFold(Line line) const { Call(Message::ToggleFold, Unsigned(line)); }
  void FoldAll(Scintilla::FoldAction action) const { Call(Message::FoldAll, Unsigned(action)); }
  void SetAutomaticFold(Scintilla::AutomaticFold fold) const { Call(Message::SetAutomaticFold, Unsigned(fold)); }
  void SetFoldFlags(Scintilla::FoldFlag flags) const { Call(Message::SetFoldFlags, Unsigned(flags)); }

  // ---- the completion list and call tips
  void AutoCShow(Position lettersTyped, const std::string& names) const { CallPointer(Message::AutoCShow, Unsigned(lettersTyped), names.c_str()); }
  bool AutoCActive() const { return Call(Message::AutoCActive) != 0; }
  void AutoCCancel() const { Call(Message::AutoCCancel); }
  void AutoCSetIgnoreCase(bool ignore) const { Call(Message::AutoCSetIgnoreCase, ignore); }
  void AutoCSetCaseInsensitiveBehaviour(Scintilla::CaseInsensitiveBehaviour behaviour) const {
    Call(Message::AutoCSetCaseInsensitiveBehaviour, Unsigned(behaviour));
  }
  void AutoCSetOrder(Scintilla::Ordering order) const { Call(Message::AutoCSetOrder, Unsigned(order)); }
  void AutoCSetMaxHeight(int rows) const { Call(Message::AutoCSetMaxHeight, Unsigned(rows)); }
  void AutoCSetChooseSingle(bool chooseSingle) const { Call(Message::AutoCSetChooseSingle, chooseSingle); }
  void CallTipShow(Position at, const std::string& tip) const { CallPointer(Message::CallTipShow, Unsigned(at), tip.c_str()); }
  bool CallTipActive() const { return Call(Message::CallTipActive) != 0; }
  void CallTipCancel() const { Call(Message::CallTipCancel); }
  void CallTipSetHlt(Position from, Position to) const { Call(Message::CallTipSetHlt, Unsigned(from), to); }

 private:
  using DirectFunction = intptr_t (*)(intptr_t instance, unsigned message, uintptr_t wParam, intptr_t lParam);

  template <typename Value>
  static uintptr_t Unsigned(Value value) { return static_cast<uintptr_t>(value); }
  intptr_t Call(Message message, uintptr_t wParam = 0, intptr_t lParam = 0) const;
  intptr_t CallPointer(Message message, uintptr_t wParam, const void* pointer) const {
    return Call(message, wParam, reinterpret_cast<intptr_t>(pointer));
  }
  // Through the window even for a direct door: lib/SciLexer.dll answers these itself.
  intptr_t Send(unsigned message, uintptr_t wParam, intptr_t lParam) const;

  HWND window_;
  DirectFunction direct_ = nullptr;
  intptr_t instance_ = 0;
};
