// The welcome dialog made from its template by the platform: its caption, fade-in result and
// centred default button, the ways it closes, and a dialog that cannot be made.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "DialogAnswer.h"
#include "auxwin/Welcome_win.h"

namespace {
std::string OwnDir() {
  std::string path(MAX_PATH * 4, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.rfind('\\'));
}

bool QuitPosted() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

HWND ShowWelcome() {
  DialogTemplate dialog;
  if (!BuildWelcomeTemplate(dialog)) return nullptr;
  HWND window = CreateModelessFromTemplate(nullptr, WelcomeDialogProc, 0, dialog);
  EXPECT_TRUE(dialog.bytes.empty());  // released once the dialog exists
  return window;
}
}  // namespace

TEST(WelcomeDialog, ShowsFadedInWithItsCaptionAndTheCentredCloseButton) {
  HWND dialog = ShowWelcome();
  ASSERT_NE(dialog, nullptr);
  char title[64] = "";
  GetWindowTextA(dialog, title, sizeof title);
  EXPECT_STREQ(title, "Zorvex Basic says welcome to Zor");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(dialog, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_EQ(flags & LWA_ALPHA, DWORD(LWA_ALPHA));

  HWND close = GetDlgItem(dialog, IDCANCEL);
  ASSERT_NE(close, nullptr);
  char text[16] = "";
  GetWindowTextA(close, text, sizeof text);
  EXPECT_STREQ(text, "Close");
  EXPECT_EQ(GetWindowLongA(close, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP), BS_DEFPUSHBUTTON | WS_TABSTOP);
  RECT place = {95, 165, 0, 0}, size = {0, 0, 30, 12};  // dialog units
  MapDialogRect(dialog, &place);
  MapDialogRect(dialog, &size);
  RECT actual;
  GetWindowRect(close, &actual);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ(actual.left, place.left);
  EXPECT_EQ(actual.top, place.top);
  EXPECT_EQ(actual.right - actual.left, size.right);
  EXPECT_EQ(actual.bottom - actual.top, size.bottom);
  DestroyWindow(dialog);
  QuitPosted();
}

TEST(WelcomeDialog, CloseEscAndTheCloseBoxEndItsLoopButOtherCommandsDoNot) {
  const struct { const char* how; UINT message; WPARAM wParam; bool closes; } cases[] = {
      {"Close or Esc", WM_COMMAND, IDCANCEL, true},
      {"close box", WM_CLOSE, 0, true},
      {"another command", WM_COMMAND, IDOK, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    HWND dialog = ShowWelcome();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(dialog, c.message, c.wParam, 0);
    EXPECT_EQ(IsWindow(dialog) == FALSE, c.closes);
    EXPECT_EQ(QuitPosted(), c.closes);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    QuitPosted();
  }
}

TEST(ModelessDialog, ADialogThatCannotBeMadeIsReportedAndEndsTheProcessWithFailure) {
  std::string program = OwnDir() + "\\faildialog.exe";
  std::string line = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(info.hProcess, 9);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  EXPECT_EQ(code, ExitDialogFailed);
}
