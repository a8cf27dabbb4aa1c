// The error mark (declared in ErrorMark_win.h): one indicator and one marker of their own,
// away from the numbers that folding and other features use.
#include "editor/ErrorMark_win.h"
#include "base/Bindings_win.h"
#include "editor/SciMessages.h"

namespace {

constexpr int ErrorIndicator = 12;  // containers' indicators are 8..31
constexpr int ErrorMarker = 12;     // 25..31 are the fold margin's
constexpr COLORREF ErrorRed = RGB(224, 0, 0);

LRESULT Sci(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  return Api.SendMessageA(editor, message, wParam, lParam);
}

// Indicator and marker styles live in the editor; setting them with each mark costs a few
// messages per check and needs no step at the editor's creation.
void DefineMark(HWND editor) {
  Sci(editor, SCI_INDICSETSTYLE, ErrorIndicator, INDIC_SQUIGGLE);
  Sci(editor, SCI_INDICSETFORE, ErrorIndicator, ErrorRed);
  Sci(editor, SCI_MARKERDEFINE, ErrorMarker, SC_MARK_CIRCLE);
  Sci(editor, SCI_MARKERSETFORE, ErrorMarker, ErrorRed);
  Sci(editor, SCI_MARKERSETBACK, ErrorMarker, ErrorRed);
}
}  // namespace

void ClearErrorMark(HWND editor) {
  Sci(editor, SCI_MARKERDELETEALL, ErrorMarker, 0);
  Sci(editor, SCI_SETINDICATORCURRENT, ErrorIndicator, 0);
  Sci(editor, SCI_INDICATORCLEARRANGE, 0, Sci(editor, SCI_GETLENGTH, 0, 0));
}

void ShowErrorMark(HWND editor, int line) {
  ClearErrorMark(editor);
  if (line <= 0) return;
  DefineMark(editor);
  const LRESULT start = Sci(editor, SCI_POSITIONFROMLINE, line - 1, 0);
  if (start < 0) return;  // the line is gone
  LRESULT end = Sci(editor, SCI_GETLINEENDPOSITION, line - 1, 0);
  Sci(editor, SCI_MARKERADD, line - 1, ErrorMarker);
  Sci(editor, SCI_SETINDICATORCURRENT, ErrorIndicator, 0);
  Sci(editor, SCI_INDICATORFILLRANGE, start, end - start);
}

int ErrorMarkLine(HWND editor) {
  const LRESULT line = Sci(editor, SCI_MARKERNEXT, 0, 1 << ErrorMarker);
  return line < 0 ? 0 : static_cast<int>(line) + 1;
}

bool ErrorMarkOn(HWND editor, int line) {
  return line > 0 && (Sci(editor, SCI_MARKERGET, line - 1, 0) & (1 << ErrorMarker)) != 0;
}
