// How a started run or compile is told in the IDE: the line written into the console before
// it starts, and what its error lines become when it ends with one. Platform-free.
#pragma once
#include <string>
#include <string_view>

// The console line before a run (compiled false) or a compile of file, at the local time:
// a line of its own, so one run's output is told from the next.
std::string RunHeader(bool compiled, std::string_view file, int hour, int minute, int second);

// The error lines the compile tool wrote as the run or compile ended, read into what the IDE
// shows: the lines that name a place ("file(line): message") for the listing panel, and the
// status bar's message. Both are empty when no line names a place.
struct RunErrors {
  std::string listing;
  std::string status;
};
RunErrors ReadRunErrors(bool compiled, std::string_view errorText);

// What the status bar says as a run or compile of file starts, and as it ends with the exit
// code without an error line that names a place.
std::string RunStartedText(bool compiled, std::string_view file);
std::string RunEndedText(bool compiled, std::string_view file, unsigned long exitCode);
