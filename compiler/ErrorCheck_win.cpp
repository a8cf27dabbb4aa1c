// Errors as the user types. Each check runs on a thread of its own
// with a stack as deep as the tools', over a copy of the text taken when the pause ends, so a
// key never waits for one. The thread holds its own reference to the compiler library and its
// own copies of the routines it calls: the IDE may close and free its libraries while a check
// still runs, and its result then finds no window and is dropped.
#include "compiler/ErrorCheck.h"
#include <windows.h>
#include <memory>
#include <string>
#include "base/AppMessages_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "base/StatusBar_win.h"
#include "compiler/BuildState.h"
#include "compiler/BuildText.h"
#include "editor/EditorAccess_win.h"
#include "editor/ErrorMark_win.h"

namespace {
constexpr UINT PauseMs = 500;
constexpr SIZE_T CheckStackBytes = SIZE_T{64} << 20;  // room for a source nested to every limit of the language
constexpr int MaxChecksRunning = 2;                   // one that may be stale, one for the text as it is
// A check needs about 16 bytes of memory per source byte, in the IDE's own address space; a
// longer document is not checked, so a background check never starves the editing.
constexpr size_t MaxCheckedBytes = size_t{32} << 20;

struct CheckJob {
  ZorCheckFn check = nullptr;
  decltype(&::PostMessageA) post = nullptr;
  decltype(&::FreeLibraryAndExitThread) exitThread = nullptr;
  HMODULE library = nullptr;  // the thread's own reference to zorvex.dll
  HWND window = nullptr;
  unsigned changes = 0;  // EditorChanges when the text was taken
  std::string text, file;
  int line = -1;
  std::string message;
};

void Check(CheckJob& job) {
  // A NUL byte would end the text early for the library, which would then check only a part.
  if (job.text.find('\0') != std::string::npos) return;
  char message[1024] = "";
  job.line = job.check(job.text.c_str(), job.file.c_str(), message, sizeof message);
  job.message = message;
}

DWORD WINAPI RunCheck(void* parameter) {
  auto* job = static_cast<CheckJob*>(parameter);
  const HMODULE library = job->library;
  const auto exitThread = job->exitThread;
  try {
    Check(*job);
    std::string().swap(job->text);  // the copy is not needed any longer
  } catch (...) {
    job->line = -1;
  }
  --ChecksRunning;
  if (!job->post(job->window, ErrorCheckedMessage, 0, reinterpret_cast<LPARAM>(job))) delete job;
  exitThread(library, 0);
  return 0;
}

// line 0: the text has no error (or was not checked); the mark and the message go.
void ShowResult(int line, const std::string& message, const std::string& file) {
  ErrorLine = line > 0 ? line : 0;
  ErrorShown = ErrorLine ? ErrorWithoutFile(message, file) : "";
  if (ErrorLine) ShowErrorMark(Editor, ErrorLine);
  else ClearErrorMark(Editor);
  ShowErrorAtCaret();
}

void StartCheck() {
  if (ChecksRunning >= MaxChecksRunning) {
    CheckDue = true;
    return;
  }
  CheckDue = false;
  auto job = std::make_unique<CheckJob>();
  job->check = Api.zor_check;
  job->post = Api.PostMessageA;
  job->exitThread = Api.FreeLibraryAndExitThread;
  job->window = MainWindow;
  job->changes = EditorChanges;
  std::string storage;
  const std::string_view text = ControlTextView(Editor, storage);
  if (text.size() > MaxCheckedBytes) return ShowResult(0, "", "");
  job->text = std::string(text);
  job->file = DocumentSourcePath(CurrentFile);
  job->library = Api.LoadLibraryA("zorvex.dll");
  if (job->library == nullptr) return;
  ++ChecksRunning;
  HANDLE thread = Api.CreateThread(nullptr, CheckStackBytes, RunCheck, job.get(),
                                   CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    --ChecksRunning;
    Api.FreeLibrary(job->library);
    return;
  }
  job.release();  // the thread owns it now
  // On a busy machine the keys go first.
  Api.SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  Api.ResumeThread(thread);
  Api.CloseHandle(thread);
}

void SetPauseTimer(UINT ms) {
  PauseTimerWindow = Api.SetTimer(MainWindow, ErrorCheckTimer, ms, nullptr) ? MainWindow : nullptr;
}

bool CheckingOn() { return Api.zor_check != nullptr && Editor != nullptr && MainWindow != nullptr; }

}  // namespace

// A change notes its time and sets the timer only when it is not running: when the timer
// ends early it runs again for the rest of the pause. So a key costs no call to the system.
void NoteEditorChange() {
  ++EditorChanges;
  if (!CheckingOn()) return;
  LastChangeTick = Api.GetTickCount();
  if (PauseTimerWindow != MainWindow) SetPauseTimer(PauseMs);
}

bool OnErrorCheckTimer(uintptr_t timer) {
  if (timer != ErrorCheckTimer) return false;
  Api.KillTimer(MainWindow, ErrorCheckTimer);
  PauseTimerWindow = nullptr;
  if (!CheckingOn()) return true;
  const unsigned paused = Api.GetTickCount() - LastChangeTick;
  if (paused + 10 < PauseMs) {
    SetPauseTimer(PauseMs - paused);
    return true;
  }
  StartCheck();
  return true;
}

void OnErrorChecked(intptr_t result) {
  std::unique_ptr<CheckJob> job(reinterpret_cast<CheckJob*>(result));
  if (!CheckingOn()) return;
  if (job->changes == EditorChanges) ShowResult(job->line, job->message, job->file);
  if (CheckDue) StartCheck();
}

void ShowErrorAtCaret() {
  // The message belongs to the marked line, which moves as lines are added or taken above it.
  // Asked again only after an edit or a new result: the caret moves far more often.
  static unsigned askedAtChange = ~0u;
  static int askedForLine = -1, markLine = 0;
  if (askedAtChange != EditorChanges || askedForLine != ErrorLine) {
    markLine = ErrorLine > 0 && Editor != nullptr ? ErrorMarkLine(Editor) : 0;
    askedAtChange = EditorChanges;
    askedForLine = ErrorLine;
  }
  StatusError(markLine > 0 ? ErrorAtLine(ErrorShown, ErrorLine, markLine) : std::string(), markLine);
}

void GoToErrorLine() {
  if (Editor == nullptr) return;
  const int line = ErrorMarkLine(Editor);
  if (line > 0) GoToLine(Editor, line);
}

bool ErrorCheckRunning() { return ChecksRunning > 0; }
