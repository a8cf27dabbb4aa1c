// Keyboard layer of the main message loop.
#include "shell/KeyTable.h"
#include "commands/CommandIds.h"

namespace {
// Virtual-key codes.
constexpr unsigned VirtualTab = 0x09;
constexpr unsigned VirtualReturn = 0x0D;
constexpr unsigned VirtualSpace = 0x20;
constexpr unsigned VirtualEscape = 0x1B;
constexpr unsigned VirtualF1 = 0x70;
constexpr unsigned VirtualF12 = 0x7B;  // F11 folds, F12 goes to definitions

// Ctrl+letter commands whose key the editor must not see as well.
bool WithheldControlLetter(unsigned key) {
  switch (key) {
    case 'A': case 'E': case 'F': case 'G': case 'M': case 'O': case 'Q': case 'R': case 'S': case 'T': return true;
    default: return false;
  }
}

// Ctrl+letters whose character is the control's own editing key: an edit box copies, pastes,
// cuts and undoes on the characters of Ctrl+C, V, X and Z. Every other Ctrl+letter is a command,
// a key that the editor binds on its key-down (redo, the line commands), or nothing at all; its
// character (a tab, a line feed, a backspace or another control byte) would only be typed into
// the text.
bool TypesItsCharacter(unsigned key) { return key == 'C' || key == 'V' || key == 'X' || key == 'Z'; }

LoopAction KeyDown(unsigned key, bool controlDown, bool altDown, LoopTarget target, char typed) {
  if (target == LoopTarget::EditorList && (key == VirtualReturn || key == VirtualTab || key == VirtualEscape))
    return {};
  // Ctrl+Space and Ctrl+Shift+Space show the completion list and the parameter hint; the
  // blank is not typed.
  if (key == VirtualSpace && controlDown && !altDown) return {KeyCtrlSpace, true, true};
  if (key == VirtualReturn) return {KeyEnter, true, target == LoopTarget::SearchBox};
  if (key >= VirtualF1 && key <= VirtualF12) return {int(KeyF1 + (key - VirtualF1)), true, false};
  if (controlDown && !altDown && (typed == '.' || typed == ','))
    return {typed == '.' ? KeyCtrlPeriod : KeyCtrlComma, false, true};
  if (key >= 'A' && key <= 'Z') {
    // Windows reports AltGr as Control and Alt held together, and AltGr+letter types a
    // character on many layouts ("€" with E on a German one, "ś" with S on a Polish one): a
    // letter with both is typing, never a command.
    if (!controlDown || altDown) return {};
    return {CtrlKey(char(key)), false, WithheldControlLetter(key), TypesItsCharacter(key)};
  }
  if (key == VirtualEscape) return {KeyEscape, true, true};
  return {};
}
}  // namespace

LoopAction MapLoopMessage(unsigned message, unsigned key, bool controlDown, bool altDown, LoopTarget target,
                          char typed) {
  if (message == LoopLButtonDoubleClick)
    return {KeyDoubleClick, true, target == LoopTarget::ProjectBox || target == LoopTarget::Listing};
  if (message == LoopKeyUp) return {};
  if (message == LoopKeyDown) return KeyDown(key, controlDown, altDown, target, typed);
  return {};
}
