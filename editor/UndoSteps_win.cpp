// One undo step for a key and what the editing aids add to it.
// The aids make their edits from the editor's notification of the key's own edit, which comes
// while the key is being handed to the editor; an undo group opened before and closed after
// the hand-over holds both.
#include "editor/UndoSteps_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/Editing_win.h"
#include "editor/ScintillaDoor_win.h"

namespace {
bool AidsMayAddTo(const MSG& msg) {
  if (msg.hwnd == nullptr || msg.hwnd != Editor) return false;
  // Enter breaks the line and indents it, or takes the chosen completion; Tab takes one too.
  if (msg.message == WM_KEYDOWN) return msg.wParam == VK_RETURN || msg.wParam == VK_TAB;
  // Any other key: only a character that completes a closing word. Grouping every typed
  // character would end the editor's joining of typed words into one step.
  if (msg.message == WM_CHAR) return TypingMovesWordAtCaret(static_cast<int>(msg.wParam));
  return false;
}
}  // namespace

KeyUndoStep::KeyUndoStep(const MSG& msg) {
  if (!AidsMayAddTo(msg)) return;
  editor_ = msg.hwnd;
  ScintillaDoor(editor_).BeginUndoAction();
}

KeyUndoStep::~KeyUndoStep() {
  if (editor_ != nullptr && Api.IsWindow(editor_)) ScintillaDoor(editor_).EndUndoAction();
}
