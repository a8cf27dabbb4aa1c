// Keyboard layer of the main message loop (declared in KeyTable.h).
#include "shell/KeyTable.h"

namespace {
constexpr unsigned KeyReturn = 0x0D;
constexpr unsigned KeyEscape = 0x1B;
constexpr unsigned KeyF1 = 0x70;
constexpr unsigned KeyF10 = 0x79;

// Ctrl+letter commands whose key the editor must not see as well.
bool WithheldControlLetter(unsigned key) {
  switch (key) {
    case 'A': case 'E': case 'F': case 'G': case 'O': case 'R': case 'S': case 'T': return true;
    default: return false;
  }
}

LoopAction KeyDown(unsigned key, bool controlDown, LoopTarget target) {
  if (key == KeyReturn) return {2013, true, target == LoopTarget::SearchBox};
  if (key >= KeyF1 && key <= KeyF10) return {int(1001 + (key - KeyF1)), true, false};
  if (key >= 'A' && key <= 'Z') {
    if (!controlDown) return {};
    return {int(2000 + key), false, WithheldControlLetter(key)};
  }
  if (key == KeyEscape) return {2227, true, true};
  return {};
}
}  // namespace

LoopAction MapLoopMessage(unsigned message, unsigned key, bool controlDown, LoopTarget target) {
  if (message == LoopLButtonDoubleClick) return {1103, true, target == LoopTarget::ProjectBox};
  if (message == LoopKeyUp) return {};
  if (message == LoopKeyDown) return KeyDown(key, controlDown, target);
  return {};
}
