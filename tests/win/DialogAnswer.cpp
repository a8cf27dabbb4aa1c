// The watcher thread that answers message boxes and file dialogs for the tests.
#include "DialogAnswer.h"
#include <cstdio>
#include <map>
#include "shell/ShellState.h"

namespace {
constexpr int MessageTextId = 0xFFFF;  // the static control of a message box's text
constexpr int FileNameComboId = 0x47C;  // cmb13: file-name field of the explorer-style dialog
constexpr int FileNameEditId = 0x480;   // edt1: file-name field of other dialog styles
constexpr int FilterComboId = 0x470;    // cmb1: list of file types
constexpr UINT SendTimeoutMs = 5000;
constexpr DWORD PollMs = 10;

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, SendTimeoutMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  if (!window) return {};
  LRESULT length = SendWithin(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendWithin(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

bool IsDialogClass(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}

// A dialog is ready for an answer when it is shown and not blocked by a dialog of its own.
bool IsReady(HWND window) {
  return IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

HWND FileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, FileNameComboId);
  return field ? field : GetDlgItem(dialog, FileNameEditId);
}

SeenDialog Describe(HWND dialog) {
  SeenDialog seen;
  seen.title = TextOf(dialog);
  seen.mainWindowEnabled = !MainWindow || IsWindowEnabled(MainWindow);
  seen.text = TextOf(GetDlgItem(dialog, MessageTextId));
  if (HWND name = FileNameField(dialog)) seen.fileName = TextOf(name);
  if (HWND combo = GetDlgItem(dialog, FilterComboId)) {
    LRESULT count = SendWithin(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      LRESULT length = SendWithin(combo, CB_GETLBTEXTLEN, i, 0);
      std::string entry(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
      LRESULT got = SendWithin(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
      entry.resize(got > 0 ? static_cast<size_t>(got) : 0);
      seen.filters.push_back(entry);
    }
    seen.filterSelection = static_cast<int>(SendWithin(combo, CB_GETCURSEL, 0, 0));
  }
  return seen;
}

void PressButton(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::atomic<int> ActiveAnswers{0};  // DialogAnswer objects alive; the guard rests meanwhile

// Closes a dialog that appears while no DialogAnswer is alive and stays up for StrayMs, so
// that a test which did not expect a dialog fails instead of hanging the whole run.
class StrayDialogGuard {
 public:
  StrayDialogGuard() : thread_(GetCurrentThreadId()) { CreateThread(nullptr, 0, Run, this, 0, nullptr); }

 private:
  static constexpr DWORD StrayMs = 10000;
  static BOOL CALLBACK Collect(HWND window, LPARAM param) {
    if (IsDialogClass(window) && IsReady(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
  }
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<StrayDialogGuard*>(self)->Watch();
    return 0;
  }
  void Watch() {
    std::map<HWND, DWORD> firstSeen;
    for (;;) {
      Sleep(100);
      std::vector<HWND> open;
      if (ActiveAnswers == 0) EnumThreadWindows(thread_, Collect, reinterpret_cast<LPARAM>(&open));
      std::map<HWND, DWORD> still;
      for (HWND dialog : open) {
        DWORD since = firstSeen.count(dialog) ? firstSeen[dialog] : GetTickCount();
        if (GetTickCount() - since < StrayMs) {
          still[dialog] = since;
          continue;
        }
        std::fprintf(stderr, "closing a dialog that no test answered: \"%s\" %s\n", TextOf(dialog).c_str(),
                     TextOf(GetDlgItem(dialog, MessageTextId)).c_str());
        PressButton(dialog, IDCANCEL);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
      }
      firstSeen.swap(still);
    }
  }
  DWORD thread_;
};

// Started before main, on the thread that runs the tests.
StrayDialogGuard Guard;

struct FindState {
  const std::set<HWND>* handled;
  HWND found;
};

BOOL CALLBACK FindNew(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  if (state->handled->count(window) || !IsDialogClass(window) || !IsReady(window)) return TRUE;
  state->found = window;
  return FALSE;
}
}  // namespace

DialogReply Press(int button) { return DialogReply{button, false, {}, {}}; }
DialogReply ChooseFile(std::string name) { return DialogReply{IDOK, true, std::move(name), {}}; }
DialogReply CancelDialog() { return DialogReply{IDCANCEL, false, {}, {}}; }

DialogAnswer::DialogAnswer(std::vector<DialogReply> replies, DWORD timeoutMs)
    : thread_(GetCurrentThreadId()), timeoutMs_(timeoutMs), replies_(std::move(replies)) {
  ++ActiveAnswers;
  watcher_ = CreateThread(nullptr, 0, WatchThread, this, 0, nullptr);
}

DWORD WINAPI DialogAnswer::WatchThread(LPVOID self) {
  static_cast<DialogAnswer*>(self)->Watch();
  return 0;
}

DialogAnswer::~DialogAnswer() {
  stop_ = true;
  // The watcher may be waiting on a message sent to this thread: keep pumping until it ends.
  if (!watcher_) return;
  while (MsgWaitForMultipleObjects(1, &watcher_, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  CloseHandle(watcher_);
  --ActiveAnswers;
}

std::vector<SeenDialog> DialogAnswer::Seen() const {
  std::lock_guard<std::mutex> guard(lock_);
  return seen_;
}

SeenDialog DialogAnswer::At(size_t index) const {
  std::lock_guard<std::mutex> guard(lock_);
  if (index < seen_.size()) return seen_[index];
  SeenDialog none;
  none.title = "<none>";
  return none;
}

size_t DialogAnswer::Count() const {
  std::lock_guard<std::mutex> guard(lock_);
  return seen_.size();
}

bool DialogAnswer::Complete() const {
  std::lock_guard<std::mutex> guard(lock_);
  if (stuck_ || nextReply_ != replies_.size()) return false;
  for (const SeenDialog& dialog : seen_)
    if (!dialog.expected) return false;
  return true;
}

HWND DialogAnswer::NextDialog() {
  FindState state{&handled_, nullptr};
  EnumThreadWindows(thread_, FindNew, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

void DialogAnswer::Answer(HWND dialog) {
  SeenDialog seen = Describe(dialog);
  DialogReply reply;
  {
    std::lock_guard<std::mutex> guard(lock_);
    seen.expected = nextReply_ < replies_.size();
    if (seen.expected) reply = replies_[nextReply_++];
    seen_.push_back(seen);
  }
  if (reply.meanwhile) reply.meanwhile();
  if (reply.typeName) {
    HWND field = FileNameField(dialog);
    SendWithin(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(reply.fileName.c_str()));
  }
  PressButton(dialog, reply.button);
  handled_.insert(dialog);
  answered_.emplace_back(dialog, GetTickCount());
}

void DialogAnswer::Watch() {
  while (!stop_) {
    if (HWND dialog = NextDialog()) Answer(dialog);
    // A dialog that ignored its answer is cancelled, then closed, so the test cannot hang.
    for (auto& [dialog, since] : answered_) {
      if (!IsReady(dialog) || GetTickCount() - since < timeoutMs_) continue;
      {
        std::lock_guard<std::mutex> guard(lock_);
        stuck_ = true;
      }
      PressButton(dialog, IDCANCEL);
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      since = GetTickCount();
    }
    Sleep(PollMs);
  }
}
