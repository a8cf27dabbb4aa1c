// Files dragged onto MainWindow from the shell, and the help commands.
#pragma once
#include <windows.h>
#include "base/Outcome.h"

// Where the mouse pointer was as the drop was handled: a quarter of MainWindow's client width,
// and the pointer in client coordinates.
struct DropPoint {
  int quarter = 0;
  int x = 0;
  int y = 0;
};

// WM_DROPFILES: a project file opens as the project; files dropped on the project strip join
// the open project; any other first file opens in the editor (and runs when dropped on the
// toolbar row). Stop when a cancelled prompt or a failure ended the drop.
Outcome OnDropFiles(HDROP drop, DropPoint point);

// F1: the help file at the page of the word at the caret of the focused editor or box (of the
// one focused last when a button has the focus).
void KeywordHelp();
// Shift+F1: the box listing the keys.
void ShowKeyHelp();
