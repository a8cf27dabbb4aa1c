// One debug session: requests from a byte stream carried out on the debugged program.
#include "zorbasic/DebugSession.h"

#include <algorithm>

namespace zb {

using debug::Json;

namespace {

std::string NameOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

Json Source(const std::string& path) {
  Json s = Json::Object();
  s.Set("path", path).Set("name", NameOf(path));
  return s;
}

// The record's budget a launch may ask for: from 1 KB (a test's) to 1 GB.
size_t RecordBytes(const Json& value) {
  int64_t n = value.AsInt(int64_t{64} << 20);
  return static_cast<size_t>(std::clamp<int64_t>(n, 1024, int64_t{1} << 30));
}

}  // namespace

void DebugSession::Received(std::string_view bytes) {
  std::string damage;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    reader_.Feed(bytes);
    Json message;
    std::string error;
    while (reader_.Next(message, error)) {
      if (!error.empty()) damage = error;
      if (message["type"].AsString() != "request") continue;
      const std::string& command = message["command"].AsString();
      if (command == "terminate" || command == "disconnect") ending_ = true;
      requests_.push_back(std::move(message));
    }
    if (!error.empty()) damage = error;
  }
  arrived_.notify_all();
  attention.store(true, std::memory_order_relaxed);
  if (!damage.empty()) {
    Json body = Json::Object();
    body.Set("category", "notice").Set("output", "the debugger " + damage);
    Send(debug::Event(0, "output", std::move(body)));
  }
}

void DebugSession::Closed() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  ending_ = true;
  arrived_.notify_all();
  attention.store(true, std::memory_order_relaxed);
}

bool DebugSession::Take(Json& request, bool wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (wait) arrived_.wait(lock, [&] { return !requests_.empty() || closed_; });
  if (requests_.empty()) return false;
  request = std::move(requests_.front());
  requests_.pop_front();
  return true;
}

void DebugSession::Send(Json message) {
  std::lock_guard<std::mutex> lock(sendMutex_);
  message.Set("seq", Json(++seq_));
  send_(debug::Frame(message));
}

void DebugSession::Answer(const Json& request, bool ok, std::string_view message, Json body) {
  Send(debug::Response(0, request, ok, message, std::move(body)));
}

int DebugSession::Run(const Program& prog, Host& host, std::string& error, int maxDepth) {
  int code = RunDebugged(prog, host, error, *this, DebugOptions{}, maxDepth);
  if (!error.empty()) {
    Json body = Json::Object();
    body.Set("category", "error").Set("output", error);
    Send(debug::Event(0, "output", std::move(body)));
  }
  Json exited = Json::Object();
  exited.Set("exitCode", code);
  Send(debug::Event(0, "exited", std::move(exited)));
  Send(debug::Event(0, "terminated"));
  return code;
}

void DebugSession::Starting(DebugTarget& target) {
  DebugOptions options;
  Json request;
  while (Take(request, true)) {
    const std::string& command = request["command"].AsString();
    const Json& args = request["arguments"];
    if (command == "initialize") {
      Json body = Json::Object();
      body.Set("protocol", "zorvex-debug").Set("version", 1).Set("supportsStepBack", true);
      Answer(request, true, "", std::move(body));
      Send(debug::Event(0, "initialized"));
    } else if (command == "launch") {
      options.stopOnEntry = args["stopOnEntry"].AsBool();
      options.record = args["record"].AsBool();
      options.recordBytes = RecordBytes(args["recordBytes"]);
      target.Configure(options);
      Answer(request, true);
    } else if (command == "setBreakpoints") {
      Breakpoints(target, request);
    } else if (command == "configurationDone") {
      Answer(request, true);
      return;
    } else if (command == "terminate" || command == "disconnect") {
      Answer(request, true);
      target.Terminate();
      return;
    } else {
      Answer(request, false, "the program has not started yet: configurationDone starts it");
    }
  }
  target.Terminate();  // the other side went away before the start
}

void DebugSession::Stopped(DebugTarget& target, const StopInfo& stop) {
  inStop_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{inStop_};
  SendStopped(stop);
  Json request;
  while (Take(request, true))
    if (Serve(target, request, true)) return;
  target.Terminate();  // the other side went away
}

void DebugSession::Attend(DebugTarget& target) {
  attention.store(false, std::memory_order_relaxed);
  if (inStop_) {
    // An expression the user asked for runs a procedure: a pause cuts it short, an end ends
    // the program; every other request waits for the stop's own loop.
    std::deque<Json> urgent;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (closed_) target.Terminate();
      for (auto it = requests_.begin(); it != requests_.end();) {
        const std::string& c = (*it)["command"].AsString();
        if (c == "pause" || c == "terminate" || c == "disconnect") {
          urgent.push_back(std::move(*it));
          it = requests_.erase(it);
        } else {
          ++it;
        }
      }
    }
    for (const Json& r : urgent) {
      if (r["command"].AsString() == "pause") target.Pause();
      else target.Terminate();
      Answer(r, true);
    }
    return;
  }
  Json request;
  while (Take(request, false)) Serve(target, request, false);
  std::lock_guard<std::mutex> lock(mutex_);
  if (closed_) target.Terminate();
}

void DebugSession::SendStopped(const StopInfo& stop) {
  Json body = Json::Object();
  body.Set("reason", StopReasonName(stop.reason)).Set("threadId", 1).Set("allThreadsStopped", true);
  body.Set("source", Source(stop.file)).Set("line", stop.line).Set("text", stop.text);
  body.Set("present", stop.present).Set("outputKept", stop.outputKept);
  Send(debug::Event(0, "stopped", std::move(body)));
}

void DebugSession::Breakpoints(DebugTarget& target, const Json& request) {
  const Json& args = request["arguments"];
  std::vector<int> lines;
  for (size_t k = 0; k < args["lines"].Size(); ++k) lines.push_back(static_cast<int>(args["lines"][k].AsInt()));
  std::vector<int> placed = target.SetBreakpoints(args["source"]["path"].AsString(), lines);
  Json list = Json::Array();
  for (int line : placed) {
    Json b = Json::Object();
    b.Set("line", line).Set("verified", line > 0);
    list.Push(std::move(b));
  }
  Json body = Json::Object();
  body.Set("breakpoints", std::move(list));
  Answer(request, true, "", std::move(body));
}

size_t DebugSession::FrameArgument(const Json& request) const {
  int64_t k = request["arguments"]["frameId"].AsInt(0);
  return k < 0 ? 0 : static_cast<size_t>(k);
}

bool DebugSession::Serve(DebugTarget& target, const Json& request, bool stopped) {
  const std::string& c = request["command"].AsString();
  const Json& args = request["arguments"];
  if (c == "setBreakpoints") {
    Breakpoints(target, request);
    return false;
  }
  if (c == "pause") {
    if (!stopped) target.Pause();
    Answer(request, true);
    return false;
  }
  if (c == "terminate" || c == "disconnect") {
    Answer(request, true);
    target.Terminate();
    return true;
  }
  if (c == "initialize" || c == "launch" || c == "configurationDone") {
    Answer(request, false, "the program runs already");
    return false;
  }
  if (!stopped) {
    Answer(request, false, "the program is running: pause it first");
    return false;
  }
  if (c == "continue" || c == "next" || c == "stepIn" || c == "stepOut") {
    if (c == "continue") target.Continue();
    else if (c == "next") target.StepOver();
    else if (c == "stepIn") target.StepIn();
    else target.StepOut();
    Answer(request, true);
    return true;
  }
  if (c == "runTo") {
    std::string why;
    bool ok = target.RunTo(args["source"]["path"].AsString(), static_cast<int>(args["line"].AsInt()), why);
    Answer(request, ok, why);
    return ok;
  }
  if (c == "stepBack") {
    std::string why;
    bool ok = target.StepBack(why);
    Answer(request, ok, why);
    if (ok) SendStopped(target.Where());
    return false;
  }
  if (c == "stackTrace") {
    std::vector<StackLine> lines = target.Stack();
    Json frames = Json::Array();
    for (size_t k = 0; k < lines.size(); ++k) {
      Json f = Json::Object();
      f.Set("id", k).Set("name", lines[k].name).Set("line", lines[k].line).Set("source", Source(lines[k].file)).Set("text", lines[k].text);
      frames.Push(std::move(f));
    }
    Json body = Json::Object();
    body.Set("stackFrames", std::move(frames)).Set("totalFrames", lines.size());
    Answer(request, true, "", std::move(body));
    return false;
  }
  if (c == "variables") {
    Json list = Json::Array();
    for (const VariableLine& v : target.Variables(FrameArgument(request))) {
      Json item = Json::Object();
      item.Set("name", v.name).Set("type", v.type).Set("value", v.value).Set("scope", v.global ? "global" : "local");
      item.Set("changed", v.changed).Set("text", v.text);
      list.Push(std::move(item));
    }
    Json body = Json::Object();
    body.Set("variables", std::move(list));
    Answer(request, true, "", std::move(body));
    return false;
  }
  if (c == "evaluate") {
    std::string answer;
    bool ok = target.Command(args["expression"].AsString(), FrameArgument(request), answer);
    Json body = Json::Object();
    if (ok) body.Set("result", answer);
    Answer(request, ok, answer, std::move(body));
    return false;
  }
  Answer(request, false, "unknown request " + c);
  return false;
}

}  // namespace zb
