// The IDE's side of a debug session, as a console program for the end-to-end tests and the
// benchmark: makes a named pipe, starts the compile tool with -debug on it, and plays a script.
//   debugclient <tool.exe> <source> <input file> <output file> <script> [-64]
// The program reads the input file and writes its console to the output file. The script's
// commands are separated by ";":
//   launch [entry] [record [bytes]] | break [file] n... | start | continue | next | in | out |
//   back | pause | to n | stack | vars [frame] | anything else is evaluated in frame 0
// Each stop, answer and line of a stack or of the variables is printed, one a line, and the
// exit as "exit N". "time plain|breakpoints|record" as the whole script runs the program to its
// end instead, with a breakpoint on the source's last line, which the program must never reach
// (record: with the record stepping back needs), and prints "seconds cpu-seconds peak-MB" of
// the tool's process.
#include <windows.h>
#include <psapi.h>

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

double Seconds(const FILETIME& f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: debugclient <tool.exe> <source> <input file> <output file> <script> [-64]\n");
    return 2;
  }
  std::string tool = argv[1], source = argv[2], script = argv[5];
  bool bits64 = argc > 6 && std::string(argv[6]) == "-64";
  std::string timed = script.rfind("time ", 0) == 0 ? script.substr(5) : "";
  std::string name = "\\\\.\\pipe\\zorvex-debug-" + std::to_string(GetCurrentProcessId());
  Handle pipe(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                               1, 65536, 65536, 0, nullptr));
  Handle input(Inheritable(argv[3], false)), output(Inheritable(argv[4], true));
  if (pipe.h == INVALID_HANDLE_VALUE || input.h == INVALID_HANDLE_VALUE || output.h == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "debugclient: cannot make the pipe or open the files (error %lu)\n", GetLastError());
    return 2;
  }
  std::string command = "\"" + tool + "\" " + (bits64 ? "-64 " : "") + (timed == "plain" ? "" : "-debug \"" + name + "\" ") + "\"" + source + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = input.h;
  si.hStdOutput = output.h;
  si.hStdError = output.h;
  PROCESS_INFORMATION pi{};
  auto start = std::chrono::steady_clock::now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "debugclient: cannot start %s (error %lu)\n", tool.c_str(), GetLastError());
    return 2;
  }
  Handle process(pi.hProcess), thread(pi.hThread);
  if (timed != "plain") {
    Handle connected(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED o{};
    o.hEvent = connected.h;
    bool ready = ConnectNamedPipe(pipe.h, &o) || GetLastError() == ERROR_PIPE_CONNECTED;
    if (!ready && GetLastError() == ERROR_IO_PENDING) {
      HANDLE both[2] = {connected.h, process.h};
      ready = WaitForMultipleObjects(2, both, FALSE, 60000) == WAIT_OBJECT_0;
    }
    if (!ready) {
      DWORD code = 0;
      GetExitCodeProcess(process.h, &code);
      std::printf("the tool ended without connecting (exit %lu)\n", code);
      return 1;
    }
    Session session(pipe.h);
    if (timed.empty()) {
      Play(session, script, source);
    } else {
      int last = 0;
      if (FILE* f = std::fopen(source.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;) last += c == '\n';
        std::fclose(f);
      }
      Play(session, std::string(timed == "record" ? "launch record;" : "") + "break " + std::to_string(last) + ";start", source);
    }
    // A script may end while the program is stopped: closing the pipe, as a closing IDE does,
    // must end it.
    if (WaitForSingleObject(process.h, timed.empty() ? 0 : INFINITE) == WAIT_TIMEOUT) {
      CancelIoEx(pipe.h, nullptr);
      DisconnectNamedPipe(pipe.h);
      if (WaitForSingleObject(process.h, 20000) == WAIT_TIMEOUT) std::printf("the tool did not end when the pipe closed\n");
    }
    CancelIoEx(pipe.h, nullptr);
    DisconnectNamedPipe(pipe.h);
    if (timed.empty()) {
      DWORD code = 0;
      GetExitCodeProcess(process.h, &code);
      std::printf("tool exit %lu\n", code);
    }
  } else {
    WaitForSingleObject(process.h, INFINITE);
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!timed.empty()) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process.h, &created, &exited, &kernel, &user);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.h, &memory, sizeof memory);
    std::printf("%.3f %.3f %.1f\n", seconds, Seconds(kernel) + Seconds(user), static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
  }
  return 0;
}
