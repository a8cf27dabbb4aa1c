// The IDE's side of a debug session.
#include "compiler/DebugModel.h"

#include <cctype>

using zb::debug::Json;

namespace {

// One line of the panel: a line break inside a value would split it in two.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  return line;
}

std::string NamePart(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

Json SourceOf(const std::string& path) { return Json::Object().Set("path", path); }

}  // namespace

DebugKey DebugKeyFor(unsigned key, bool ctrl, bool shift, bool alt, DebugState state) {
  if (alt) return DebugKey::None;
  const bool plain = !ctrl && !shift;
  if (ctrl && !shift && key == 'B') return DebugKey::ToggleBreakpoint;
  if (state == DebugState::Idle) return ctrl && !shift && key == 'D' ? DebugKey::Start : DebugKey::None;
  if (key == DebugVirtualF5 && shift && !ctrl) return DebugKey::Stop;
  if (state == DebugState::Running) {
    if ((ctrl && !shift && key == 'D') || (plain && key == DebugVirtualPause)) return DebugKey::Pause;
    if ((plain && (key == DebugVirtualF5 || key == DebugVirtualF10 || key == DebugVirtualF11)) ||
        (shift != ctrl && (key == DebugVirtualF10 || (shift && key == DebugVirtualF11))))
      return DebugKey::Busy;
    return DebugKey::None;
  }
  if ((plain && key == DebugVirtualF5) || (ctrl && !shift && key == 'D')) return DebugKey::Continue;
  if (key == DebugVirtualF10) {
    if (plain) return DebugKey::StepOver;
    if (ctrl && !shift) return DebugKey::RunToCaret;
    if (shift && !ctrl) return DebugKey::StepBack;
  }
  if (key == DebugVirtualF11 && plain) return DebugKey::StepIn;
  if (key == DebugVirtualF11 && shift && !ctrl) return DebugKey::StepOut;
  if (key == DebugVirtualF6 && plain) return DebugKey::NextFrame;
  return DebugKey::None;
}

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k] == '/' ? '\\' : a[k], y = b[k] == '/' ? '\\' : b[k];
    if (std::tolower(static_cast<unsigned char>(x)) != std::tolower(static_cast<unsigned char>(y))) return false;
  }
  return true;
}

std::string StoppedText(int line, std::string_view path, std::string_view mainPath) {
  std::string text = "Stopped at line " + std::to_string(line);
  if (!path.empty() && !SamePath(path, mainPath)) text += " of " + NamePart(path);
  return text;
}

std::string DebugPanelText(const std::string& note, const std::vector<std::string>& answers,
                           const std::vector<DebugVariable>& variables, const std::vector<DebugFrame>& frames,
                           int shownFrame) {
  // The first lines stay empty: the KeywordBox stands over them.
  std::string text = "\r\n\r\n\r\n";
  if (!note.empty()) text += OneLine(note) + "\r\n";
  for (const std::string& answer : answers) text += OneLine(answer) + "\r\n";
  if (variables.empty()) text += "  (no variables)\r\n";
  for (const DebugVariable& v : variables) text += (v.changed ? "* " : "  ") + OneLine(v.text) + "\r\n";
  text += "Call stack:\r\n";
  for (size_t k = 0; k < frames.size(); ++k)
    text += (int(k) == shownFrame ? "> " : "  ") + OneLine(frames[k].text) + "\r\n";
  return text;
}

int DebugPanelFirstFrameLine(const std::string& note, const std::vector<std::string>& answers,
                             const std::vector<DebugVariable>& variables) {
  size_t lines = 3 + (note.empty() ? 0 : 1) + answers.size() + (variables.empty() ? 1 : variables.size());
  return int(lines) + 1;
}

std::string DebugModel::Ask(std::string_view command, Json arguments) {
  ++seq_;
  pending_[seq_] = std::string(command);
  return zb::debug::Frame(zb::debug::Request(seq_, command, std::move(arguments)));
}

std::string DebugModel::Begin(const std::string& mainPath, const std::vector<FileBreakpoints>& breakpoints) {
  mainPath_ = mainPath;
  state_ = DebugState::Running;
  std::string bytes = Ask("initialize");
  bytes += Ask("launch", Json::Object().Set("record", true));
  for (const FileBreakpoints& file : breakpoints) bytes += Breakpoints(file);
  bytes += Ask("configurationDone");
  return bytes;
}

std::string DebugModel::Breakpoints(const FileBreakpoints& file) {
  Json lines = Json::Array();
  for (int line : file.lines) lines.Push(line);
  return Ask("setBreakpoints", Json::Object().Set("source", SourceOf(file.path)).Set("lines", std::move(lines)));
}

std::string DebugModel::Command(DebugKey key, const std::string& caretPath, int caretLine) {
  auto go = [&](std::string_view command, Json arguments = Json::Object()) {
    state_ = DebugState::Running;
    return Ask(command, std::move(arguments));
  };
  switch (key) {
    case DebugKey::Pause: return state_ == DebugState::Running ? Ask("pause") : "";
    case DebugKey::Stop: return Ask("terminate");
    default: break;
  }
  if (state_ != DebugState::Stopped) return "";
  switch (key) {
    case DebugKey::Continue: return go("continue");
    case DebugKey::StepOver: return go("next");
    case DebugKey::StepIn: return go("stepIn");
    case DebugKey::StepOut: return go("stepOut");
    case DebugKey::RunToCaret: return go("runTo", Json::Object().Set("source", SourceOf(caretPath)).Set("line", caretLine));
    case DebugKey::StepBack: return Ask("stepBack");
    default: return "";
  }
}

std::string DebugModel::Evaluate(const std::string& text) {
  if (state_ != DebugState::Stopped) return "";
  std::string bytes = Ask("evaluate", Json::Object().Set("expression", text).Set("frameId", shownFrame_));
  pending_[seq_] = "evaluate " + text;
  return bytes;
}

std::string DebugModel::Hover(const std::string& name, size_t position) {
  if (state_ != DebugState::Stopped || name.empty()) return "";
  std::string bytes = Ask("evaluate", Json::Object().Set("expression", "? " + name).Set("frameId", shownFrame_));
  pending_[seq_] = "hover " + std::to_string(position) + " " + name;
  return bytes;
}

std::string DebugModel::SelectFrame(int k) {
  if (state_ != DebugState::Stopped || k < 0 || size_t(k) >= frames_.size()) return "";
  shownFrame_ = k;
  return Ask("variables", Json::Object().Set("frameId", k));
}

int DebugModel::FrameAtPanelLine(int line) const {
  int k = line - DebugPanelFirstFrameLine(note_, answers_, variables_);
  return k >= 0 && size_t(k) < frames_.size() ? k : -1;
}

int DebugModel::NextFrame() const {
  if (frames_.empty()) return -1;
  return (shownFrame_ + 1) % int(frames_.size());
}

std::string DebugModel::PanelText() const { return DebugPanelText(note_, answers_, variables_, frames_, shownFrame_); }

DebugModel::Effects DebugModel::Receive(std::string_view bytes) {
  Effects out;
  reader_.Feed(bytes);
  Json message;
  std::string error;
  while (reader_.Next(message, error)) Take(message, out);
  return out;
}

void DebugModel::Take(const Json& message, Effects& out) {
  const std::string& type = message["type"].AsString();
  if (type == "response") {
    auto asked = pending_.find(message["request_seq"].AsInt());
    if (asked == pending_.end()) return;
    std::string command = asked->second;
    pending_.erase(asked);
    Answered(command, message, out);
    return;
  }
  if (type != "event") return;
  const std::string& event = message["event"].AsString();
  const Json& body = message["body"];
  if (event == "stopped") {
    Stopped(body, out);
  } else if (event == "output") {
    answers_.push_back(OneLine(body["output"].AsString()));
    out.status = OneLine(body["output"].AsString());
    out.panel = true;
  } else if (event == "exited") {
    ended_ = true;
    exitCode_ = int(body["exitCode"].AsInt());
    state_ = DebugState::Idle;
    out.ended = true;
    out.status = "The program ended with exit code " + std::to_string(exitCode_);
  }
}

void DebugModel::Stopped(const Json& body, Effects& out) {
  state_ = DebugState::Stopped;
  stopPath_ = body["source"]["path"].AsString();
  stopLine_ = int(body["line"].AsInt());
  const std::string& reason = body["reason"].AsString();
  const std::string& text = body["text"].AsString();
  shownFrame_ = 0;
  answers_.clear();
  note_ = text;
  std::string status = StoppedText(stopLine_, stopPath_, mainPath_);
  if (!body["present"].AsBool(true)) status += ", a step back";
  if (!text.empty() && (reason == "watch" || reason == "when" || reason == "error")) status += ": " + OneLine(text);
  if (body["outputKept"].AsBool() && !outputKeptTold_) {
    outputKeptTold_ = true;
    status += " (output already printed stays in the console)";
  }
  out.status = status;
  out.showStop = true;
  out.send += Ask("stackTrace");
  out.send += Ask("variables", Json::Object().Set("frameId", 0));
}

void DebugModel::Answered(const std::string& command, const Json& message, Effects& out) {
  const bool ok = message["success"].AsBool();
  const Json& body = message["body"];
  if (command == "stackTrace" && ok) {
    frames_.clear();
    const Json& list = body["stackFrames"];
    for (size_t k = 0; k < list.Size(); ++k)
      frames_.push_back({list[k]["text"].AsString(), list[k]["source"]["path"].AsString(), int(list[k]["line"].AsInt())});
    out.panel = true;
  } else if (command == "variables" && ok) {
    variables_.clear();
    const Json& list = body["variables"];
    for (size_t k = 0; k < list.Size(); ++k) variables_.push_back({list[k]["text"].AsString(), list[k]["changed"].AsBool()});
    out.panel = true;
  } else if (command.rfind("hover ", 0) == 0) {
    // "hover <position> <name>": a name that is no variable here shows no tip.
    const size_t blank = command.find(' ', 6);
    if (ok && blank != std::string::npos) {
      out.tipPosition = size_t(std::stoull(command.substr(6, blank - 6)));
      out.tip = command.substr(blank + 1) + " = " + body["result"].AsString();
    }
  } else if (command.rfind("evaluate ", 0) == 0) {
    const std::string typed = command.substr(9);
    answers_.push_back("> " + typed);
    answers_.push_back(ok ? body["result"].AsString() : "! " + message["message"].AsString());
    out.panel = true;
    // A let, or a call of the program's own code, may have changed what the panel shows.
    if (ok) out.send += Ask("variables", Json::Object().Set("frameId", shownFrame_));
  } else if (!ok && command != "initialize" && command != "launch" && command != "configurationDone") {
    // A step that could not be taken (stepping back past the record's start, running to a
    // line where no statement runs): the program stays stopped where it was.
    if (state_ == DebugState::Running && command != "pause" && command != "terminate") state_ = DebugState::Stopped;
    out.status = message["message"].AsString();
  }
}
