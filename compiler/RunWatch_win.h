// Runs and compiles that F5 starts, watched to their end: the window thread never waits for
// one; a thread of the run's own waits and posts how it ended, and an end with the compile
// tool's "file(line): message" is listed in the listing panel and said in the status bar.
#pragma once
#include <cstdint>
#include <string>
#include "base/AppMessages_win.h"

// Writes the run's line into the console, then starts commandLine (the compile tool on file,
// a compile when compiled) with ZOR5_ERRORS naming a file of its own for the tool's error
// lines, and watches it. A command that cannot be started starts nothing, as before.
void StartWatchedRun(const std::string& commandLine, bool compiled, const std::string& file);
// RunEndedMessage: lists the error lines the run ended with, if any, and says so; a run that
// ended otherwise is said to have ended while its own message still stands.
void OnRunEnded(intptr_t run);
