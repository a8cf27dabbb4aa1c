// The compile tool's command line: options -r, -d, -32, -64, -debug <pipe> and one source file.
#pragma once
#include <string>
#include <vector>

namespace zb {

struct ToolArgs {
  enum Action { Run, Run64, Exe32, Exe64, Library, Help, Bad } action = Bad;
  std::string source;
  std::string debugPipe;  // Run, Run64: the named pipe of the debugger to connect to, or ""
  std::string error;      // for Bad: the one line to show
};

constexpr const char* ToolUsage = "usage: zor5 [-r | -d] [-32 | -64] [-debug pipe] source.zobas";

ToolArgs ParseToolArgs(const std::vector<std::string>& args);

// The program a source compiles to: the source's name with its extension replaced by .exe.
std::string ExeNameFor(const std::string& source);

}  // namespace zb
