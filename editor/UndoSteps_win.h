// One undo step per action the user sees as one: a key whose edit the editing aids complete
// (an Enter and its indentation, a taken completion, a closing word moved back to its opener)
// is handed to the Editor inside one undo group, so Ctrl+Z takes the key's edit and the aids'
// together.
#pragma once
#include <windows.h>

// Opens the Editor's undo group for a queued key message the aids may add to, and closes it
// when it goes out of scope; for any other message it does nothing.
class KeyUndoStep {
 public:
  explicit KeyUndoStep(const MSG& msg);
  ~KeyUndoStep();
  KeyUndoStep(const KeyUndoStep&) = delete;
  KeyUndoStep& operator=(const KeyUndoStep&) = delete;

 private:
  HWND editor_ = nullptr;
};
