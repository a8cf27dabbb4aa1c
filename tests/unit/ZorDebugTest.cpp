// The debugger: the protocol's messages and frames, and scripted sessions against the
// interpreter (stops, steps, values, expressions, watches, stepping back and forward), each
// checked against the console text of a plain run of the same program.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "zorbasic/DebugProtocol.h"
#include "zorbasic/DebugSession.h"
#include "zorbasic/Front.h"
#include "zorbasic/Interp.h"
#include "zorbasic/native/BigStack.h"

namespace {

using zb::debug::Json;

// --- the protocol

TEST(ZorDebugProtocol, ValuesRoundTripWithEveryByte) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
  Json m = Json::Object();
  m.Set("text", bytes).Set("n", 42).Set("f", 2.5).Set("neg", -7).Set("yes", true).Set("none", nullptr);
  Json list = Json::Array();
  list.Push(1).Push("two").Push(Json::Object().Set("three", 3));
  m.Set("list", list);
  Json back;
  std::string error;
  ASSERT_TRUE(Json::Parse(m.Write(), back, error)) << error;
  EXPECT_EQ(back["text"].AsString(), bytes);
  EXPECT_EQ(back["n"].AsInt(), 42);
  EXPECT_EQ(back["f"].AsNumber(), 2.5);
  EXPECT_EQ(back["neg"].AsInt(), -7);
  EXPECT_TRUE(back["yes"].AsBool());
  EXPECT_TRUE(back["none"].IsNull());
  EXPECT_EQ(back["list"][1].AsString(), "two");
  EXPECT_EQ(back["list"][2]["three"].AsInt(), 3);
  EXPECT_TRUE(back["missing"]["deeper"].IsNull());
  EXPECT_EQ(back.Write(), m.Write());
}

TEST(ZorDebugProtocol, DamagedTextIsRefusedWithAReason) {
  const char* bad[] = {"", "{", "{\"a\" 1}", "[1,]", "\"open", "{\"a\":1} x", "tru", "\"\\u12\"", "1e999",
                       "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]"};
  for (const char* text : bad) {
    Json v;
    std::string error;
    EXPECT_FALSE(Json::Parse(text, v, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(ZorDebugProtocol, FramesComeBackWholeFromPiecesOfAnySize) {
  std::string stream;
  for (int k = 1; k <= 20; ++k) {
    Json args = Json::Object();
    args.Set("expression", "? x & \"" + std::string(static_cast<size_t>(k * 37), 'y') + "\xe9\"");
    stream += zb::debug::Frame(zb::debug::Request(k, "evaluate", args));
  }
  for (size_t piece : {size_t{1}, size_t{3}, size_t{17}, size_t{4096}}) {
    zb::debug::FrameReader reader;
    std::vector<Json> got;
    for (size_t at = 0; at < stream.size(); at += piece) {
      reader.Feed(std::string_view(stream).substr(at, piece));
      Json m;
      std::string error;
      while (reader.Next(m, error)) got.push_back(m);
      EXPECT_EQ(error, "");
    }
    ASSERT_EQ(got.size(), 20u) << piece;
    EXPECT_EQ(got[19]["seq"].AsInt(), 20);
    EXPECT_EQ(got[19]["arguments"]["expression"].AsString(), "? x & \"" + std::string(740, 'y') + "\xe9\"");
  }
}

TEST(ZorDebugProtocol, BytesThatAreNoMessageAreSkippedAndTheNextMessageIsRead) {
  const std::string good = zb::debug::Frame(zb::debug::Request(7, "pause"));
  const std::string cases[] = {
      "garbage" + good,
      "Content-Length: 5\r\n\r\nnope!" + good,
      "Content-Length: x\r\n\r\n" + good,
      "Content-Length: 99999999999\r\n\r\n" + good,
      "Content-Length: 3\r\n\r\n[1]" + good,
  };
  for (const std::string& text : cases) {
    zb::debug::FrameReader reader;
    reader.Feed(text);
    Json m;
    std::string error;
    bool got = reader.Next(m, error);
    ASSERT_TRUE(got) << text.substr(0, 30);
    EXPECT_EQ(m["command"].AsString(), "pause");
    EXPECT_NE(error, "") << text.substr(0, 30);
  }
  Json answer = zb::debug::Response(3, zb::debug::Request(7, "evaluate"), false, "unknown name y");
  EXPECT_EQ(answer.Write(),
            "{\"seq\":3,\"type\":\"response\",\"request_seq\":7,\"command\":\"evaluate\",\"success\":false,"
            "\"message\":\"unknown name y\",\"body\":{}}");
}

// --- sessions

class TestHost : public zb::Host {
 public:
  explicit TestHost(std::string input) : input_(std::move(input)) {}
  void Write(std::string_view text) override { out.append(text); }
  bool ReadLine(std::string& line) override {
    if (at_ >= input_.size()) return false;
    size_t end = input_.find('\n', at_);
    if (end == std::string::npos) end = input_.size();
    line = input_.substr(at_, end - at_);
    at_ = end + 1;
    return true;
  }
  void ShowBox(const std::string& text) override { out += "[box " + text + "]\n"; }
  std::string out;

 private:
  std::string input_;
  size_t at_ = 0;
};

using Files = std::map<std::string, std::string>;

zb::SourceReader ReaderOf(const Files& files) {
  return [files](const std::string& path, std::string& text, std::string& why) {
    auto it = files.find(path);
    if (it == files.end()) return why = "no such file", false;
    text = it->second;
    return true;
  };
}

// A plain run's console text, with the error line after it.
std::string PlainRun(const std::string& source, const std::string& input, const Files& files = {}) {
  std::string out;
  zbnative::RunOnToolStack([&](uintptr_t floor) {
    zb::Program prog;
    prog.stackFloor = floor;
    std::vector<std::string> errors;
    if (!zb::LoadProgram("t.zobas", source, ReaderOf(files), prog, errors)) return 1;
    TestHost host(input);
    std::string error;
    int code = zb::Run(prog, host, error);
    out = host.out + (code ? error + "\n" : "");
    return code;
  });
  return out;
}

// The IDE's side of a session: requests out, responses and events back, the program on a
// thread of its own with the tools' stack.
class Client {
 public:
  Client(const std::string& source, const std::string& input, const Files& files = {})
      : session_([this](const std::string& bytes) { Deliver(bytes); }) {
    runner_ = std::thread([this, source, input, files] {
      zbnative::RunOnToolStack([&](uintptr_t floor) {
        zb::Program prog;
        prog.stackFloor = floor;
        std::vector<std::string> errors;
        if (!zb::LoadProgram("t.zobas", source, ReaderOf(files), prog, errors)) {
          ADD_FAILURE() << errors.front();
          std::lock_guard<std::mutex> lock(mutex_);
          ended_ = true;
          arrived_.notify_all();
          return 1;
        }
        TestHost host(input);
        std::string error;
        int code = session_.Run(prog, host, error);
        std::lock_guard<std::mutex> lock(mutex_);
        console_ = host.out + (error.empty() ? "" : error + "\n");
        return code;
      });
    });
  }
  ~Client() {
    session_.Closed();
    if (runner_.joinable()) runner_.join();
  }

  // Sends a request and waits for its response; events before it are kept for Event. A second
  // request may go in the same bytes, to come while the first is being carried out.
  Json Ask(const std::string& command, Json args = Json::Object(), const std::string& meanwhile = "") {
    int64_t seq = ++seq_;
    std::string bytes = zb::debug::Frame(zb::debug::Request(seq, command, std::move(args)));
    if (!meanwhile.empty()) bytes += zb::debug::Frame(zb::debug::Request(1000 + seq, meanwhile));
    session_.Received(bytes);
    for (;;) {
      Json m = Next();
      if (m.IsNull()) return m;
      if (m["type"].AsString() == "response" && m["request_seq"].AsInt() == seq) return m;
      events_.push_back(m);
    }
  }
  // The next event but "initialized" (of those kept first), or null after a long wait.
  Json Event() {
    for (;;) {
      Json e;
      if (!events_.empty()) {
        e = events_.front();
        events_.pop_front();
      } else {
        e = Next();
      }
      if (e["event"].AsString() != "initialized") return e;
    }
  }
  // The console once the program has ended.
  std::string Console() {
    if (runner_.joinable()) runner_.join();
    return console_;
  }

 private:
  void Deliver(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    reader_.Feed(bytes);
    Json m;
    std::string error;
    while (reader_.Next(m, error)) messages_.push_back(m);
    arrived_.notify_all();
  }
  Json Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_for(lock, std::chrono::seconds(30), [&] { return !messages_.empty() || ended_; }) || messages_.empty()) {
      ADD_FAILURE() << "no message from the session";
      return Json();
    }
    Json m = messages_.front();
    messages_.pop_front();
    return m;
  }

  zb::DebugSession session_;
  std::thread runner_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  zb::debug::FrameReader reader_;
  std::deque<Json> messages_, events_;
  std::string console_;
  bool ended_ = false;  // the program could not be loaded
  int64_t seq_ = 0;
};

Json Path(const std::string& path) { return Json::Object().Set("path", path); }

// Runs a script of commands, one a line, and gives back what the session answered, one line
// each (stops, answers, stacks, variables, the exit):
//   launch [entry] [record [bytes]]   the start's options (before start)
//   break [file] n...    the breakpoints of t.zobas, or of a file named first
//   start                configurationDone
//   continue | next | in | out | back | pause | to n
//   back until           steps back until it cannot, and says how often it could
//   stack | vars [frame]
//   anything else        evaluated in frame 0 (with "@k " in front: in frame k)
std::string RunScript(Client& c, const std::string& script) {
  std::ostringstream out;
  auto event = [&](bool expectStop) {
    for (;;) {
      Json e = c.Event();
      if (e.IsNull()) return;
      const std::string& name = e["event"].AsString();
      const Json& b = e["body"];
      if (name == "stopped") {
        out << "stop " << b["reason"].AsString() << " " << b["source"]["name"].AsString() << ":" << b["line"].AsInt();
        if (!b["text"].AsString().empty()) out << " (" << b["text"].AsString() << ")";
        if (!b["present"].AsBool(true)) out << " past";
        if (b["outputKept"].AsBool()) out << " output kept";
        out << "\n";
        return;
      }
      if (name == "output") out << "output " << b["category"].AsString() << ": " << b["output"].AsString() << "\n";
      if (name == "exited") {
        out << "exit " << b["exitCode"].AsInt() << "\n";
        return;
      }
      if (!expectStop) return;
    }
  };
  auto failed = [&](const Json& r) {
    if (!r["success"].AsBool()) out << "! " << r["message"].AsString() << "\n";
    return !r["success"].AsBool();
  };
  Json launch = Json::Object();
  std::istringstream lines(script);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "launch") {
      for (std::string w; words >> w;) {
        if (w == "entry") launch.Set("stopOnEntry", true);
        else if (w == "record") launch.Set("record", true);
        else launch.Set("recordBytes", std::stoi(w));
      }
    } else if (word == "break") {
      std::string file = "t.zobas";
      Json list = Json::Array();
      for (std::string w; words >> w;) {
        if (std::isdigit(static_cast<unsigned char>(w[0]))) list.Push(std::stoi(w));
        else file = w;
      }
      Json r = c.Ask("setBreakpoints", Json::Object().Set("source", Path(file)).Set("lines", list));
      const Json& placed = r["body"]["breakpoints"];
      for (size_t k = 0; k < placed.Size(); ++k)
        if (placed[k]["line"].AsInt() != list[k].AsInt()) out << "breakpoint " << list[k].AsInt() << " at " << placed[k]["line"].AsInt() << "\n";
    } else if (word == "start") {
      c.Ask("initialize");
      c.Ask("launch", launch);
      c.Ask("configurationDone");
      event(true);
    } else if (word == "continue" || word == "next" || word == "in" || word == "out" || word == "to") {
      std::string command = word == "in" ? "stepIn" : word == "out" ? "stepOut" : word == "to" ? "runTo" : word;
      Json args = Json::Object();
      if (word == "to") {
        int n = 0;
        words >> n;
        args.Set("source", Path("t.zobas")).Set("line", n);
      }
      if (!failed(c.Ask(command, args))) event(true);
    } else if (word == "pause") {
      c.Ask("pause");
      event(true);
    } else if (word == "back") {
      std::string until;
      words >> until;
      int n = 0;
      for (;;) {
        Json r = c.Ask("stepBack");
        if (!r["success"].AsBool()) {
          if (until.empty()) failed(r);
          else out << "back " << (n > 20 ? std::string("many") : std::to_string(n)) << " times: " << r["message"].AsString() << "\n";
          break;
        }
        ++n;
        if (until.empty()) {
          event(true);
          break;
        }
        c.Event();  // the stop each step gives
      }
    } else if (word == "stack") {
      Json r = c.Ask("stackTrace");
      for (size_t k = 0; k < r["body"]["stackFrames"].Size(); ++k) out << "  " << r["body"]["stackFrames"][k]["text"].AsString() << "\n";
    } else if (word == "vars") {
      int frame = 0;
      words >> frame;
      Json r = c.Ask("variables", Json::Object().Set("frameId", frame));
      for (size_t k = 0; k < r["body"]["variables"].Size(); ++k) {
        const Json& v = r["body"]["variables"][k];
        out << (v["changed"].AsBool() ? "  *" : "   ") << v["text"].AsString() << "\n";
      }
    } else {
      int frame = 0;
      std::string text = line;
      if (line.rfind("@", 0) == 0) {
        frame = std::stoi(line.substr(1));
        text = line.substr(line.find(' ') + 1);
      }
      Json r = c.Ask("evaluate", Json::Object().Set("expression", text).Set("frameId", frame));
      if (!failed(r)) out << "= " << r["body"]["result"].AsString() << "\n";
    }
  }
  return out.str();
}

struct SessionCase {
  const char* what;
  const char* source;
  const char* input;
  const char* script;
  const char* expected;
  bool changes = false;  // the script changes values: the console differs from a plain run's
};

const char* const Hanoi =
    "dim moves as int\n"                                    // 1
    "sub hanoi(n as int, a as string, b as string, c as string)\n"  // 2
    "  if n = 0 then exit sub\n"                            // 3
    "  hanoi n - 1, a, c, b\n"                              // 4
    "  moves = moves + 1\n"                                 // 5
    "  print a; \"->\"; c\n"                                // 6
    "  hanoi n - 1, b, a, c\n"                              // 7
    "end sub\n"                                             // 8
    "hanoi 2, \"A\", \"B\", \"C\"\n"                         // 9
    "print moves\n";                                        // 10

const char* const Inputs =
    "dim total as int\n"             // 1
    "dim x as int\n"                 // 2
    "for i = 1 to 3\n"               // 3
    "  input \"n? \", x\n"           // 4
    "  total = total + x\n"          // 5
    "next\n"                         // 6
    "print \"total\"; total\n";      // 7

const char* const Squares =
    "function sq(n as int) as int\n"  // 1
    "  dim r as int\n"                // 2
    "  r = n * n\n"                   // 3
    "  return r\n"                    // 4
    "end function\n"                  // 5
    "dim a as int\n"                  // 6
    "a = sq(3)\n"                     // 7
    "a = a + sq(4)\n"                 // 8
    "print a\n";                      // 9

const char* const Values =
    "type point\n  x as int\n  y as int\nend type\n"            // 1-4
    "dim p as point\n"                                           // 5
    "dim names(3) as string\n"                                   // 6
    "function twice(n as int) as int\n  return n * 2\nend function\n"  // 7-9
    "p.x = 3: p.y = 4\n"                                         // 10
    "names(2) = \"Ada\"\n"                                       // 11
    "dim ok as bool = p.x < p.y\n"                               // 12
    "print \"done\"; p.x\n";                                     // 13

const SessionCase Sessions[] = {
    {"a breakpoint stops each time its line runs; the stack and the variables show the frames", Hanoi, "",
     "break 5\nstart\nstack\nvars\ncontinue\nvars\nvars 1\nbreak\ncontinue\n",
     "stop breakpoint t.zobas:5\n"
     "  sub hanoi, line 5 of t.zobas\n  sub hanoi, line 4 of t.zobas\n  main program, line 9 of t.zobas\n"
     "   n as int = 1\n   a as string = \"A\"\n   b as string = \"C\"\n   c as string = \"B\"\n   moves as int = 0\n"
     "stop breakpoint t.zobas:5\n"
     "   n as int = 2\n   a as string = \"A\"\n   b as string = \"B\"\n   c as string = \"C\"\n  *moves as int = 1\n"
     "  *moves as int = 1\n"
     "exit 0\n"},
    {"a breakpoint on a line without a statement stops at the next one below it", Hanoi, "",
     "break 2 8\nstart\ncontinue\n",
     "breakpoint 2 at 3\nbreakpoint 8 at 9\nstop breakpoint t.zobas:9\nstop breakpoint t.zobas:3\n"},
    {"step over, into and out", Hanoi, "",
     "launch entry\nstart\nnext\nin\nnext\nin\nout\nout\nnext\n",
     "stop entry t.zobas:1\nstop step t.zobas:9\nstop step t.zobas:3\nstop step t.zobas:4\nstop step t.zobas:3\n"
     "stop step t.zobas:5\nstop step t.zobas:10\nexit 0\n"},
    {"run to a line", Hanoi, "",
     "launch entry\nstart\nto 6\nstack\nto 10\ncontinue\n",
     "stop entry t.zobas:1\nstop runTo t.zobas:6\n  sub hanoi, line 6 of t.zobas\n  sub hanoi, line 4 of t.zobas\n"
     "  main program, line 9 of t.zobas\nstop runTo t.zobas:10\nexit 0\n"},
    {"stepping into a call and out of it again", Hanoi, "",
     "break 9\nstart\nin\nstack\nnext\nin\nstack\nout\nstack\nout\ncontinue\n",
     "stop breakpoint t.zobas:9\nstop step t.zobas:3\n  sub hanoi, line 3 of t.zobas\n  main program, line 9 of t.zobas\n"
     "stop step t.zobas:4\nstop step t.zobas:3\n  sub hanoi, line 3 of t.zobas\n  sub hanoi, line 4 of t.zobas\n  main program, line 9 of t.zobas\n"
     "stop step t.zobas:5\n  sub hanoi, line 5 of t.zobas\n  main program, line 9 of t.zobas\nstop step t.zobas:10\nexit 0\n"},
    {"stepping back over input replays the lines already read", Inputs, "5\n7\n11\n",
     "launch record\nbreak 5\nstart\ncontinue\n? x\nback\n? x\nback\n? x\n? total\nback\nnext\nnext\n? total\nnext\n? x\nbreak\ncontinue\n",
     "stop breakpoint t.zobas:5\nstop breakpoint t.zobas:5\n= 7\nstop step t.zobas:4 past output kept\n= 5\nstop step t.zobas:5 past\n= 5\n= 0\n"
     "stop step t.zobas:4 past\nstop breakpoint t.zobas:5 past\nstop step t.zobas:4 past\n= 5\nstop breakpoint t.zobas:5\n= 7\nexit 0\n"},
    {"stepping back out of calls restores the call stack, and stepping forward reaches the present", Squares, "",
     "launch record\nbreak 9\nstart\nback\nstack\nvars\nback\nback\nback\nstack\n? a\nin\nstack\nnext\nnext\nnext\n? a\ncontinue\n",
     "stop breakpoint t.zobas:9\nstop step t.zobas:4 past\n  function sq, line 4 of t.zobas\n  main program, line 8 of t.zobas\n"
     "   n as int = 4\n   r as int = 16\n   a as int = 9\n"
     "stop step t.zobas:3 past\nstop step t.zobas:2 past\nstop step t.zobas:8 past\n  main program, line 8 of t.zobas\n= 9\n"
     "stop step t.zobas:2 past\n  function sq, line 2 of t.zobas\n  main program, line 8 of t.zobas\n"
     "stop step t.zobas:3 past\nstop step t.zobas:4 past\nstop breakpoint t.zobas:9\n= 25\nexit 0\n"},
    {"stepping back past output says once that it stays in the console", Hanoi, "",
     "launch record\nbreak 10\nstart\nback\nback\nback\nback\nback\nback\ncontinue\ncontinue\n",
     "stop breakpoint t.zobas:10\nstop step t.zobas:3 past\nstop step t.zobas:7 past\nstop step t.zobas:6 past output kept\n"
     "stop step t.zobas:5 past\nstop step t.zobas:3 past\nstop step t.zobas:4 past\nstop breakpoint t.zobas:10\nexit 0\n"},
    {"stepping back needs the record, and stops at the program's first statement", Squares, "",
     "launch entry\nstart\nback\nnext\ncontinue\n",
     "stop entry t.zobas:6\n! stepping back needs the record of changes, which this session does not keep\nstop step t.zobas:7\nexit 0\n"},
    {"stepping back to the program's first statement, then forward to the end", Squares, "",
     "launch record\nbreak 9\nstart\nback until\n? a\ncontinue\n? a\ncontinue\n",
     "stop breakpoint t.zobas:9\nback 9 times: this is the program's first statement: there is nothing to step back to\n= 0\n"
     "stop breakpoint t.zobas:9\n= 25\nexit 0\n"},
    {"a small record keeps only the latest statements",
     "dim s as string\nfor i = 1 to 2000\n  s = s & \"x\"\nnext\nprint len(s)\n", "",
     "launch record 4096\nbreak 5\nstart\nback until\n? len(s) = i - 1\n? i > 1900 and i < 2000\ncontinue\ncontinue\n",
     "stop breakpoint t.zobas:5\n"
     "back many times: the record goes no further back: older statements were dropped to keep it within 4 KB\n"
     "= true\n= true\nstop breakpoint t.zobas:5\nexit 0\n"},
    {"expressions: built-ins, elements, fields, string functions, the program's functions, and errors", Values, "",
     "break 13\nstart\n? p.x + p.y\n? twice(p.x) + len(names(2))\n? ucase(names(2)) & \"!\"\n? p\nnames\n? 7 / 2\n? 1 < 2\nok\n"
     "? nosuch\n? 1 / 0\n? names(5)\n? twice(\"x\")\n? p.z\nlet names(1) = names(2) & space(3)\nlet p.y = p.y * 10\n? p\n"
     "let p = 5\nlet twice = 1\nlet s = 1\nvars\ncontinue\n",
     "stop breakpoint t.zobas:13\n= 7\n= 9\n= \"ADA!\"\n= {x = 3, y = 4}\n= {\"\", \"Ada\", \"\"}\n= 3.5\n= true\n= true\n"
     "! unknown name nosuch\n! division by zero\n! index 5 is out of range for array names (1 to 3)\n"
     "! type mismatch: cannot give a string to parameter n of twice (int)\n! type point has no field z\n"
     "= names(1) = \"Ada   \"\n= p.y = 40\n= {x = 3, y = 40}\n! type mismatch: cannot give an integer to p (point)\n"
     "! twice takes 1 argument, not 0\n! unknown name s\n"
     "   p as point = {x = 3, y = 40}\n   names(1 to 3) as string = {\"Ada   \", \"Ada\", \"\"}\n   ok as bool = true\n"
     "exit 0\n",
     true},
    {"watching a place stops when it changes; a condition when it becomes true",
     "dim a(5) as int\nfor i = 1 to 5\n  a(i) = i * i\nnext\nprint a(5)\n", "",
     "launch entry\nstart\nwatch a(3)\nnext\nwatch a(3)\nwhen i >= 4\ncontinue\n? i\nunwatch\ncontinue\n",
     "stop entry t.zobas:1\n! index 3 is out of range for array a (it has no elements)\nstop step t.zobas:2\n= watching a(3) (now 0)\n"
     "= stopping when i >= 4 (now false)\nstop watch t.zobas:3 (a(3) changed from 0 to 9; i >= 4 became true)\n= 4\n= no more watches\n"
     "exit 0\n"},
    {"a watch on a local follows its own call", Squares, "",
     "break 3\nstart\nwatch r\ncontinue\ncontinue\ncontinue\n",
     "stop breakpoint t.zobas:3\n= watching r (now 0)\nstop watch t.zobas:4 (r changed from 0 to 9)\nstop breakpoint t.zobas:3\nexit 0\n"},
    {"a run-time error stops the program where it happens; it ends when it goes on",
     "dim v(3) as int\nfor i = 1 to 4\n  v(i) = i\nnext\nprint \"never\"\n", "",
     "launch record\nstart\n? i\nback\n? i\nnext\ncontinue\n",
     "stop error t.zobas:3 (index 4 is out of range for array v (1 to 3))\n= 4\nstop step t.zobas:3 past\n= 3\nstop step t.zobas:3\n"
     "output error: t.zobas(3): index 4 is out of range for array v (1 to 3)\nexit 1\n"},
    {"stepping forward from the past up to the error stops there again",
     "dim v(3) as int\nfor i = 1 to 4\n  v(i) = i\nnext\n", "",
     "launch record\nstart\nback\ncontinue\ncontinue\n",
     "stop error t.zobas:3 (index 4 is out of range for array v (1 to 3))\nstop step t.zobas:3 past\n"
     "stop error t.zobas:3 (index 4 is out of range for array v (1 to 3))\n"
     "output error: t.zobas(3): index 4 is out of range for array v (1 to 3)\nexit 1\n"},
    {"values can be changed only at the present", Inputs, "1\n2\n3\n",
     "launch record\nbreak 7\nstart\nback\nlet total = 99\nnext\nlet total = 100\n? total\ncontinue\n",
     "stop breakpoint t.zobas:7\nstop step t.zobas:5 past\n! values can change only at the present: step forward to it first\n"
     "stop breakpoint t.zobas:7\n= total = 100\n= 100\nexit 0\n", true},
    {"breakpoints and stack lines in an included file", "#include \"moves.inc\"\nhanoi 1\nprint \"end\"\n", "",
     "break moves.inc 2\nstart\nstack\ncontinue\n",
     "stop breakpoint moves.inc:2\n  sub hanoi, line 2 of moves.inc\n  main program, line 2 of t.zobas\nexit 0\n"},
    {"long values are cut: an array of a million elements and a string of ten megabytes",
     "dim v(1000000) as int\nfor i = 1 to 12: v(i) = i: next\ndim s as string = space(10000000)\ntype rec\n  t as string\n  n as int\nend type\n"
     "dim r(1000000) as rec\nr(2).t = \"a\" & chr(10) & \"b\"\nprint len(s)\n", "",
     "break 10\nstart\nvars\n? r(2)\n? left(s, 3) & \"\"\"\"\ncontinue\n",
     "stop breakpoint t.zobas:10\n"
     "   v(1 to 1000000) as int = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, \x85}\n   i as int = 13\n"
     "   s as string = \"                                                                                                    "
     "                                                                                     \x85\" (10000000 characters)\n"
     "   r(1 to 1000000) as rec = {{t = \"\", n = 0}, {t = \"a\" & chr(10) & \"b\", n = 0}, {t = \"\", n = 0}, {t = \"\", n = 0}, "
     "{t = \"\", n = 0}, {t = \"\", n = 0}, {t = \"\", n = 0}, {t = \"\", n = 0}, {t = \"\", n = 0}, {t = \"\", \x85}, \x85}\n"
     "= {t = \"a\" & chr(10) & \"b\", n = 0}\n= \"   \"\"\"\nexit 0\n"},
    {"requests that do not fit the moment fail with a reason", Squares, "",
     "launch entry\nstart\nto 99\n@7 ? 1\nframe\ncontinue\n",
     "stop entry t.zobas:6\n! no statement runs at or after line 99 of t.zobas\n! there is no frame 7\n! unknown name frame\nexit 0\n"},
};

TEST(ZorDebugSessions, ScriptsGiveTheirAnswersAndThePlainRunsConsole) {
  Files files = {{"moves.inc", "sub hanoi(n as int)\n  print n\nend sub\n"}};
  for (const SessionCase& c : Sessions) {
    std::string console;
    {
      Client client(c.source, c.input, files);
      EXPECT_EQ(RunScript(client, c.script), c.expected) << c.what;
      if (std::string(c.expected).find("exit") == std::string::npos) {
        client.Ask("terminate");
        client.Event();
      }
      client.Event();  // terminated
      console = client.Console();
    }
    // A program ended early has written the beginning of what a plain run writes.
    std::string plain = PlainRun(c.source, c.input, files);
    if (std::string(c.expected).find("exit") == std::string::npos) plain = plain.substr(0, console.size());
    if (!c.changes) {
      EXPECT_EQ(console, plain) << c.what;
    }
  }
}

TEST(ZorDebugSessions, APauseStopsALoopAndTerminateEndsIt) {
  Client client("i = 0\ndo\n  i = i + 1\nend do\n", "");
  client.Ask("initialize");
  client.Ask("configurationDone");
  Json r = client.Ask("stackTrace");
  EXPECT_EQ(r["message"].AsString(), "the program is running: pause it first");
  client.Ask("pause");
  Json e = client.Event();
  EXPECT_EQ(e["event"].AsString(), "stopped");
  EXPECT_EQ(e["body"]["reason"].AsString(), "pause");
  client.Ask("terminate");
  EXPECT_EQ(client.Event()["body"]["exitCode"].AsInt(), 1);
}

TEST(ZorDebugSessions, APauseCutsShortAnExpressionThatNeverEnds) {
  Client client("function forever() as int\n  do\n  end do\nend function\nprint 1\n", "");
  client.Ask("initialize");
  client.Ask("launch", Json::Object().Set("stopOnEntry", true));
  client.Ask("configurationDone");
  EXPECT_EQ(client.Event()["body"]["reason"].AsString(), "entry");
  Json r = client.Ask("evaluate", Json::Object().Set("expression", "? forever()"), "pause");
  EXPECT_EQ(r["message"].AsString(), "the expression was cut short while it was still running");
  EXPECT_EQ(client.Ask("continue")["success"].AsBool(), true);
  EXPECT_EQ(client.Event()["body"]["exitCode"].AsInt(), 0);
}

TEST(ZorDebugSessions, TheOtherSideGoingAwayEndsTheProgram) {
  auto client = std::make_unique<Client>("i = 0\ndo\n  i = i + 1\nend do\n", "");
  client->Ask("initialize");
  client->Ask("configurationDone");
  client.reset();  // closes the stream and waits for the program: it must end
  SUCCEED();
}

// Stepping back shows exactly what stepping forward showed at each statement, and stepping
// forward again gives what it gave, down to the console and the exit code.
struct Snapshot {
  std::string stop, stack, vars;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(Client& c, const Json& stopped) {
  Snapshot s;
  s.stop = stopped["body"]["source"]["name"].AsString() + ":" + std::to_string(stopped["body"]["line"].AsInt());
  Json st = c.Ask("stackTrace");
  for (size_t k = 0; k < st["body"]["stackFrames"].Size(); ++k) {
    s.stack += st["body"]["stackFrames"][k]["text"].AsString() + "\n";
    Json v = c.Ask("variables", Json::Object().Set("frameId", k));
    for (size_t j = 0; j < v["body"]["variables"].Size(); ++j) s.vars += v["body"]["variables"][j]["text"].AsString() + "\n";
  }
  return s;
}

TEST(ZorDebugSessions, SteppingBackShowsWhatSteppingForwardShowed) {
  const struct {
    const char* what;
    const char* source;
    const char* input;
  } cases[] = {
      {"calls and recursion", Hanoi, ""},
      {"input", Inputs, "5\n7\n11\n"},
      {"records, arrays of records, redim and byref",
       "type point\n  x as int\n  s as string\nend type\ntype pair\n  a as point\n  b as point\nend type\n"
       "sub bump(byref p as point, byref n as int)\n  p.x = p.x + 1\n  p.s = p.s & \"!\"\n  n = n + 1\nend sub\n"
       "dim r(300) as point\ndim q as pair\ndim k as int\nfor k = 1 to 3\n  bump r(k * 100), r(1).x\n  q.a = r(k * 100)\n  redim r(300 + k)\nnext\n"
       "dim m(2, 2) as point\nm(2, 2) = q.a\nredim m(3, 3)\ndim s as string = \"a\"\ns = s & s\ns = s + \"b\"\nprint r(300).s, r(1).x, m(2, 2).s, s\n",
       ""},
      {"strings, gosub, select and locals with arrays",
       "function f(n as int) as string\n  dim parts(3) as string\n  for j = 1 to 3\n    parts(j) = str(n * j)\n  next\n"
       "  return parts(1) & parts(2) & parts(3)\nend function\ndim t as string\nfor i = 1 to 3\n  select i\n  case 2\n    gosub twice\n"
       "  case else\n    t = t & f(i)\n  end select\nnext\nprint t\nend\ntwice:\nt = t & \"/\" & f(10)\nreturn\n",
       ""},
  };
  for (const auto& c : cases) {
    std::vector<Snapshot> forward;
    {
      Client first(c.source, c.input);
      first.Ask("initialize");
      first.Ask("launch", Json::Object().Set("stopOnEntry", true));
      first.Ask("configurationDone");
      for (Json e = first.Event(); e["event"].AsString() == "stopped"; e = first.Event()) {
        forward.push_back(Take(first, e));
        first.Ask("stepIn");
      }
    }
    ASSERT_GT(forward.size(), 5u) << c.what;
    Client client(c.source, c.input);
    client.Ask("initialize");
    client.Ask("launch", Json::Object().Set("stopOnEntry", true).Set("record", true));
    client.Ask("configurationDone");
    Json e = client.Event();
    for (size_t k = 1; k < forward.size(); ++k) {
      client.Ask("stepIn");
      e = client.Event();
    }
    ASSERT_EQ(Take(client, e), forward.back()) << c.what;
    for (size_t k = forward.size() - 1; k-- > 0;) {
      ASSERT_TRUE(client.Ask("stepBack")["success"].AsBool()) << c.what << " at " << k;
      ASSERT_EQ(Take(client, client.Event()), forward[k]) << c.what << " back at " << k;
    }
    EXPECT_FALSE(client.Ask("stepBack")["success"].AsBool()) << c.what;
    for (size_t k = 1; k < forward.size(); ++k) {
      client.Ask("stepIn");
      ASSERT_EQ(Take(client, client.Event()), forward[k]) << c.what << " forward at " << k;
    }
    client.Ask("continue");
    EXPECT_EQ(client.Event()["event"].AsString(), "exited") << c.what;
    client.Event();
    EXPECT_EQ(client.Console(), PlainRun(c.source, c.input)) << c.what;
  }
}

}  // namespace
