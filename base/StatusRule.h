// What the status bar says, as a rule of which message stands after which action. Platform-free.
// A message belongs to the action that set it: it goes when another action speaks, and a
// message about a place (where F12 or F6 went) goes as soon as the caret leaves that line.
// With nothing else to say, an error marked in the document is named with its line and the
// key that goes there; with no error either, the program's own line shows.
#pragma once
#include <string>

class StatusRule {
 public:
  explicit StatusRule(std::string idle) : idle_(std::move(idle)) {}

  // An action's message; it stands until another action speaks.
  void Say(std::string text);
  // An action's message about the caret's place, line (1-based): it stands while the caret
  // stays on that line and no other action speaks.
  void SayAt(std::string text, int line);
  // The caret is on line now (1-based).
  void CaretAt(int line);
  // The action's message goes: what stands below it shows.
  void Forget();
  // The error the last check marked: its message as it reads on its line and the line its mark
  // is on now (1-based); line 0 when there is none.
  void MarkError(std::string message, int line);

  // What the status bar shows now.
  std::string Text() const;

 private:
  std::string idle_;
  std::string said_;
  bool saidAtPlace_ = false;
  bool speaks_ = false;
  int placeLine_ = 0;
  int caretLine_ = 0;
  std::string error_;
  int errorLine_ = 0;
};

// The error named where the caret is not on its line: the message and that Ctrl+F6 goes there.
std::string ErrorElsewhereText(const std::string& message, int line);
// A count and its noun, in number: "1 file", "2 files", "0 lines".
std::string Counted(long long count, const std::string& noun);
