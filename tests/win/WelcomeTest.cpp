// The welcome dialog made from its template by the platform: its caption, fade-in result and
// centred default button, the ways it closes, its picture drawn only when it needs painting,
// and a dialog that cannot be made.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdlib>
#include <string>
#include "DialogAnswer.h"
#include "auxwin/Welcome_win.h"
#include "base/Bindings_win.h"
#include "base/Scaling_win.h"

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

// GDI+ running for one test, as start-up runs it around the welcome dialog.
class GdiplusRunning {
 public:
  GdiplusRunning() {
    GdipStartupInput input = {1, nullptr, FALSE, FALSE};
    started_ = Api.GdiplusStartup(&token_, &input, nullptr) == 0;
  }
  GdiplusRunning(const GdiplusRunning&) = delete;
  GdiplusRunning& operator=(const GdiplusRunning&) = delete;
  ~GdiplusRunning() {
    if (started_) Api.GdiplusShutdown(token_);
  }
  bool Started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

// Counts the pictures decoded and drawn through the bound GDI+ routines while it lives.
class PictureCounts {
 public:
  PictureCounts() : load_(Api.GdipLoadImageFromFile), draw_(Api.GdipDrawImageRectI) {
    Decodes = Draws = 0;
    RealLoad = load_;
    RealDraw = draw_;
    Api.GdipLoadImageFromFile = CountLoad;
    Api.GdipDrawImageRectI = CountDraw;
  }
  PictureCounts(const PictureCounts&) = delete;
  PictureCounts& operator=(const PictureCounts&) = delete;
  ~PictureCounts() {
    Api.GdipLoadImageFromFile = load_;
    Api.GdipDrawImageRectI = draw_;
  }
  static inline int Decodes = 0;
  static inline int Draws = 0;
  static inline std::wstring LastFile;  // the picture decoded last

 private:
  static GdipStatus WINAPI CountLoad(const WCHAR* file, void** image) {
    ++Decodes;
    LastFile = file;
    return RealLoad(file, image);
  }
  static GdipStatus WINAPI CountDraw(void* graphics, void* image, INT x, INT y, INT width, INT height) {
    ++Draws;
    return RealDraw(graphics, image, x, y, width, height);
  }
  static inline GdipLoadImageFromFileFn RealLoad = nullptr;
  static inline GdipDrawImageRectIFn RealDraw = nullptr;
  GdipLoadImageFromFileFn load_;
  GdipDrawImageRectIFn draw_;
};

bool NoPaintPending() { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0; }

// Handles this thread's messages for the given time; returns how many were WM_PAINT.
int PaintsWithin(DWORD milliseconds) {
  int paints = 0;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      paints += msg.message == WM_PAINT;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return paints;
}

bool LoopGaveUp = false;
void CALLBACK GiveUpLoop(HWND, UINT, UINT_PTR, DWORD) {
  LoopGaveUp = true;
  PostQuitMessage(0);
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

TEST(WelcomeDialog, EscEnterAndTheCloseButtonEachEndItsLoopAtTheFirstPress) {
  const struct { const char* how; UINT message; WPARAM wParam; } presses[] = {
      {"Esc", WM_KEYDOWN, VK_ESCAPE}, {"Enter", WM_KEYDOWN, VK_RETURN}, {"the Close button", BM_CLICK, 0}};
  for (const auto& press : presses) {
    SCOPED_TRACE(press.how);
    HWND dialog = ShowWelcome();
    ASSERT_NE(dialog, nullptr);
    // Sent to the Close button, which has the focus in the dialog.
    PostMessageA(GetDlgItem(dialog, IDCANCEL), press.message, press.wParam, 0);
    LoopGaveUp = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUpLoop);
    RunDialogLoop(dialog);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(LoopGaveUp);
    EXPECT_FALSE(IsWindow(dialog));
    if (IsWindow(dialog)) DestroyWindow(dialog);
    QuitPosted();
  }
}

TEST(WelcomeDialog, AnIdleDialogDecodesItsPictureOnceAndPaintsOnlyWhenUncovered) {
  GdiplusRunning gdiplus;
  ASSERT_TRUE(gdiplus.Started());
  PictureCounts counts;
  HWND dialog = ShowWelcome();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(WaitFor(NoPaintPending, 5000));  // its first paint is done
  EXPECT_EQ(PictureCounts::Decodes, 1);
  EXPECT_GE(PictureCounts::Draws, 1);  // the picture is beside the tests
  int drawn = PictureCounts::Draws;

  // Nothing covers or uncovers it: it is not painted again, so it waits without working.
  EXPECT_EQ(PaintsWithin(1000), 0);
  EXPECT_EQ(PictureCounts::Draws, drawn);

  // Uncovered, it draws the picture again, from the picture it decoded at the start: once for
  // the dialog and at most once more where the themed button draws its parent's background.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  EXPECT_TRUE(WaitFor(NoPaintPending, 5000));
  EXPECT_GE(PictureCounts::Draws, drawn + 1);
  EXPECT_LE(PictureCounts::Draws, drawn + 2);
  EXPECT_EQ(PaintsWithin(200), 0);
  EXPECT_EQ(PictureCounts::Decodes, 1);
  DestroyWindow(dialog);
  QuitPosted();
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

namespace {
// Where a child sits in its dialog's client area.
RECT PlaceIn(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// True when a length at a scale is within a pixel of the length at 96 dpi grown by it.
bool Grown(LONG scaled, LONG at96, int dpi) { return std::abs(scaled - at96 * dpi / 96.0) <= 1.0; }

int ButtonFontHeight(HWND dialog) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dialog, IDCANCEL), WM_GETFONT, 0, 0)), sizeof font, &font);
  return std::abs(int(font.lfHeight));
}
}  // namespace

TEST(WelcomeDialog, MovedToADisplayOf144DpiItTakesTheSizeTheButtonAndThePictureForItAndBackAt96) {
  if (SystemDpi() != 96) GTEST_SKIP() << "moves the dialog from a display of 96 dpi";
  GdiplusRunning gdiplus;
  ASSERT_TRUE(gdiplus.Started());
  PictureCounts counts;
  HWND dialog = ShowWelcome();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(PictureCounts::LastFile, L"2001-A-Space-Odyssey-1.jpg");
  RECT client96, button96, outer;
  GetClientRect(dialog, &client96);
  button96 = PlaceIn(GetDlgItem(dialog, IDCANCEL));
  GetWindowRect(dialog, &outer);

  SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&outer));
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_TRUE(Grown(client.right, client96.right, 144)) << client.right << " from " << client96.right;
  EXPECT_TRUE(Grown(client.bottom, client96.bottom, 144)) << client.bottom << " from " << client96.bottom;
  const RECT button = PlaceIn(GetDlgItem(dialog, IDCANCEL));
  EXPECT_TRUE(Grown(button.left, button96.left, 144)) << button.left;
  EXPECT_TRUE(Grown(button.top, button96.top, 144)) << button.top;
  EXPECT_TRUE(Grown(button.right - button.left, button96.right - button96.left, 144));
  EXPECT_TRUE(Grown(button.bottom - button.top, button96.bottom - button96.top, 144));
  EXPECT_EQ(ButtonFontHeight(dialog), 24);  // the System font's 16 pixels grown by half
  EXPECT_EQ(PictureCounts::LastFile, L"2001-A-Space-Odyssey-1@150.jpg");  // drawn for 150%, not stretched

  GetWindowRect(dialog, &outer);
  SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&outer));
  GetClientRect(dialog, &client);
  EXPECT_TRUE(Grown(client.right, client96.right, 96));
  EXPECT_TRUE(Grown(client.bottom, client96.bottom, 96));
  EXPECT_EQ(ButtonFontHeight(dialog), 16);
  EXPECT_EQ(PictureCounts::LastFile, L"2001-A-Space-Odyssey-1.jpg");
  DestroyWindow(dialog);
  QuitPosted();
}
