// Running a program under the debugger: it stops at breakpoints, steps forward and back,
// shows its variables and call stack, and evaluates what the user types, all by the
// interpreter itself. Everything here runs on the program's own thread; the other side (the
// protocol session, a test) is the DebugDriver, which the debugger calls when the program
// stops and, at the next statement, when the driver has raised its attention flag.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"

namespace zb {

struct DebugOptions {
  bool stopOnEntry = false;  // stop before the first statement
  bool record = false;       // keep the record of changes that stepping back needs
  size_t recordBytes = size_t{64} << 20;  // its budget: the oldest statements are dropped first
};

enum class StopReason { Entry, Breakpoint, Step, Pause, Watch, When, Error, RunTo };
const char* StopReasonName(StopReason r);  // "entry", "breakpoint", ... as the protocol names them

struct StopInfo {
  StopReason reason = StopReason::Step;
  std::string file;  // the file of the statement about to run, as the program names it
  int line = 0;      // its line there, from 1
  std::string text;  // what happened: an error's message, a watch's change, a condition
  bool present = true;      // false after stepping back: the values shown are earlier ones
  bool outputKept = false;  // stepping back passed output, which stays in the console (said once)
};

// One line of the call stack, the innermost frame first.
struct StackLine {
  std::string name;  // "sub hanoi", "function fib", "main program"
  std::string file;  // the file of its line, as the program names it
  int line = 0;      // the statement it runs, or for a caller the one that called
  std::string text;  // "sub hanoi, line 14 of moves.inc"
};

// One variable as the panel shows it: "name as type = value".
struct VariableLine {
  std::string name, type, value;
  bool global = false;
  bool changed = false;  // its value differs from the last time this frame's variables were shown
  std::string text;
};

// What the user can do with a stopped program. Resuming (Continue, the steps, RunTo) takes
// effect when the driver returns from Stopped.
class DebugTarget {
 public:
  // Before the first statement only: how the program runs (the record of changes is kept or not).
  virtual void Configure(const DebugOptions& options) = 0;
  // Sets the breakpoints of a file; returns the line each one stops at (a line without a
  // statement stops at the next one below it in that file), 0 for one that never can.
  virtual std::vector<int> SetBreakpoints(const std::string& file, const std::vector<int>& lines) = 0;
  virtual void Continue() = 0;
  virtual void StepOver() = 0;
  virtual void StepIn() = 0;
  virtual void StepOut() = 0;
  virtual bool RunTo(const std::string& file, int line, std::string& why) = 0;
  // Moves back one statement in the record of changes; false with the reason when it cannot.
  virtual bool StepBack(std::string& why) = 0;
  virtual void Pause() = 0;      // while running: stop at the next statement
  virtual void Terminate() = 0;  // end the program
  virtual StopInfo Where() = 0;
  virtual std::vector<StackLine> Stack() = 0;
  // Frame 0 is the innermost; a frame's parameters and locals come first, then the globals.
  virtual std::vector<VariableLine> Variables(size_t frame) = 0;
  // A command of the user, in frame: "? expression" (or the expression alone), "let place =
  // expression", "watch place", "when condition", "unwatch". False with the error as answer.
  virtual bool Command(const std::string& text, size_t frame, std::string& answer) = 0;

 protected:
  ~DebugTarget() = default;
};

class DebugDriver {
 public:
  virtual ~DebugDriver() = default;
  // Before the first statement: the breakpoints and options of the start.
  virtual void Starting(DebugTarget& target) = 0;
  // The program stopped: take the user's commands until one resumes or ends it.
  virtual void Stopped(DebugTarget& target, const StopInfo& stop) = 0;
  // While the program runs: take the commands that came, without waiting (pause, breakpoints).
  virtual void Attend(DebugTarget& target) = 0;
  // Raised by the driver's own thread when a command waits; lowered by Attend.
  std::atomic<bool> attention{false};
};

// Runs the program under the debugger; like Run, returns the exit code and the error line.
// A program ended by Terminate returns 1 with error left empty.
int RunDebugged(const Program& prog, Host& host, std::string& error, DebugDriver& driver, const DebugOptions& options,
                int maxDepth = MaxCallDepth);

}  // namespace zb
