// The main message loop's keyboard layer: which queued messages become command messages
// to MainWindow, with which lParam, and which are then withheld from their window.
#pragma once

// What kind of window a queued message is for, as far as the loop cares.
enum class LoopTarget {
  Other,       // any window the loop has no rule for
  ProjectBox,  // the project list box: double-clicks are its commands, not its own
  SearchBox,   // FindBox, ReplaceBox, LineBox or KeywordBox: Enter is a command there
  Listing,     // the listing panel: a double-click goes to the listed place, nothing else
  EditorList,  // the Editor while its completion list or a parameter hint shows: Enter, Tab and
               // Esc are the list's and the hint's alone
};

struct LoopAction {
  int command = 0;             // WM_COMMAND identifier to send first; 0 sends nothing
  bool lParamIsWindow = false; // lParam is the message's window (else 0)
  bool withhold = false;       // the queued message is then dropped instead of dispatched
  bool translate = true;       // a dispatched key-down is translated as well, so its character
                               // is typed; false hands the control the key-down alone
};

// Message numbers and virtual keys the loop looks at (the platform's values).
constexpr unsigned LoopKeyDown = 0x0100;
constexpr unsigned LoopKeyUp = 0x0101;
constexpr unsigned LoopLButtonDoubleClick = 0x0203;

// Maps one queued message. key is the low 8 bits of wParam; controlDown and altDown tell
// whether Control and Alt are held at that moment; typed is the character the key makes on the
// keyboard's layout (0 when none or not known), so Ctrl+. and Ctrl+, work on any layout.
LoopAction MapLoopMessage(unsigned message, unsigned key, bool controlDown, bool altDown, LoopTarget target,
                          char typed = 0);
