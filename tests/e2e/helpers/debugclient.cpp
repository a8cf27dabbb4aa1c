// The IDE's side of a debug session, as a console program for the end-to-end tests and the
// benchmark: makes a named pipe and plays a script of requests on it.
//   debugclient <tool.exe> <source> <input file> <output file> <script> [-64]
// starts the compile tool with -debug on the pipe; the program reads the input file and writes
// its console to the output file; after the script the pipe is closed, as a closing IDE closes
// it, and the tool's exit code is printed ("tool exit N").
//   debugclient serve <pipe name> <source> <script>
// makes the pipe, prints "ready", and plays the script for a tool someone else starts.
// The script's commands are separated by ";":
//   launch [entry] [record [bytes]] | break [file] n... | start | continue | next | in | out |
//   back | pause | to n | stack | vars [frame] | anything else is evaluated in frame 0
// Each stop, answer and line of a stack or of the variables is printed, one a line, and the
// program's exit as "exit N".
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "zorbasic/DebugProtocol.h"

namespace {

using zb::debug::Json;

struct Handle {
  HANDLE h;
  explicit Handle(HANDLE handle = nullptr) : h(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

bool Transfer(HANDLE pipe, HANDLE event, bool write, void* data, DWORD size, DWORD& done) {
  OVERLAPPED o{};
  o.hEvent = event;
  ResetEvent(event);
  BOOL ok = write ? WriteFile(pipe, data, size, nullptr, &o) : ReadFile(pipe, data, size, nullptr, &o);
  if (!ok && GetLastError() != ERROR_IO_PENDING) return false;
  return GetOverlappedResult(pipe, &o, &done, TRUE) && (write || done > 0);
}

class Session {
 public:
  Session(HANDLE pipe) : pipe_(pipe), readEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), writeEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    reader_ = std::thread([this] { ReadAll(); });
  }
  ~Session() { reader_.join(); }

  Json Ask(const std::string& command, Json args = Json::Object()) {
    int64_t seq = ++seq_;
    std::string bytes = zb::debug::Frame(zb::debug::Request(seq, command, std::move(args)));
    DWORD done = 0;
    Transfer(pipe_, writeEvent_.h, true, bytes.data(), static_cast<DWORD>(bytes.size()), done);
    for (;;) {
      Json m = Next();
      if (m.IsNull() || (m["type"].AsString() == "response" && m["request_seq"].AsInt() == seq)) return m;
      events_.push_back(m);
    }
  }
  Json Event() {
    for (;;) {
      Json e;
      if (!events_.empty()) {
        e = events_.front();
        events_.pop_front();
      } else {
        e = Next();
      }
      if (e.IsNull() || e["event"].AsString() != "initialized") return e;
    }
  }

 private:
  void ReadAll() {
    char buffer[16384];
    DWORD got = 0;
    while (Transfer(pipe_, readEvent_.h, false, buffer, sizeof buffer, got)) {
      std::lock_guard<std::mutex> lock(mutex_);
      reader_bytes_.Feed(std::string_view(buffer, got));
      Json m;
      std::string error;
      while (reader_bytes_.Next(m, error)) messages_.push_back(m);
      arrived_.notify_all();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    arrived_.notify_all();
  }
  Json Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(60), [&] { return !messages_.empty() || closed_; });
    if (messages_.empty()) return Json();
    Json m = messages_.front();
    messages_.pop_front();
    return m;
  }

  HANDLE pipe_;
  Handle readEvent_, writeEvent_;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  zb::debug::FrameReader reader_bytes_;
  std::deque<Json> messages_, events_;
  bool closed_ = false;
  int64_t seq_ = 0;
};

Json Path(const std::string& path) { return Json::Object().Set("path", path); }

// Plays the script; prints what happened.
void Play(Session& s, const std::string& script, const std::string& source) {
  auto event = [&] {
    for (;;) {
      Json e = s.Event();
      if (e.IsNull()) {
        std::printf("no answer\n");
        return;
      }
      const Json& b = e["body"];
      const std::string& name = e["event"].AsString();
      if (name == "stopped") {
        std::printf("stop %s %s:%d%s%s%s%s\n", b["reason"].AsString().c_str(), b["source"]["name"].AsString().c_str(),
                    static_cast<int>(b["line"].AsInt()), b["text"].AsString().empty() ? "" : " (", b["text"].AsString().c_str(),
                    b["text"].AsString().empty() ? "" : ")", b["present"].AsBool(true) ? "" : " past");
        return;
      }
      if (name == "output") std::printf("output %s: %s\n", b["category"].AsString().c_str(), b["output"].AsString().c_str());
      if (name == "exited") {
        std::printf("exit %d\n", static_cast<int>(b["exitCode"].AsInt()));
        return;
      }
    }
  };
  auto failed = [](const Json& r) {
    if (!r["success"].AsBool()) std::printf("! %s\n", r["message"].AsString().c_str());
    return !r["success"].AsBool();
  };
  Json launch = Json::Object();
  std::istringstream commands(script);
  std::string line;
  while (std::getline(commands, line, ';')) {
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
      std::string file = source;
      Json list = Json::Array();
      for (std::string w; words >> w;) {
        if (w[0] >= '0' && w[0] <= '9') list.Push(std::stoi(w));
        else file = w;
      }
      s.Ask("setBreakpoints", Json::Object().Set("source", Path(file)).Set("lines", list));
    } else if (word == "start") {
      s.Ask("initialize");
      s.Ask("launch", launch);
      s.Ask("configurationDone");
      event();
    } else if (word == "continue" || word == "next" || word == "in" || word == "out" || word == "to" || word == "back") {
      std::string command = word == "in" ? "stepIn" : word == "out" ? "stepOut" : word == "to" ? "runTo" : word == "back" ? "stepBack" : word;
      Json args = Json::Object();
      if (word == "to") {
        int n = 0;
        words >> n;
        args.Set("source", Path(source)).Set("line", n);
      }
      if (!failed(s.Ask(command, args))) event();
    } else if (word == "pause") {
      s.Ask("pause");
      event();
    } else if (word == "stack") {
      Json r = s.Ask("stackTrace");
      for (size_t k = 0; k < r["body"]["stackFrames"].Size(); ++k) std::printf("  %s\n", r["body"]["stackFrames"][k]["text"].AsString().c_str());
    } else if (word == "vars") {
      int frame = 0;
      words >> frame;
      Json r = s.Ask("variables", Json::Object().Set("frameId", frame));
      for (size_t k = 0; k < r["body"]["variables"].Size(); ++k) std::printf("  %s\n", r["body"]["variables"][k]["text"].AsString().c_str());
    } else if (!word.empty()) {
      size_t first = line.find_first_not_of(' ');
      Json r = s.Ask("evaluate", Json::Object().Set("expression", line.substr(first)));
      if (!failed(r)) std::printf("= %s\n", r["body"]["result"].AsString().c_str());
    }
  }
  std::fflush(stdout);
}

HANDLE Inheritable(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

namespace {

Handle MakePipe(const std::string& name) {
  return Handle(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                                 1, 65536, 65536, 0, nullptr));
}

// Waits until the tool connects, or its process (when given) ends first.
bool Connect(HANDLE pipe, HANDLE process) {
  Handle connected(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  OVERLAPPED o{};
  o.hEvent = connected.h;
  if (ConnectNamedPipe(pipe, &o) || GetLastError() == ERROR_PIPE_CONNECTED) return true;
  if (GetLastError() != ERROR_IO_PENDING) return false;
  HANDLE both[2] = {connected.h, process};
  return WaitForMultipleObjects(process ? 2 : 1, both, FALSE, 60000) == WAIT_OBJECT_0;
}

// Serves one session on a pipe of the given name for a tool someone else starts.
int Serve(const std::string& name, const std::string& source, const std::string& script) {
  Handle pipe = MakePipe(name);
  if (pipe.h == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "debugclient: cannot make the pipe (error %lu)\n", GetLastError());
    return 2;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  if (!Connect(pipe.h, nullptr)) {
    std::printf("no tool connected\n");
    return 1;
  }
  {
    Session session(pipe.h);
    Play(session, script, source);
    CancelIoEx(pipe.h, nullptr);
    DisconnectNamedPipe(pipe.h);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "serve") return Serve(argv[2], argv[3], argv[4]);
  if (argc < 6) {
    std::fprintf(stderr, "usage: debugclient <tool.exe> <source> <input file> <output file> <script> [-64]\n"
                         "       debugclient serve <pipe name> <source> <script>\n");
    return 2;
  }
  std::string tool = argv[1], source = argv[2], script = argv[5];
  bool bits64 = argc > 6 && std::string(argv[6]) == "-64";
  std::string name = "\\\\.\\pipe\\zorvex-debug-" + std::to_string(GetCurrentProcessId());
  Handle pipe = MakePipe(name);
  Handle input(Inheritable(argv[3], false)), output(Inheritable(argv[4], true));
  if (pipe.h == INVALID_HANDLE_VALUE || input.h == INVALID_HANDLE_VALUE || output.h == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "debugclient: cannot make the pipe or open the files (error %lu)\n", GetLastError());
    return 2;
  }
  std::string command = "\"" + tool + "\" " + (bits64 ? "-64 " : "") + "-debug \"" + name + "\" \"" + source + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = input.h;
  si.hStdOutput = output.h;
  si.hStdError = output.h;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "debugclient: cannot start %s (error %lu)\n", tool.c_str(), GetLastError());
    return 2;
  }
  Handle process(pi.hProcess), thread(pi.hThread);
  if (!Connect(pipe.h, process.h)) {
    DWORD code = 0;
    GetExitCodeProcess(process.h, &code);
    std::printf("the tool ended without connecting (exit %lu)\n", code);
    return 1;
  }
  {
    Session session(pipe.h);
    Play(session, script, source);
    // A script may end while the program is stopped: closing the pipe, as a closing IDE does,
    // must end it.
    CancelIoEx(pipe.h, nullptr);
    DisconnectNamedPipe(pipe.h);
  }
  if (WaitForSingleObject(process.h, 20000) == WAIT_TIMEOUT) std::printf("the tool did not end when the pipe closed\n");
  DWORD code = 0;
  GetExitCodeProcess(process.h, &code);
  std::printf("tool exit %lu\n", code);
  return 0;
}
