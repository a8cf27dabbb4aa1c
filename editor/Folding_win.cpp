// Folding the Editor's blocks. The lexer sets the fold points; these operations fold and unfold
// them and never leave the caret on a hidden line.
#include "editor/Folding_win.h"
#include "base/SharedState.h"
#include "editor/ScintillaDoor_win.h"

namespace {
using Line = ScintillaDoor::Line;

Line CaretLine(const ScintillaDoor& editor) { return editor.LineFromPosition(editor.CurrentPos()); }

bool IsFoldPoint(const ScintillaDoor& editor, Line line) { return LevelIsHeader(editor.FoldLevel(line)); }

// A fold that hid the caret's line leaves the caret at the start of the nearest line that
// still shows, the fold point that hides it.
void KeepCaretShown(const ScintillaDoor& editor) {
  const Line caretLine = CaretLine(editor);
  Line line = caretLine;
  while (line > 0 && !editor.LineVisible(line)) line = editor.FoldParent(line);
  if (line < 0) line = 0;
  if (line != caretLine) editor.GotoLine(line);
}

void ToggleFoldPoint(const ScintillaDoor& editor, Line line) {
  editor.ToggleFold(line);
  KeepCaretShown(editor);
}
}  // namespace

void EditorMarginClick(int margin, size_t position) {
  if (Editor == nullptr || margin != FoldMargin) return;
  const ScintillaDoor editor(Editor);
  const Line line = editor.LineFromPosition(ScintillaDoor::Position(position));
  if (IsFoldPoint(editor, line)) ToggleFoldPoint(editor, line);
}

void ToggleFoldAtCaret() {
  if (Editor == nullptr) return;
  const ScintillaDoor editor(Editor);
  Line line = CaretLine(editor);
  if (!IsFoldPoint(editor, line)) line = editor.FoldParent(line);
  if (line >= 0) ToggleFoldPoint(editor, line);
}

void FoldAll() {
  if (Editor == nullptr) return;
  const ScintillaDoor editor(Editor);
  editor.FoldAll(Scintilla::FoldAction::Contract | Scintilla::FoldAction::ContractEveryLevel);
  KeepCaretShown(editor);
}

void UnfoldAll() {
  if (Editor != nullptr) ScintillaDoor(Editor).FoldAll(Scintilla::FoldAction::Expand);
}
