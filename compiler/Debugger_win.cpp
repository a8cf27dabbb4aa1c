// The debugger in the IDE: the named pipe, the compile tool's
// process and the thread that reads the pipe, and what the window thread does with the keys
// and with what arrives.
#include "compiler/Debugger_win.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "base/SharedState.h"
#include "base/StatusBar_win.h"
#include "base/TextScan.h"
#include "compiler/Build.h"
#include "compiler/BuildState.h"
#include "compiler/CommandLine.h"
#include "compiler/DebugModel.h"
#include "documents/Documents.h"
#include "editor/DebugMarks_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/Listing_win.h"
#include "editor/Marks_win.h"

namespace {

// The connection of one session, shared by the window thread and the pipe's thread: the
// window thread only queues bytes and sets sendEvent; the pipe's thread does every read and
// write, and posts what it reads.
struct Link {
  Link(HANDLE pipeMade, HANDLE processStarted) : pipe(pipeMade), process(processStarted) {}
  unsigned session = 0;
  HWND window = nullptr;
  KernelHandle pipe, process;
  KernelHandle readEvent{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  KernelHandle writeEvent{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  KernelHandle connectEvent{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  KernelHandle sendEvent{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  KernelHandle stopEvent{Api.CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::mutex mutex;
  std::string outgoing;
};

// One message from the pipe's thread: bytes read, or the end of the session with the exit code.
struct Arrival {
  unsigned session = 0;
  bool ended = false;
  DWORD exitCode = 0;
  std::string bytes;
};

// How long a program whose pipe closed may take to end before it is ended from here.
constexpr DWORD EndingGraceMs = 5000;

// The session running now (none when null) and the number of the last one started, so that
// what a finished session's thread posted late is told from the present one's.
std::shared_ptr<Link> Current;
unsigned Sessions = 0;

void Post(Link& link, Arrival* arrival) {
  arrival->session = link.session;
  if (!Api.PostMessageA(link.window, DebugArrivedMessage, 0, reinterpret_cast<LPARAM>(arrival))) delete arrival;
}

// Waits for the compile tool to open the pipe; false when it ended first or the IDE closes.
bool Connect(Link& link) {
  OVERLAPPED o{};
  o.hEvent = link.connectEvent.Get();
  if (Api.ConnectNamedPipe(link.pipe.Get(), &o)) return true;
  DWORD error = Api.GetLastError();
  if (error == ERROR_PIPE_CONNECTED) return true;
  if (error != ERROR_IO_PENDING) return false;
  HANDLE waits[3] = {o.hEvent, link.process.Get(), link.stopEvent.Get()};
  DWORD done = 0;
  if (Api.WaitForMultipleObjects(3, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
    return Api.GetOverlappedResult(link.pipe.Get(), &o, &done, FALSE) != 0;
  Api.CancelIo(link.pipe.Get());
  Api.GetOverlappedResult(link.pipe.Get(), &o, &done, TRUE);
  return false;
}

// Writes what the window thread queued; false when the pipe is gone.
bool WriteQueued(Link& link) {
  Api.ResetEvent(link.sendEvent.Get());
  std::string bytes;
  {
    std::lock_guard<std::mutex> lock(link.mutex);
    bytes.swap(link.outgoing);
  }
  for (size_t at = 0; at < bytes.size();) {
    OVERLAPPED o{};
    o.hEvent = link.writeEvent.Get();
    Api.ResetEvent(o.hEvent);
    DWORD done = 0, size = DWORD(bytes.size() - at < 65536 ? bytes.size() - at : 65536);
    if (!Api.WriteFile(link.pipe.Get(), bytes.data() + at, size, nullptr, &o) && Api.GetLastError() != ERROR_IO_PENDING)
      return false;
    if (!Api.GetOverlappedResult(link.pipe.Get(), &o, &done, TRUE) || done == 0) return false;
    at += done;
  }
  return true;
}

// Reads the pipe and posts what it reads, and writes what is queued, until the pipe closes or
// the IDE ends the session.
void Serve(Link& link) {
  std::vector<char> buffer(65536);
  OVERLAPPED o{};
  bool reading = false;
  for (;;) {
    if (!reading) {
      o = OVERLAPPED{};
      o.hEvent = link.readEvent.Get();
      Api.ResetEvent(o.hEvent);
      if (!Api.ReadFile(link.pipe.Get(), buffer.data(), DWORD(buffer.size()), nullptr, &o) &&
          Api.GetLastError() != ERROR_IO_PENDING)
        return;
      reading = true;
    }
    HANDLE waits[3] = {link.readEvent.Get(), link.sendEvent.Get(), link.stopEvent.Get()};
    DWORD woke = Api.WaitForMultipleObjects(3, waits, FALSE, INFINITE);
    if (woke == WAIT_OBJECT_0) {
      reading = false;
      DWORD got = 0;
      if (!Api.GetOverlappedResult(link.pipe.Get(), &o, &got, FALSE) || got == 0) return;
      auto* arrival = new Arrival;
      arrival->bytes.assign(buffer.data(), got);
      Post(link, arrival);
    } else if (woke != WAIT_OBJECT_0 + 1 || !WriteQueued(link)) {
      break;
    }
  }
  // The read still waits: it is called off before its buffer goes.
  DWORD done = 0;
  Api.CancelIo(link.pipe.Get());
  Api.GetOverlappedResult(link.pipe.Get(), &o, &done, TRUE);
}

DWORD WINAPI PipeThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<Link>> held(static_cast<std::shared_ptr<Link>*>(parameter));
  Link& link = **held;
  if (Connect(link)) Serve(link);
  // The compile tool ends its program once the pipe is gone; one that does not is ended here.
  if (Api.WaitForSingleObject(link.process.Get(), EndingGraceMs) == WAIT_TIMEOUT) {
    Api.TerminateProcess(link.process.Get(), 1);
    Api.WaitForSingleObject(link.process.Get(), EndingGraceMs);
  }
  auto* arrival = new Arrival;
  arrival->ended = true;
  Api.GetExitCodeProcess(link.process.Get(), &arrival->exitCode);
  Post(link, arrival);
  return 0;
}

void Send(const std::string& bytes) {
  if (!Current || bytes.empty()) return;
  {
    std::lock_guard<std::mutex> lock(Current->mutex);
    Current->outgoing += bytes;
  }
  Api.SetEvent(Current->sendEvent.Get());
}

// The full path the current document is known by while it is debugged (an untitled document
// runs as the scratch source that F5 writes).
std::string DocumentPath() {
  if (!SaveName.empty()) return DocumentKey(SaveName);
  return FullPath(ExpandPath(CurrentFile.empty() ? ProgramDir + "\\_.zobas" : CurrentFile));
}

int CaretLine() { return LineOfPosition(CaretPosition()); }

// Whether the compile tool knows -debug: its usage text names the option.
enum class ToolKind { Missing, Older, Debugs };
ToolKind DebuggingTool(const std::string& tool) {
  std::string bytes;
  if (ReadWholeFile(tool, bytes).result != FileRead::Whole) return ToolKind::Missing;
  return bytes.find("[-debug pipe]") != std::string::npos ? ToolKind::Debugs : ToolKind::Older;
}

std::vector<FileBreakpoints> AllBreakpointsNow(const std::string& documentPath) {
  std::vector<FileBreakpoints> all;
  for (KeptMarks& file : AllBreakpoints(DocumentKey(SaveName)))
    all.push_back({file.key.empty() ? documentPath : file.key, std::move(file.lines)});
  return all;
}

// True when path names the document in the editor; an empty path is the untitled one.
bool IsShownDocument(const std::string& path) { return path.empty() || SamePath(FullPath(path), DocumentPath()); }

// Puts the caret on the 1-based line of path, opening that file as F12 opens an included one;
// false when it could not be opened (or the user kept the document).
bool GoToFileLine(const std::string& path, int line) {
  if (!IsShownDocument(path) && !OpenListedFile(path)) return false;
  return line > 0;
}

void ShowStop() {
  KeepStop(DocumentKey(Debugging.StopPath()), Debugging.StopLine());
  if (GoToFileLine(Debugging.StopPath(), Debugging.StopLine())) ShowStoppedLine(Debugging.StopLine());
}

bool PanelShowsSession() { return ListingShows() && ShownListing().text == Debugging.PanelText(); }

void ShowFrame(int k) {
  if (k < 0) return;
  Send(Debugging.SelectFrame(k));
  const DebugFrame& frame = Debugging.Frames()[size_t(k)];
  if (GoToFileLine(frame.path, frame.line)) GoToLine(CurrentEditor, frame.line);
  ShowStatus(frame.text);
}

void Apply(const DebugModel::Effects& effects) {
  Send(effects.send);
  if (effects.showStop) ShowStop();
  // The panel's lines name no places: F6 and a double-click choose a frame (DebugPanelJump).
  if (effects.panel) ShowListing({ListingKind::Query, Debugging.PanelText(), "", ""});
  if (!effects.status.empty()) ShowStatus(effects.status);
  if (!effects.tip.empty()) ShowValueTip(effects.tipPosition, effects.tip);
}

void Finish(DWORD exitCode) {
  Current.reset();
  const bool told = Debugging.Ended();
  Debugging = DebugModel{};
  KeepStop("", 0);
  ShowStoppedLine(0);
  PendingAction = 1;  // the panel goes back over the KeywordBox
  if (!told) ShowStatus("The program ended with exit code " + std::to_string(int(exitCode)));
}

void ToggleBreakpointAtCaret() {
  const int line = CaretLine();
  ToggleBreakpoint(line);
  std::vector<int> lines = BreakpointLines();
  bool set = false;
  for (int marked : lines) set = set || marked == line;
  ShowStatus((set ? "Breakpoint set at line " : "Breakpoint cleared at line ") + std::to_string(line));
  if (Current) Send(Debugging.Breakpoints({DocumentPath(), lines}));
}

void Start() {
  const std::string tool = ProgramDir + "\\zor5.exe";
  switch (DebuggingTool(tool)) {
    case ToolKind::Missing: ShowStatus("The compile tool is missing: " + tool); return;
    case ToolKind::Older: ShowStatus("This zor5.exe is older and has no debugger (-debug): nothing was started"); return;
    case ToolKind::Debugs: break;
  }
  int kind = 0;
  const std::string source = SourceToRun(kind);
  if (source.empty()) return;
  const unsigned session = Sessions + 1;
  const std::string pipeName = "\\\\.\\pipe\\zorvex-debug-" + std::to_string(Api.GetCurrentProcessId()) + "-" + std::to_string(session);
  HANDLE pipe = Api.CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                     PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) {
    ShowStatus("The debugger's pipe could not be made");
    return;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command = ToolCommandLine(tool, "-debug " + pipeName + " ", FullPath(source));
  if (!Api.CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    Api.CloseHandle(pipe);
    ShowStatus("The compile tool could not be started: " + tool);
    return;
  }
  KernelHandle thread(info.hThread);
  auto link = std::make_shared<Link>(pipe, info.hProcess);  // the link owns both from here
  if (!link->readEvent.Valid() || !link->writeEvent.Valid() || !link->connectEvent.Valid() || !link->sendEvent.Valid() ||
      !link->stopEvent.Valid()) {
    Api.TerminateProcess(link->process.Get(), 1);
    ShowStatus("The debugger's pipe could not be made");
    return;
  }
  Sessions = session;
  link->session = session;
  link->window = MainWindow;
  Debugging = DebugModel{};
  link->outgoing = Debugging.Begin(FullPath(source), AllBreakpointsNow(DocumentPath()));
  Api.SetEvent(link->sendEvent.Get());
  auto* shared = new std::shared_ptr<Link>(link);
  KernelHandle reader(Api.CreateThread(nullptr, 0, PipeThread, shared, 0, nullptr));
  if (!reader.Valid()) {
    delete shared;
    Api.TerminateProcess(link->process.Get(), 1);
    ShowStatus("The debugger's thread could not be started");
    return;
  }
  Current = link;
  ClipPanelToBoxesAbove();
  ShowStatus("Running under the debugger: Ctrl+D or Pause stops it, Shift+F5 ends it");
}

bool HeldDown(int key) { return (Api.GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool DebugTakesKey(unsigned message, unsigned key) {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return false;
  const DebugState state = Current ? Debugging.State() : DebugState::Idle;
  DebugKey action = DebugKeyFor(key, HeldDown(VK_CONTROL), HeldDown(VK_SHIFT), HeldDown(VK_MENU), state);
  if (action == DebugKey::NextFrame && !PanelShowsSession()) action = DebugKey::None;
  switch (action) {
    case DebugKey::None: return false;
    case DebugKey::ToggleBreakpoint: ToggleBreakpointAtCaret(); return true;
    case DebugKey::Start: Start(); return true;
    case DebugKey::Busy: ShowStatus("The program runs under the debugger: Ctrl+D or Pause stops it, Shift+F5 ends it"); return true;
    case DebugKey::NextFrame: ShowFrame(Debugging.NextFrame()); return true;
    case DebugKey::Continue:
      ShowStoppedLine(0);
      ShowStatus("Running under the debugger: Ctrl+D or Pause stops it, Shift+F5 ends it");
      break;
    case DebugKey::Stop: ShowStatus("Ending the program"); break;
    default: break;
  }
  Send(Debugging.Command(action, DocumentPath(), CaretLine()));
  return true;
}

void OnDebugArrived(LPARAM lParam) {
  std::unique_ptr<Arrival> arrival(reinterpret_cast<Arrival*>(lParam));
  if (!arrival || !Current || arrival->session != Current->session) return;
  if (arrival->ended) return Finish(arrival->exitCode);
  Apply(Debugging.Receive(arrival->bytes));
}

void DebugHover(size_t position) {
  if (!Current || Debugging.State() != DebugState::Stopped) return;
  Send(Debugging.Hover(NameAtPosition(position), position));
}

bool DebugKeywordBoxOnTop() { return Current != nullptr; }

bool DebugPanelJump() {
  if (!Current || Debugging.State() != DebugState::Stopped || !PanelShowsSession()) return false;
  ShowFrame(Debugging.FrameAtPanelLine(ListingCaretLine()));
  return true;
}

bool DebugBoxCommand(const std::string& text) {
  if (!Current || text.empty()) return false;
  if (Debugging.State() != DebugState::Stopped) {
    ShowStatus("The program runs: Ctrl+D or Pause stops it, then the box takes ? expression, let, watch, when, unwatch");
    return true;
  }
  Send(Debugging.Evaluate(text));
  return true;
}

void EndDebugSession() {
  if (!Current) return;
  Api.SetEvent(Current->stopEvent.Get());
  Api.TerminateProcess(Current->process.Get(), 1);
  Current.reset();
  Debugging = DebugModel{};
}
