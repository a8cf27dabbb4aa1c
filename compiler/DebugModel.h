// The IDE's side of a debug session, free of any window code: which key does what in which
// state of the session, the requests sent to the compile tool (the protocol of
// zorbasic/DebugProtocol.h), and what the answers and events make the IDE show: the stopped
// place, the status bar's line, the listing panel's variables and call stack, the exit code.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "zorbasic/DebugProtocol.h"

enum class DebugState { Idle, Running, Stopped };

// What a key does for the debugger; None leaves the key to what it does without one.
enum class DebugKey {
  None,
  ToggleBreakpoint,  // Ctrl+B, in any state
  Start,             // Ctrl+D with no session
  Pause,             // Ctrl+D or Pause while the program runs
  Busy,              // a stepping key while the program runs: told, nothing else
  Continue,          // F5 or Ctrl+D while stopped
  StepOver,          // F10
  StepIn,            // F11
  StepOut,           // Shift+F11
  RunToCaret,        // Ctrl+F10
  StepBack,          // Shift+F10
  Stop,              // Shift+F5 in a session
  NextFrame,         // F6 while stopped: the next frame of the call stack
};

// Virtual keys the debugger takes (the platform's values).
constexpr unsigned DebugVirtualPause = 0x13;
constexpr unsigned DebugVirtualF5 = 0x74;
constexpr unsigned DebugVirtualF6 = 0x75;
constexpr unsigned DebugVirtualF10 = 0x79;
constexpr unsigned DebugVirtualF11 = 0x7A;

DebugKey DebugKeyFor(unsigned key, bool ctrl, bool shift, bool alt, DebugState state);

// The breakpoints of one file: its full path and its 1-based lines.
struct FileBreakpoints {
  std::string path;
  std::vector<int> lines;
};

// One line of the call stack as the compile tool gives it.
struct DebugFrame {
  std::string text;  // "sub hanoi, line 14 of moves.inc"
  std::string path;
  int line = 0;
};

// One variable of a frame.
struct DebugVariable {
  std::string text;  // "name as type = value"
  bool changed = false;
};

// The variables and the call stack as the listing panel shows them: three empty lines (the
// KeywordBox stands over them while the program is stopped), the stop's note, the
// answers to the KeywordBox's commands, the frame's variables ("*" before a value changed since
// the last stop), then the call stack with ">" before the frame shown.
std::string DebugPanelText(const std::string& note, const std::vector<std::string>& answers,
                           const std::vector<DebugVariable>& variables, const std::vector<DebugFrame>& frames,
                           int shownFrame);
// The 0-based line of the panel's text where the call stack's first frame stands.
int DebugPanelFirstFrameLine(const std::string& note, const std::vector<std::string>& answers,
                             const std::vector<DebugVariable>& variables);

// "Stopped at line N", with " of name" when the stop is not in the program's main source.
std::string StoppedText(int line, std::string_view path, std::string_view mainPath);
// Two paths name one file (letter case and the kind of slash ignored, as Windows names files).
bool SamePath(std::string_view a, std::string_view b);

// One session: sends requests and reads what comes back.
class DebugModel {
 public:
  // What one batch of bytes from the compile tool asks the IDE to do.
  struct Effects {
    std::string send;           // framed requests to write to the pipe
    std::string status;         // a new status bar line, empty for none
    bool showStop = false;      // the stopped place changed: show stopPath/stopLine
    bool panel = false;         // the panel's text changed
    bool ended = false;         // the program said it ended (exitCode)
    std::string tip;            // a hovered name's value to show at tipPosition, empty for none
    size_t tipPosition = 0;
  };

  // The framed requests that start a session on mainPath with these breakpoints.
  std::string Begin(const std::string& mainPath, const std::vector<FileBreakpoints>& breakpoints);
  // Bytes read from the pipe.
  Effects Receive(std::string_view bytes);
  // The request of a key in a stopped or running session; "" when it sends none.
  std::string Command(DebugKey key, const std::string& caretPath, int caretLine);
  // A file's breakpoints changed while the session runs.
  std::string Breakpoints(const FileBreakpoints& file);
  // A command typed into the KeywordBox while stopped.
  std::string Evaluate(const std::string& text);
  // The value of a name the mouse rests on at position of the editor's text, for a tip.
  std::string Hover(const std::string& name, size_t position);
  // Shows frame k of the call stack (its line and its variables); "" when there is no such frame.
  std::string SelectFrame(int k);
  // The frame whose line of the panel is line (0-based); -1 when that line is no frame.
  int FrameAtPanelLine(int line) const;
  // The next frame after the one shown, wrapping around.
  int NextFrame() const;

  DebugState State() const { return state_; }
  // Requests sent that were not answered yet.
  bool AwaitsAnswers() const { return !pending_.empty(); }
  const std::string& MainPath() const { return mainPath_; }
  const std::string& StopPath() const { return stopPath_; }
  int StopLine() const { return stopLine_; }
  int ExitCode() const { return exitCode_; }
  bool Ended() const { return ended_; }
  std::string PanelText() const;
  const std::vector<DebugVariable>& Variables() const { return variables_; }
  const std::vector<DebugFrame>& Frames() const { return frames_; }

 private:
  std::string Ask(std::string_view command, zb::debug::Json arguments = zb::debug::Json::Object());
  void Take(const zb::debug::Json& message, Effects& out);
  void Stopped(const zb::debug::Json& body, Effects& out);
  void Answered(const std::string& command, const zb::debug::Json& message, Effects& out);

  zb::debug::FrameReader reader_;
  int64_t seq_ = 0;
  std::map<int64_t, std::string> pending_;  // request seq -> what was asked ("evaluate ...")
  DebugState state_ = DebugState::Idle;
  std::string mainPath_;
  std::string stopPath_;
  int stopLine_ = 0;
  std::string note_;
  std::vector<std::string> answers_;
  std::vector<DebugVariable> variables_;
  std::vector<DebugFrame> frames_;
  int shownFrame_ = 0;
  bool outputKeptTold_ = false;
  bool ended_ = false;
  int exitCode_ = 0;
};
