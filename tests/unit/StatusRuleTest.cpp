// The status bar's rule: which message stands after which action.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "base/StatusRule.h"

namespace {
// One step of a session: an action's message (at the caret's place or not), a caret move, an
// error marked or mended, or a document loaded; then what the bar says.
struct Step {
  enum Kind { Say, SayAt, Caret, Error, Forget } kind;
  std::string text;
  int line;
  std::string shows;
};
}  // namespace

TEST(StatusRule, AMessageStandsUntilAnotherSpeaksOrTheCaretLeavesItsPlace) {
  const std::string idle = "Compiler ZorvexBasic 2017-24";
  const std::vector<std::vector<Step>> sessions = {
      // F12, then Shift+F12 back: the target's message goes with the caret.
      {{Step::Caret, "", 19, idle},
       {Step::SayAt, "function square, line 12", 12, "function square, line 12"},
       {Step::Caret, "", 12, "function square, line 12"},
       {Step::Caret, "", 19, idle}},
      // F6 through a listing, then Ctrl+Shift+M lists the bookmarks: the new listing speaks.
      {{Step::SayAt, "Listing line 2 of 3", 7, "Listing line 2 of 3"},
       {Step::Say, "2 places listed: F6 and Shift+F6 go through them", 0,
        "2 places listed: F6 and Shift+F6 go through them"}},
      // An error mended brings back no old listing message.
      {{Step::SayAt, "Listing line 9 of 39", 4, "Listing line 9 of 39"},
       {Step::Caret, "", 5, idle},
       {Step::Error, "(5): unknown name y", 5, "(5): unknown name y"},
       {Step::Error, "", 0, idle}},
      // An error is named wherever the caret is, with the key that goes to it.
      {{Step::Caret, "", 1, idle},
       {Step::Error, "(5): unknown name y", 5, "(5): unknown name y (Ctrl+F6 goes to line 5)"},
       {Step::Caret, "", 5, "(5): unknown name y"},
       {Step::Caret, "", 2, "(5): unknown name y (Ctrl+F6 goes to line 5)"},
       {Step::Say, "Nothing to go back to", 0, "Nothing to go back to"},
       {Step::Caret, "", 3, "Nothing to go back to"},  // not about a place: it stands
       {Step::Error, "(6): unknown name y", 6, "Nothing to go back to"},
       {Step::Forget, "", 0, "(6): unknown name y (Ctrl+F6 goes to line 6)"}},
      // A message about a place stands while the caret stays; another action replaces it.
      {{Step::SayAt, "sub hanoi, line 3 of lib.inc", 3, "sub hanoi, line 3 of lib.inc"},
       {Step::Say, "No name at the caret", 0, "No name at the caret"},
       {Step::Caret, "", 9, "No name at the caret"}},
  };
  for (size_t n = 0; n < sessions.size(); ++n) {
    StatusRule rule(idle);
    for (const Step& step : sessions[n]) {
      switch (step.kind) {
        case Step::Say: rule.Say(step.text); break;
        case Step::SayAt: rule.SayAt(step.text, step.line); break;
        case Step::Caret: rule.CaretAt(step.line); break;
        case Step::Error: rule.MarkError(step.text, step.line); break;
        case Step::Forget: rule.Forget(); break;
      }
      EXPECT_EQ(rule.Text(), step.shows) << "session " << n << ", after " << step.text << " " << step.line;
    }
  }
}

TEST(StatusRule, CountsAgreeInNumber) {
  EXPECT_EQ(Counted(1, "file"), "1 file");
  EXPECT_EQ(Counted(2, "file"), "2 files");
  EXPECT_EQ(Counted(0, "line"), "0 lines");
}
