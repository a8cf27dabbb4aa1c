// What the compile tool and the runtimes need from Windows: the console as the program's
// host, their own file's name, and whole-file replacement.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"

namespace zbwin {

// Stack kept free below a program's stack floor: an expression is evaluated between two checks
// of the floor, and its depth is bounded by the parser.
constexpr size_t ToolStackMargin = size_t{16} << 20;

// The stack floor for the running thread: its stack's lowest address plus margin.
uintptr_t ThreadStackFloor(size_t margin);

class ConsoleHost : public zb::Host {
 public:
  void Write(std::string_view text) override;
  bool ReadLine(std::string& line) override;
  void ShowBox(const std::string& text) override;
  bool utf8 = false;  // the program's text is UTF-8: the console and boxes show it so

 private:
  std::string pending_;  // the start of a UTF-8 character whose end comes with the next write
};

std::string OwnPath();    // the running program's file
std::string OwnFolder();  // its folder, without a trailing backslash
bool FileExists(const std::string& path);
bool ReadBinaryFile(const std::string& path, std::string& bytes);
// Writes bytes to a temporary file beside target and renames it into place, so the target is
// either whole or untouched. Returns "" or the reason it failed.
std::string ReplaceFileWhole(const std::string& target, const std::string& bytes);
// One line on the error stream, and in the file that ZOR5_ERRORS names when it is set.
void ErrorLine(const std::string& line);
// Checks and runs a loaded program in this console; returns the exit code.
int RunLoaded(const zb::Program& prog);
// Runs a loaded program in this console under the debugger whose named pipe is given, and ends
// the process with the program's exit code; returns 1 only when the pipe cannot be reached.
int RunLoadedDebugged(const zb::Program& prog, const std::string& pipeName);

}  // namespace zbwin
