// One debug session: the protocol's requests (DebugProtocol.h) taken from a byte stream and
// carried out on the debugged program, their responses and the events sent back. Platform-free:
// the compile tool connects it to a named pipe, the tests to a buffer.
//
// Requests (arguments in braces; every response has "success", and "message" when it failed):
//   initialize {}                              body {"protocol": "zorvex-debug", "version": 1,
//                                              "supportsStepBack": true}; then the event
//                                              "initialized"
//   launch {"stopOnEntry": b, "record": b,     how the program runs: stop before the first
//           "recordBytes": n}                  statement, keep the record of changes that stepping
//                                              back needs (in n bytes, 64 MB when left out)
//   setBreakpoints {"source": {"path": p},     the file's breakpoints, all at once; body
//                   "lines": [n, ...]}         {"breakpoints": [{"line": n, "verified": b}]}, the
//                                              line a breakpoint stops at (a line without a
//                                              statement stops at the next one below it)
//   configurationDone {}                       the program starts
//   continue, next, stepIn, stepOut {}         go on; the next stop comes as a "stopped" event
//   runTo {"source": {"path": p}, "line": n}   go on up to that line
//   stepBack {}                                one statement back; a "stopped" event follows,
//                                              or the response fails with the reason
//   pause {}                                   stop at the next statement
//   terminate {}, disconnect {}                end the program
//   stackTrace {}                              body {"stackFrames": [{"id": k, "name": "sub
//                                              hanoi", "line": n, "source": {"path": p, "name":
//                                              "moves.inc"}, "text": "sub hanoi, line 14 of
//                                              moves.inc"}], "totalFrames": n}, innermost first
//   variables {"frameId": k}                   body {"variables": [{"name", "type", "value",
//                                              "scope": "local"|"global", "changed": b, "text":
//                                              "name as type = value"}]}
//   evaluate {"expression": t, "frameId": k}   t is what the user typed: "? expression" (or the
//                                              expression alone), "let place = expression",
//                                              "watch place", "when condition", "unwatch"; body
//                                              {"result": text}, or a failed response whose
//                                              message is the error in the language's words
// Events:
//   initialized {}
//   stopped {"reason": "entry"|"breakpoint"|"step"|"pause"|"watch"|"when"|"error"|"runTo",
//            "source": {"path": p, "name": n}, "line": n, "text": what happened,
//            "present": b (false after stepping back), "outputKept": b (stepping back passed
//            output, which stays in the console; said once), "threadId": 1}
//   output {"category": "error"|"notice", "output": text}: a run-time error's line, a notice
//   exited {"exitCode": n}, then terminated {}
// A request that does not fit the moment (inspecting a running program) fails with a message.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "zorbasic/DebugProtocol.h"
#include "zorbasic/Debugger.h"

namespace zb {

class DebugSession final : public DebugDriver {
 public:
  // send writes the bytes of one message to the other side; it is called from the program's
  // thread and, for answers to requests that came while it runs, from the same thread too.
  explicit DebugSession(std::function<void(const std::string& bytes)> send) : send_(std::move(send)) {}

  // Bytes from the other side, from any thread.
  void Received(std::string_view bytes);
  // The other side went away: the program is ended at its next statement.
  void Closed();
  // Whether the other side asked to end the program (a program waiting for console input
  // takes no request, so the transport may have to end it itself).
  bool Ending() const { return ending_.load(); }

  // Takes the start (initialize, launch, breakpoints, configurationDone), runs the program
  // under the debugger, and sends "exited" and "terminated". Returns the exit code, with the
  // error line as Run gives it.
  int Run(const Program& prog, Host& host, std::string& error, int maxDepth = MaxCallDepth);

  void Starting(DebugTarget& target) override;
  void Stopped(DebugTarget& target, const StopInfo& stop) override;
  void Attend(DebugTarget& target) override;

 private:
  // The next request: false when the other side went away (or, without wait, when none came).
  bool Take(debug::Json& request, bool wait);
  void Send(debug::Json message);
  void Answer(const debug::Json& request, bool ok, std::string_view message = "", debug::Json body = debug::Json::Object());
  void SendStopped(const StopInfo& stop);
  // Carries out a request; true when it lets the program go on.
  bool Serve(DebugTarget& target, const debug::Json& request, bool stopped);
  void Breakpoints(DebugTarget& target, const debug::Json& request);
  size_t FrameArgument(const debug::Json& request) const;

  std::function<void(const std::string&)> send_;
  std::mutex sendMutex_;
  int64_t seq_ = 0;

  std::mutex mutex_;  // guards the requests that came and the stream's state
  std::condition_variable arrived_;
  debug::FrameReader reader_;
  std::deque<debug::Json> requests_;
  bool closed_ = false;
  std::atomic<bool> ending_{false};

  bool inStop_ = false;  // Stopped is taking requests (an expression may run a procedure meanwhile)
};

}  // namespace zb
