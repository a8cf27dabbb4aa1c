// Folding the Editor's blocks (declared in Folding_win.h). The lexer sets the fold points; these
// operations fold and unfold them and never leave the caret on a hidden line.
#include "editor/Folding_win.h"
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/SciMessages.h"

namespace {

LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return Api.SendMessageA(Editor, message, wParam, lParam);
}

LRESULT CaretLine() {
  return Sci(SCI_LINEFROMPOSITION, static_cast<WPARAM>(Sci(SCI_GETCURRENTPOS)));
}

bool IsFoldPoint(LRESULT line) {
  return (Sci(SCI_GETFOLDLEVEL, static_cast<WPARAM>(line)) & SC_FOLDLEVELHEADERFLAG) != 0;
}

// A fold that hid the caret's line leaves the caret at the start of the nearest line that
// still shows, the fold point that hides it.
void KeepCaretShown() {
  const LRESULT caretLine = CaretLine();
  LRESULT line = caretLine;
  while (line > 0 && !Sci(SCI_GETLINEVISIBLE, static_cast<WPARAM>(line))) {
    line = Sci(SCI_GETFOLDPARENT, static_cast<WPARAM>(line));
  }
  if (line < 0) line = 0;
  if (line != caretLine) Sci(SCI_GOTOLINE, static_cast<WPARAM>(line));
}

void ToggleFoldPoint(LRESULT line) {
  Sci(SCI_TOGGLEFOLD, static_cast<WPARAM>(line));
  KeepCaretShown();
}

}  // namespace

void EditorMarginClick(int margin, size_t position) {
  if (Editor == nullptr || margin != FoldMargin) return;
  const LRESULT line = Sci(SCI_LINEFROMPOSITION, position);
  if (IsFoldPoint(line)) ToggleFoldPoint(line);
}

void ToggleFoldAtCaret() {
  if (Editor == nullptr) return;
  LRESULT line = CaretLine();
  if (!IsFoldPoint(line)) line = Sci(SCI_GETFOLDPARENT, static_cast<WPARAM>(line));
  if (line >= 0) ToggleFoldPoint(line);
}

void FoldAll() {
  if (Editor == nullptr) return;
  Sci(SCI_FOLDALL, SC_FOLDACTION_CONTRACT | SC_FOLDACTION_CONTRACT_EVERY_LEVEL);
  KeepCaretShown();
}

void UnfoldAll() {
  if (Editor == nullptr) return;
  Sci(SCI_FOLDALL, SC_FOLDACTION_EXPAND);
}
