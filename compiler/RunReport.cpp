// How a started run or compile is told in the IDE.
#include "compiler/RunReport.h"
#include <cstdio>
#include <vector>
#include "base/StatusRule.h"
#include "editor/ListingText.h"

std::string RunHeader(bool compiled, std::string_view file, int hour, int minute, int second) {
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, second);
  return "\r\n---- " + std::string(compiled ? "compile of " : "run of ") + std::string(file) + " at " + time +
         " ----\r\n";
}

namespace {
std::string_view NameOf(std::string_view file) {
  const size_t slash = file.find_last_of("\\/");
  return slash == std::string_view::npos ? file : file.substr(slash + 1);
}
}  // namespace

std::string RunStartedText(bool compiled, std::string_view file) {
  return std::string(compiled ? "Compiling " : "Running ") + std::string(NameOf(file)) + " in the console";
}

std::string RunEndedText(bool compiled, std::string_view file, unsigned long exitCode) {
  std::string text = std::string(compiled ? "The compile of " : "The run of ") + std::string(NameOf(file)) + " ended";
  if (exitCode != 0) text += " with exit code " + std::to_string(exitCode) + ": the console tells why";
  return text;
}

RunErrors ReadRunErrors(bool compiled, std::string_view errorText) {
  RunErrors errors;
  std::string first;
  long long places = 0;
  for (std::string_view line : SplitLines(errorText)) {
    if (ReadListedLine(line).kind != ListedKind::FileLine) continue;
    if (places++ == 0) first = std::string(line);
    errors.listing.append(line).append("\r\n");
  }
  if (places == 0) return errors;
  errors.status = std::string(compiled ? "The compile" : "The run") + " ended with an error: " + first + " (F6 goes there";
  if (places > 1) errors.status += "; " + Counted(places, "line") + " listed";
  errors.status += ")";
  return errors;
}
