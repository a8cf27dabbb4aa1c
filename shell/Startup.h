// Start-up and shut-down of the program.
#pragma once

// Runs the whole start-up sequence, the main window and the release of the libraries;
// returns the process exit code (it normally ends the process itself).
int RunStartup();
