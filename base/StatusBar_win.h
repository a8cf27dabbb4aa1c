// The main window's status bar, which shell/ makes and owns: every floor shows its messages
// there through these, and shell/ defines them beside the bar.
#pragma once
#include <string>

// Shows text in the status bar and paints it at once, also in the middle of a long command.
void ShowStatus(const std::string& text);
// The text the status bar shows now.
std::string StatusShown();
