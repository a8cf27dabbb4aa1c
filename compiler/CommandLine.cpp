// Command lines for started programs and the parts of the program's own command line.
#include "compiler/CommandLine.h"
#include "base/TextScan.h"

std::string ToolCommandLine(std::string_view tool, std::string_view options, std::string_view file) {
  std::string line = "\"";
  line += tool;
  line += "\" ";
  line += options;
  line += " \"";
  line += file;
  line += "\"";
  return line;
}

std::string ShellCommandLine(std::string_view command) {
  if (command.empty()) return "cmd.exe";
  return "cmd.exe /c " + std::string(command);
}

// The program token ends as the system's own parser ends it: a token that begins with a
// double quote runs to the matching double quote, any other token to the first blank. A
// general word scanner would also stop at "(" or "," and treat apostrophes as quotes, which
// would cut folder names like "Program Files (x86)" written without quotes.
std::string CommandTailOf(std::string_view commandLine) {
  int pos = 1;
  SkipBlanks(commandLine, pos);
  if (CodeAt(commandLine, pos) == '"') {
    ++pos;
    while (CodeAt(commandLine, pos) != 0 && CodeAt(commandLine, pos) != '"') ++pos;
    if (CodeAt(commandLine, pos) == '"') ++pos;
  } else {
    while (CodeAt(commandLine, pos) > 32) ++pos;
  }
  SkipBlanks(commandLine, pos);
  if (pos > static_cast<int>(commandLine.size())) return {};
  return std::string(commandLine.substr(pos - 1));
}

std::string ProgramDirOf(std::string_view modulePath) {
  size_t slash = modulePath.rfind('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(modulePath.substr(0, slash));
}
