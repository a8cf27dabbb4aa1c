// Runs watched to their end. How the IDE learns the error: the
// compile tool copies each error line into the file that ZOR5_ERRORS names, so the console
// keeps the program's whole output and its input as it is, and no pipe or reading back of the
// console's buffer (which wraps, scrolls and interleaves with other programs) is needed.
#include "compiler/RunWatch_win.h"
#include <windows.h>
#include <memory>
#include "auxwin/Console.h"
#include "base/Bindings_win.h"
#include "base/Handles_win.h"
#include "base/SharedState.h"
#include "base/StatusBar_win.h"
#include "base/TextScan.h"
#include "compiler/RunReport.h"
#include "documents/Documents.h"
#include "editor/EditorAccess_win.h"
#include "navigation/Navigation_win.h"

namespace {
constexpr const char* ErrorsVariable = "ZOR5_ERRORS";
unsigned RunsStarted = 0;  // numbers each run's error file

struct Run {
  HANDLE process = nullptr;
  HWND window = nullptr;
  // The thread's own copies of the routines it calls.
  decltype(&::WaitForSingleObject) wait = nullptr;
  decltype(&::GetExitCodeProcess) exitCode = nullptr;
  decltype(&::CloseHandle) close = nullptr;
  decltype(&::PostMessageA) post = nullptr;
  bool compiled = false;
  std::string file, errorFile;
  std::string said;  // the status bar's message as the run started
  DWORD code = 0;
};

DWORD WINAPI WatchRun(void* parameter) {
  auto* run = static_cast<Run*>(parameter);
  run->wait(run->process, INFINITE);
  if (!run->exitCode(run->process, &run->code)) run->code = 0;
  run->close(run->process);
  run->process = nullptr;
  if (!run->post(run->window, RunEndedMessage, 0, reinterpret_cast<LPARAM>(run))) delete run;
  return 0;
}

std::string ErrorFileName() {
  char folder[MAX_PATH + 1] = "";
  const DWORD n = Api.GetTempPathA(sizeof folder, folder);
  std::string path = n > 0 && n < sizeof folder ? std::string(folder, n) : ProgramDir + "\\";
  return path + "zorvex-run-" + std::to_string(Api.GetCurrentProcessId()) + "-" + std::to_string(++RunsStarted) +
         ".txt";
}

void WriteRunHeader(bool compiled, const std::string& file) {
  SYSTEMTIME now{};
  Api.GetLocalTime(&now);
  ConsoleWrite(RunHeader(compiled, file, now.wHour, now.wMinute, now.wSecond));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

void StartWatchedRun(const std::string& commandLine, bool compiled, const std::string& file) {
  WriteRunHeader(compiled, file);
  auto run = std::make_unique<Run>();
  run->window = MainWindow;
  run->wait = Api.WaitForSingleObject;
  run->exitCode = Api.GetExitCodeProcess;
  run->close = Api.CloseHandle;
  run->post = Api.PostMessageA;
  run->compiled = compiled;
  run->file = file;
  run->errorFile = ErrorFileName();
  Api.DeleteFileA(run->errorFile.c_str());

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string writable = commandLine;  // CreateProcessA may write into the command line
  // Only the started tool sees the variable: it is taken away again before anything else runs.
  Api.SetEnvironmentVariableA(ErrorsVariable, run->errorFile.c_str());
  const BOOL started = Api.CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &info);
  Api.SetEnvironmentVariableA(ErrorsVariable, nullptr);
  if (!started) return;
  run->said = RunStartedText(compiled, file);
  ShowStatus(run->said);
  KernelHandle thread(info.hThread);
  run->process = info.hProcess;  // the watcher closes it
  HANDLE watcher = MainWindow == nullptr ? nullptr  // nobody to tell how it ended
                   : Api.CreateThread(nullptr, 64 * 1024, WatchRun, run.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (watcher == nullptr) {
    Api.CloseHandle(info.hProcess);
    return;
  }
  run.release();
  Api.CloseHandle(watcher);
}

void OnRunEnded(intptr_t ended) {
  std::unique_ptr<Run> run(reinterpret_cast<Run*>(ended));
  const std::string text = ReadTextFile(run->errorFile);
  Api.DeleteFileA(run->errorFile.c_str());
  if (MainWindow == nullptr) return;
  const RunErrors errors = ReadRunErrors(run->compiled, text);
  if (errors.listing.empty()) {
    // Told only while the run's own message stands: the user has moved on otherwise.
    if (StatusShown() == run->said) ShowStatus(RunEndedText(run->compiled, run->file, run->code));
    return;
  }
  ShowPlaces(errors.listing, FolderOf(run->file), "");
  ShowStatus(errors.status);
}
