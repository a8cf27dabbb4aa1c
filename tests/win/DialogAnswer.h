// Answers the message boxes and file dialogs that the code under test opens on this thread:
// a watcher thread finds each "#32770" window as it appears, records what it shows and
// presses a button or types a file name, following a script. Dialogs beyond the script are
// cancelled and recorded as unexpected, so a test never hangs on a modal loop; a dialog that
// appears while no DialogAnswer is alive is closed after ten seconds, with a note on stderr.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// What one dialog showed when it appeared.
struct SeenDialog {
  std::string title;                 // window caption
  std::string text;                  // message text of a message box; empty for file dialogs
  std::string fileName;              // file-name field of a file dialog as it opened
  std::vector<std::string> filters;  // entries of the file-type list of a file dialog, in order
  int filterSelection = -1;          // the selected entry of that list
  bool mainWindowEnabled = true;     // whether MainWindow could take input while it was up
  bool expected = true;              // false when no reply was left and it was cancelled
};

// One scripted reply: optionally type a name into the file-name field, then press a button.
// meanwhile runs on the watcher thread while the dialog is up, before the button is pressed
// (the test thread is inside the dialog's modal loop then), to act as the user or another
// part of the program could act under the dialog.
struct DialogReply {
  int button = IDCANCEL;
  bool typeName = false;
  std::string fileName;
  std::function<void()> meanwhile;
};
DialogReply Press(int button);              // IDYES, IDNO, IDOK, IDCANCEL, ...
DialogReply ChooseFile(std::string name);   // types name into a file dialog and presses OK
DialogReply CancelDialog();                 // presses Cancel

class DialogAnswer {
 public:
  // Starts answering the dialogs that the calling thread opens, in the order of replies.
  // A dialog that is still up timeoutMs after it was answered is cancelled and counted stuck.
  explicit DialogAnswer(std::vector<DialogReply> replies, DWORD timeoutMs = 20000);
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;
  ~DialogAnswer();

  // Everything seen so far, in order of appearance.
  std::vector<SeenDialog> Seen() const;
  // The dialog seen at index, or an empty record (title "<none>") when there were fewer.
  SeenDialog At(size_t index) const;
  // Number of dialogs seen, expected or not.
  size_t Count() const;
  // True when every scripted reply was used, no dialog came unexpectedly and none got stuck.
  bool Complete() const;

 private:
  static DWORD WINAPI WatchThread(LPVOID self);
  void Watch();
  HWND NextDialog();
  void Answer(HWND dialog);

  DWORD thread_;
  DWORD timeoutMs_;
  std::vector<DialogReply> replies_;
  size_t nextReply_ = 0;
  std::set<HWND> handled_;
  std::vector<std::pair<HWND, DWORD>> answered_;  // dialog and the tick when it was answered
  std::vector<SeenDialog> seen_;
  bool stuck_ = false;
  mutable std::mutex lock_;
  std::atomic<bool> stop_{false};
  HANDLE watcher_ = nullptr;
};

// Waits, pumping this thread's messages, until done() holds or timeoutMs passed; returns done().
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}
