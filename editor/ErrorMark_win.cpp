// The error mark: one indicator and one marker of its own, away from the numbers that folding
// and the other marks use.
#include "editor/ErrorMark_win.h"
#include "editor/Marks_win.h"
#include "editor/ScintillaDoor_win.h"

namespace {

constexpr int ErrorIndicator = static_cast<int>(Scintilla::IndicatorNumbers::Container) + 4;
constexpr COLORREF ErrorRed = RGB(224, 0, 0);

// Indicator and marker styles live in the editor; setting them with each mark costs a few
// messages per check and needs no step at the editor's creation.
void DefineMark(const ScintillaDoor& editor) {
  editor.IndicSetStyle(ErrorIndicator, Scintilla::IndicatorStyle::Squiggle);
  editor.IndicSetFore(ErrorIndicator, ErrorRed);
  editor.MarkerDefine(ErrorMarker, Scintilla::MarkerSymbol::Circle);
  editor.MarkerSetFore(ErrorMarker, ErrorRed);
  editor.MarkerSetBack(ErrorMarker, ErrorRed);
}
}  // namespace

void ClearErrorMark(HWND control) {
  const ScintillaDoor editor(control);
  editor.MarkerDeleteAll(ErrorMarker);
  editor.SetIndicatorCurrent(ErrorIndicator);
  editor.IndicatorClearRange(0, editor.Length());
}

void ShowErrorMark(HWND control, int line) {
  ClearErrorMark(control);
  if (line <= 0) return;
  const ScintillaDoor editor(control);
  DefineMark(editor);
  const ScintillaDoor::Position start = editor.LineStart(line - 1);
  if (start < 0) return;  // the line is gone
  const ScintillaDoor::Position end = editor.LineEnd(line - 1);
  editor.MarkerAdd(line - 1, ErrorMarker);
  editor.SetIndicatorCurrent(ErrorIndicator);
  editor.IndicatorFillRange(start, end - start);
}

int ErrorMarkLine(HWND control) {
  const ScintillaDoor::Line line = ScintillaDoor(control).MarkerNext(0, 1 << ErrorMarker);
  return line < 0 ? 0 : static_cast<int>(line) + 1;
}

bool ErrorMarkOn(HWND control, int line) {
  return line > 0 && (ScintillaDoor(control).MarkerGet(line - 1) & (1 << ErrorMarker)) != 0;
}
