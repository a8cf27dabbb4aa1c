// The debugger's connection of the compile tool and the runtimes: the program runs in this
// console as always, while a thread of its own reads the IDE's requests from a named pipe the
// IDE made; answers and events go back through the same pipe. The pipe is used with
// overlapped I/O, so a read waiting on the reader thread never holds up a write.
#include <windows.h>

#include <cstdio>

#include "zorbasic/DebugSession.h"
#include "zorbasic/tool/WinConsole.h"

namespace zbwin {

namespace {

// How long a program that was asked to end, or whose IDE went away, may take to end at its
// next statement before the process is ended from outside (it may be waiting for input).
constexpr DWORD EndingGraceMs = 2000;

struct Handle {
  HANDLE h = nullptr;
  explicit Handle(HANDLE handle) : h(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  bool Ok() const { return h && h != INVALID_HANDLE_VALUE; }
};

// One direction of the pipe: its own event, so the two directions never wait for each other.
bool Transfer(HANDLE pipe, HANDLE event, bool write, void* data, DWORD size, DWORD& done) {
  OVERLAPPED o{};
  o.hEvent = event;
  ResetEvent(event);
  BOOL ok = write ? WriteFile(pipe, data, size, nullptr, &o) : ReadFile(pipe, data, size, nullptr, &o);
  if (!ok && GetLastError() != ERROR_IO_PENDING) return false;
  return GetOverlappedResult(pipe, &o, &done, TRUE) && (write || done > 0);
}

class Pipe {
 public:
  explicit Pipe(const std::string& name)
      : pipe_(Open(name)), readEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), writeEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  bool Ok() const { return pipe_.Ok() && readEvent_.Ok() && writeEvent_.Ok(); }
  DWORD Error() const { return error_; }

  bool Read(char* data, DWORD size, DWORD& got) { return Transfer(pipe_.h, readEvent_.h, false, data, size, got); }
  void Write(const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
      DWORD done = 0;
      DWORD chunk = static_cast<DWORD>(bytes.size() - at < 65536 ? bytes.size() - at : 65536);
      // WriteFile only reads the bytes.
      if (!Transfer(pipe_.h, writeEvent_.h, true, const_cast<char*>(bytes.data() + at), chunk, done) || done == 0) return;
      at += done;
    }
  }

 private:
  HANDLE Open(const std::string& name) {
    for (int tries = 0; tries < 50; ++tries) {
      HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
      if (h != INVALID_HANDLE_VALUE) return h;
      error_ = GetLastError();
      if (error_ != ERROR_PIPE_BUSY) return INVALID_HANDLE_VALUE;
      WaitNamedPipeA(name.c_str(), 100);
    }
    return INVALID_HANDLE_VALUE;
  }

  DWORD error_ = 0;
  Handle pipe_;
  Handle readEvent_, writeEvent_;
};

struct Reader {
  Pipe* pipe;
  zb::DebugSession* session;
  HANDLE ended;  // set when the program has ended
};

// Ends the process when the program does not end by itself soon after it was asked to.
void EndSoon(HANDLE ended) {
  if (WaitForSingleObject(ended, EndingGraceMs) != WAIT_TIMEOUT) return;
  std::fflush(stdout);
  ExitProcess(1);
}

DWORD WINAPI ReadRequests(void* p) {
  Reader& r = *static_cast<Reader*>(p);
  char buffer[16384];
  DWORD got = 0;
  while (r.pipe->Read(buffer, sizeof buffer, got)) {
    r.session->Received(std::string_view(buffer, got));
    if (r.session->Ending()) EndSoon(r.ended);
  }
  r.session->Closed();
  EndSoon(r.ended);
  return 0;
}

}  // namespace

int RunLoadedDebugged(const zb::Program& prog, const std::string& pipeName) {
  Pipe pipe(pipeName);
  if (!pipe.Ok()) {
    ErrorLine("zor5: cannot reach the debugger at " + pipeName + " (error " + std::to_string(pipe.Error()) + ")");
    return 1;
  }
  zb::DebugSession session([&](const std::string& bytes) { pipe.Write(bytes); });
  Handle ended(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  Reader reader{&pipe, &session, ended.h};
  Handle thread(CreateThread(nullptr, 0, ReadRequests, &reader, 0, nullptr));
  if (!ended.Ok() || !thread.Ok()) {
    ErrorLine("zor5: the debugger's thread could not be started");
    return 1;
  }
  ConsoleHost host;
  std::string error;
  int code = session.Run(prog, host, error);
  if (code && !error.empty()) ErrorLine(error);
  SetEvent(ended.h);
  std::fflush(stdout);
  // The reader still waits on the pipe; ending the process closes it, which tells the IDE.
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace zbwin
