// The IDE's side of a debug session: which key does what in each state, and a session played
// from the compile tool's messages as they come over the pipe (a stop, the stack and the
// variables, a step back past the record's start, a command of the KeywordBox, a hovered name's
// value, the exit).
#include <gtest/gtest.h>

#include "compiler/DebugModel.h"

namespace {

using zb::debug::Json;
using S = DebugState;
using K = DebugKey;

constexpr unsigned F5 = DebugVirtualF5, F6 = DebugVirtualF6, F10 = DebugVirtualF10, F11 = DebugVirtualF11;

struct KeyCase {
  unsigned key;
  bool ctrl, shift;
  S state;
  K expected;
};

TEST(DebugKeys, EachKeyInEachState) {
  const KeyCase cases[] = {
      // No session: Ctrl+B and Ctrl+D only; every other key keeps its own command.
      {'B', true, false, S::Idle, K::ToggleBreakpoint}, {'D', true, false, S::Idle, K::Start},
      {F5, false, false, S::Idle, K::None}, {F5, false, true, S::Idle, K::None}, {F10, false, false, S::Idle, K::None},
      {F10, false, true, S::Idle, K::None}, {F11, false, false, S::Idle, K::None}, {F6, false, false, S::Idle, K::None},
      {DebugVirtualPause, false, false, S::Idle, K::None}, {'D', true, true, S::Idle, K::None},
      // Running: Ctrl+D and Pause stop it, Shift+F5 ends it, the stepping keys are told.
      {'D', true, false, S::Running, K::Pause}, {DebugVirtualPause, false, false, S::Running, K::Pause},
      {F5, false, true, S::Running, K::Stop}, {F10, false, false, S::Running, K::Busy}, {F10, false, true, S::Running, K::Busy},
      {F11, false, false, S::Running, K::Busy}, {F11, true, false, S::Running, K::None}, {'B', true, false, S::Running, K::ToggleBreakpoint},
      {F6, false, false, S::Running, K::None},
      // Stopped.
      {F5, false, false, S::Stopped, K::Continue}, {'D', true, false, S::Stopped, K::Continue},
      {F10, false, false, S::Stopped, K::StepOver}, {F11, false, false, S::Stopped, K::StepIn},
      {F11, false, true, S::Stopped, K::StepOut}, {F10, true, false, S::Stopped, K::RunToCaret},
      {F10, false, true, S::Stopped, K::StepBack}, {F5, false, true, S::Stopped, K::Stop},
      {F6, false, false, S::Stopped, K::NextFrame}, {F11, true, false, S::Stopped, K::None},
      {F5, true, false, S::Stopped, K::None}, {'M', true, false, S::Stopped, K::None}};
  for (const KeyCase& c : cases)
    EXPECT_EQ(DebugKeyFor(c.key, c.ctrl, c.shift, false, c.state), c.expected)
        << "key " << c.key << " ctrl " << c.ctrl << " shift " << c.shift << " state " << int(c.state);
  // AltGr (Ctrl and Alt together) types characters: never the debugger's.
  EXPECT_EQ(DebugKeyFor('D', true, false, true, S::Idle), K::None);
}

// The requests in framed bytes, as the compile tool reads them.
std::vector<Json> Requests(const std::string& bytes) {
  zb::debug::FrameReader reader;
  reader.Feed(bytes);
  std::vector<Json> all;
  Json m;
  std::string error;
  while (reader.Next(m, error)) all.push_back(m);
  return all;
}

std::string Commands(const std::string& bytes) {
  std::string names;
  for (const Json& r : Requests(bytes)) names += (names.empty() ? "" : " ") + r["command"].AsString();
  return names;
}

std::string EventBytes(std::string_view event, Json body) { return zb::debug::Frame(zb::debug::Event(1, event, std::move(body))); }

std::string Answer(const std::string& requestBytes, bool ok, Json body = Json::Object(), std::string_view message = "") {
  return zb::debug::Frame(zb::debug::Response(1, Requests(requestBytes).at(0), ok, message, std::move(body)));
}

Json StopBody(const std::string& path, int line, bool present = true, bool outputKept = false) {
  return Json::Object()
      .Set("reason", "step")
      .Set("source", Json::Object().Set("path", path).Set("name", path.substr(path.rfind('\\') + 1)))
      .Set("line", line)
      .Set("text", "")
      .Set("present", present)
      .Set("outputKept", outputKept);
}

// Splits framed requests one by one, so each can be answered.
std::vector<std::string> Each(const std::string& bytes) {
  std::vector<std::string> each;
  for (const Json& r : Requests(bytes)) each.push_back(zb::debug::Frame(r));
  return each;
}

TEST(DebugSessionModel, StopsStepsBackAndEnds) {
  DebugModel model;
  const std::string main = "C:\\work\\hanoi.zobas", inc = "C:\\work\\moves.inc";
  EXPECT_EQ(Commands(model.Begin(main, {{main, {12}}, {inc, {}}})), "initialize launch setBreakpoints setBreakpoints configurationDone");
  EXPECT_EQ(model.State(), S::Running);

  // A stop in the included file: the status names it; the stack and the variables are asked.
  DebugModel::Effects stop = model.Receive(EventBytes("stopped", StopBody("c:/WORK/moves.inc", 14)));
  EXPECT_EQ(model.State(), S::Stopped);
  EXPECT_TRUE(stop.showStop);
  EXPECT_EQ(stop.status, "Stopped at line 14 of moves.inc");
  std::vector<std::string> asked = Each(stop.send);
  ASSERT_EQ(asked.size(), 2u);
  Json frames = Json::Array();
  frames.Push(Json::Object().Set("text", "sub hanoi, line 14 of moves.inc").Set("line", 14).Set("source", Json::Object().Set("path", inc)));
  frames.Push(Json::Object().Set("text", "main program, line 20 of hanoi.zobas").Set("line", 20).Set("source", Json::Object().Set("path", main)));
  Json variables = Json::Array();
  variables.Push(Json::Object().Set("text", "n as int = 3").Set("changed", true));
  variables.Push(Json::Object().Set("text", "who as string = \"Ada\"").Set("changed", false));
  // Both answers in one read, cut in the middle of the second, as a pipe may deliver them.
  std::string answers = Answer(asked[0], true, Json::Object().Set("stackFrames", frames)) +
                        Answer(asked[1], true, Json::Object().Set("variables", variables));
  EXPECT_TRUE(model.Receive(answers.substr(0, answers.size() - 5)).panel);
  EXPECT_TRUE(model.Receive(answers.substr(answers.size() - 5)).panel);
  EXPECT_EQ(model.PanelText(),
            "\r\n\r\n\r\n* n as int = 3\r\n  who as string = \"Ada\"\r\nCall stack:\r\n> sub hanoi, line 14 of moves.inc\r\n"
            "  main program, line 20 of hanoi.zobas\r\n");
  EXPECT_EQ(model.FrameAtPanelLine(5), -1);
  EXPECT_EQ(model.FrameAtPanelLine(6), 0);
  EXPECT_EQ(model.FrameAtPanelLine(7), 1);
  EXPECT_EQ(model.FrameAtPanelLine(8), -1);

  // The other frame: its variables are asked, and the panel marks it.
  EXPECT_EQ(model.NextFrame(), 1);
  std::vector<Json> frameAsk = Requests(model.SelectFrame(1));
  ASSERT_EQ(frameAsk.size(), 1u);
  EXPECT_EQ(frameAsk[0]["arguments"]["frameId"].AsInt(), 1);
  EXPECT_NE(model.PanelText().find("> main program"), std::string::npos);

  // A command of the KeywordBox: the answer and then the variables again.
  std::string evaluate = model.Evaluate("? n * 2");
  EXPECT_EQ(Requests(evaluate).at(0)["arguments"]["expression"].AsString(), "? n * 2");
  DebugModel::Effects answered = model.Receive(Answer(evaluate, true, Json::Object().Set("result", "6")));
  EXPECT_EQ(Commands(answered.send), "variables");
  EXPECT_EQ(model.PanelText().substr(6, 14), "> ? n * 2\r\n6\r\n");
  std::string wrong = model.Evaluate("? nosuch");
  model.Receive(Answer(wrong, false, Json::Object(), "unknown name nosuch"));
  EXPECT_NE(model.PanelText().find("> ? nosuch\r\n! unknown name nosuch\r\n"), std::string::npos);

  // The mouse resting on a name: its value in a tip, never in the panel; no tip for a non-name.
  const std::string panel = model.PanelText();
  DebugModel::Effects tip = model.Receive(Answer(model.Hover("n", 40), true, Json::Object().Set("result", "3")));
  EXPECT_EQ(tip.tip, "n = 3");
  EXPECT_EQ(tip.tipPosition, 40u);
  EXPECT_EQ(model.Receive(Answer(model.Hover("print", 7), false, Json::Object(), "unknown name print")).tip, "");
  EXPECT_EQ(model.Hover("", 7), "");
  EXPECT_EQ(model.PanelText(), panel);

  // Stepping back: the first stop in the past says the output stays; past the start is told.
  std::string back = model.Command(K::StepBack, main, 1);
  EXPECT_EQ(Commands(back), "stepBack");
  EXPECT_EQ(model.Receive(EventBytes("stopped", StopBody(main, 19, false, true))).status,
            "Stopped at line 19, a step back (output already printed stays in the console)");
  EXPECT_EQ(model.Receive(EventBytes("stopped", StopBody(main, 18, false, true))).status, "Stopped at line 18, a step back");
  back = model.Command(K::StepBack, main, 1);
  DebugModel::Effects refused = model.Receive(Answer(back, false, Json::Object(), "the record of changes starts here"));
  EXPECT_EQ(refused.status, "the record of changes starts here");
  EXPECT_EQ(model.State(), S::Stopped);

  // Running to the caret names the caret's file and line; a refusal leaves it stopped.
  std::string runTo = model.Command(K::RunToCaret, main, 7);
  Json to = Requests(runTo).at(0);
  EXPECT_EQ(to["arguments"]["source"]["path"].AsString(), main);
  EXPECT_EQ(to["arguments"]["line"].AsInt(), 7);
  EXPECT_EQ(model.State(), S::Running);
  model.Receive(Answer(runTo, false, Json::Object(), "no statement runs at or after line 7 of hanoi.zobas"));
  EXPECT_EQ(model.State(), S::Stopped);

  // Keys that do not fit the state send nothing.
  EXPECT_EQ(model.Command(K::Pause, main, 1), "");
  EXPECT_EQ(Commands(model.Command(K::StepOver, main, 1)), "next");
  EXPECT_EQ(model.Command(K::StepOver, main, 1), "");
  EXPECT_EQ(model.Evaluate("? n"), "");
  EXPECT_EQ(Commands(model.Command(K::Pause, main, 1)), "pause");

  DebugModel::Effects exited = model.Receive(EventBytes("exited", Json::Object().Set("exitCode", 3)));
  EXPECT_TRUE(exited.ended);
  EXPECT_EQ(exited.status, "The program ended with exit code 3");
  EXPECT_EQ(model.State(), S::Idle);
}

TEST(DebugSessionModel, PanelLinesOfValuesStayOneLineEach) {
  // A value with a line break, no variables, a note of a watch.
  std::vector<DebugFrame> frames = {{"main program, line 2 of a.zobas", "a.zobas", 2}};
  EXPECT_EQ(DebugPanelText("n changed from 1 to 2", {}, {}, frames, 0),
            "\r\n\r\n\r\nn changed from 1 to 2\r\n  (no variables)\r\nCall stack:\r\n> main program, line 2 of a.zobas\r\n");
  EXPECT_EQ(DebugPanelText("", {"> ? s", "\"a\r\nb\""}, {{"s as string = \"a\nb\"", true}}, frames, 0),
            "\r\n\r\n\r\n> ? s\r\n\"a  b\"\r\n* s as string = \"a b\"\r\nCall stack:\r\n> main program, line 2 of a.zobas\r\n");
  EXPECT_EQ(DebugPanelFirstFrameLine("note", {"a", "b"}, {}), 8);
  EXPECT_EQ(StoppedText(4, "C:\\x\\Main.zobas", "c:/x/main.zobas"), "Stopped at line 4");
  EXPECT_EQ(StoppedText(4, "C:\\x\\lib.inc", "c:/x/main.zobas"), "Stopped at line 4 of lib.inc");
}

}  // namespace
