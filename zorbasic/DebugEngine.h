// The debugger inside the interpreter: the hooks the interpreter calls (one at every
// statement, one at every write while the record of changes is kept, one at every call and
// return, one at a run-time error), the stops they decide, and the user's commands while the
// program is stopped.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "zorbasic/DebugHistory.h"
#include "zorbasic/Debugger.h"
#include "zorbasic/InterpCore.h"

namespace zb::interp {

// Thrown when the user ends the program, and when a pause cuts an evaluation short.
struct Terminated {};
struct EvaluationCut {};

// A value as the debugger reads it: a scalar's, a record block's or an array's place.
struct ValueRef {
  Type type;
  const void* at = nullptr;      // int64_t, double, std::string or a record block
  const Array* array = nullptr;  // set for an array
};

// How the debugger shows values: at most about `room` bytes, long strings and arrays cut with
// an ellipsis (the ANSI code page's byte 0x85).
std::string ShowValue(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v, size_t room);
// "1 to 10", "1 to 3, 1 to 4"; "" for an array that has no elements yet.
std::string ShowBounds(const Array& a);
// A hash of the whole value, however long, to tell whether it changed.
uint64_t Fingerprint(const std::vector<Layout>& layouts, const ValueRef& v);
// The value whole, to compare a watched place's values exactly.
std::string ExactValue(const Program& prog, const std::vector<Layout>& layouts, const ValueRef& v);
extern const char* const Ellipsis;

class Debugger final : public DebugTarget {
 public:
  Debugger(Interp& in, DebugDriver& driver, const DebugOptions& options);
  ~Debugger() = default;

  // --- the interpreter's hooks
  void Begin();  // the globals exist, no statement has run
  void Statement(const Stmt& s);
  void EmptyBlock();  // a loop with nothing in it goes round: it may be paused or ended
  void Enter(int proc, Cell* cells);
  void Leave();
  void Error(int line, const std::string& message);
  History* Record() { return history_.get(); }

  // --- what the user can do
  void Configure(const DebugOptions& options) override;
  std::vector<int> SetBreakpoints(const std::string& file, const std::vector<int>& lines) override;
  void Continue() override { Resume(Mode::Run); }
  void StepOver() override { Resume(Mode::Over); }
  void StepIn() override { Resume(Mode::In); }
  void StepOut() override { Resume(Mode::Out); }
  bool RunTo(const std::string& file, int line, std::string& why) override;
  bool StepBack(std::string& why) override;
  void Pause() override;
  void Terminate() override { terminate_ = true; }
  StopInfo Where() override { return current_; }
  std::vector<StackLine> Stack() override;
  std::vector<VariableLine> Variables(size_t frame) override;
  bool Command(const std::string& text, size_t frame, std::string& answer) override;

 private:
  enum class Mode { Run, In, Over, Out };

  // A watched place or a condition, read in the frame it was set in (or any frame when it
  // names globals only).
  struct Watch {
    std::string text;
    ExprPtr place, value;
    uint64_t serial = 0;  // the frame's
    int proc = -1;
    std::string last;  // the place's value, whole; for a condition "1" or "0"
    std::string lastShown;
  };
  // A variable's fingerprint when it was shown at the last stop and at this one.
  struct Shown {
    uint64_t before = 0, now = 0;
    uint64_t stop = 0;
  };

  void Resume(Mode m);
  void Refresh();
  void StopLoop(StopReason why, std::string text, int line, int depth);
  bool Decide(bool arrival, int depth, int line, StopReason& why, std::string& text);
  void SetStop(StopReason why, std::string text, int line, bool present);
  bool CheckWatches(std::string& text);
  bool CheckWhens(std::string& text);
  void Baselines();

  // Evaluation in a frame; the program's state is kept as it was (in the past, even what the
  // expression writes is undone afterwards). False with the error in the language's words.
  template <class Work>
  bool InFrame(const DebugFrame& f, Work&& work, std::string& error);
  const DebugFrame* FrameOf(uint64_t serial) const;
  std::string ValueOfExpr(const Expr& e, size_t room, std::string* exact);
  bool Evaluate(const std::string& text, const DebugFrame& f, std::string& answer);
  bool Assign(const std::string& text, const DebugFrame& f, std::string& answer);
  bool AddWatch(const std::string& text, const DebugFrame& f, bool condition, std::string& answer);
  bool ShowArray(const std::string& name, const DebugFrame& f, std::string& answer);

  VariableLine Line(const std::string& name, const SlotInfo& slot, Cell& c, bool byref, bool global, uint64_t serial);
  int Resolve(int file, int line) const;  // the unit line a breakpoint stops at, or -1
  int FileIndex(const std::string& file) const;

  Interp& in_;
  const Program& prog_;
  DebugDriver& driver_;
  DebugOptions options_;
  std::vector<DebugFrame> frames_;
  std::unique_ptr<History> history_;
  uint64_t serial_ = 0;
  std::vector<uint8_t> statementLines_;  // per unit line: 1 when a statement starts there
  std::vector<uint8_t> breaks_;          // per unit line
  std::map<int, std::vector<int>> fileBreaks_;  // per file index: its breakpoints' unit lines
  int runTo_ = -1;
  Mode mode_ = Mode::Run;
  int stepDepth_ = 0;
  bool entry_ = false;
  bool pause_ = false;
  bool terminate_ = false;
  bool cut_ = false;  // a pause came while an expression was being evaluated
  bool idle_ = true;  // nothing but breakpoints can stop the program
  bool stopped_ = false;
  bool error_ = false;  // stopped at a run-time error, which ends the program when it goes on
  std::string errorText_;
  int errorLine_ = 0;
  uint64_t stops_ = 0;
  int evaluating_ = 0;
  bool outputTold_ = false;
  std::vector<Watch> watches_, whens_;
  StopInfo current_;
  int stopDepth_ = 0;
  // Per frame (by serial) and variable, the fingerprints of the values shown.
  std::map<uint64_t, std::map<std::string, Shown>> shown_;
};

}  // namespace zb::interp
