// The real main window created in this process from a settings file beside the test program:
// its child controls, the editor's set-up, the layout and the closing step.
// The creation step reads the program's command line, so run these with GTEST_FILTER and
// GTEST_OUTPUT in the environment rather than as arguments.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>
#include "DialogAnswer.h"
#include "compiler/Build.h"
#include "compiler/BuildState.h"
#include "compiler/ErrorCheck.h"
#include "compiler/Launch.h"
#include "commands/CommandState.h"
#include "documents/DocumentState.h"
#include "editor/EditorAccess_win.h"
#include "editor/ErrorMark_win.h"
#include "Scintilla.h"
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Scaling_win.h"
#include "base/StatusBar_win.h"
#include "navigation/FindFiles.h"
#include "shell/GuiSlots.h"
#include "shell/Layout.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/MainWindow_win.h"
#include "shell/Scaling_win.h"
#include "shell/ShellState.h"
#include "shell/StartupText.h"
#include "shell/Toolbar_win.h"
#include "shell/WindowProc_win.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Where a child control sits in its parent's client area.
Rect PlaceOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct TipSearch { HWND tool, tip; };

BOOL CALLBACK MatchTooltip(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<TipSearch*>(lParam);
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  if (std::string(cls) == "tooltips_class32" && SendMessageA(window, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&info)) &&
      info.uId == reinterpret_cast<UINT_PTR>(search->tool))
    search->tip = window;
  return search->tip == nullptr;
}

// The tooltip whose one tool is the given window, among this thread's top-level windows.
HWND TooltipOf(HWND tool) {
  TipSearch search = {tool, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchTooltip, reinterpret_cast<LPARAM>(&search));
  return search.tip;
}

std::string TooltipText(HWND tip, HWND tool) {
  char text[256] = "";
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(tip);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  return text;
}

// The titles given to tooltips, seen on their way in: the tooltips keep them to themselves.
struct GivenTitle { HWND tip; int icon; std::string title; };
std::vector<GivenTitle> GivenTitles;

LRESULT CALLBACK RecordTitles(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == TTM_SETTITLEA)
    GivenTitles.push_back({call->hwnd, int(call->wParam), reinterpret_cast<const char*>(call->lParam)});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::pair<int, std::string> TooltipTitle(HWND tip) {
  for (const GivenTitle& given : GivenTitles)
    if (given.tip == tip) return {given.icon, given.title};
  return {0, "<none>"};
}

HWND ChildOfClass(HWND parent, const char* cls) { return FindWindowExA(parent, nullptr, cls, nullptr); }

bool QuitPosted() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The command line the creation step reads, as a shortcut or a file association gives it.
std::string GivenCommandLine;
LPSTR WINAPI GivenLine() { return GivenCommandLine.data(); }

class MainWindowCreated : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetCommandTail(), "") << "the creation step would take the test's arguments as a file name";
    dir = GetProgramDir();
    settingsFile = dir + "\\Zorvexide.cfg";
    source = dir + "\\mainwindow_source.zobas";
    WriteFile(source, "first line\r\nsecond line\r\n");
    settings = "$dir [" + dir + "]\r\n$file [" + source + "]\r\n$pos [5]\r\n$sizeX [700]\r\n$sizeY [500]\r\n" +
               "$font [Courier New]\r\n$fontsize [10]\r\n";
    WriteFile(settingsFile, settings);
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    startDir = cwd;
    ResetState();
    WorkAreaWidth = 1920;
    WorkAreaHeight = 1040;
    // The toolbar pictures, as start-up loads them before the window exists.
    LoadToolbarPictures(SystemDpi());
    GivenTitles.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordTitles, nullptr, GetCurrentThreadId());
    window = CreateMainWindow(580, 580, WS_OVERLAPPEDWINDOW, 2);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(window, nullptr);
  }

  void TearDown() override {
    if (window && IsWindow(window)) DestroyWindow(window);
    QuitPosted();
    std::remove(settingsFile.c_str());
    std::remove(source.c_str());
    SetCurrentDirectoryA(startDir.c_str());
    ResetState();
  }

  static void ResetState() {
    MainWindow = Editor = CurrentEditor = nullptr;
    for (HWND& b : CommandButtons) b = nullptr;
    for (HWND& b : ToolbarButtons) b = nullptr;
    for (HWND& b : FinderBoxes) b = nullptr;
    MenuBar = nullptr;  // destroyed with the window
    ProjectFile.clear();
    ProjectText.clear();
    CurrentFile.clear();
    SaveName.clear();
    ProjectOpen = OutputShown = PendingAction = RestorePos = 0;
  }

  // Creates the window again, the command line naming argument after the program.
  void CreateWithArgument(const std::string& argument) {
    DestroyWindow(window);
    QuitPosted();
    SetCurrentDirectoryA(startDir.c_str());
    ResetState();
    GivenCommandLine = "\"ZorvexIde.exe\" " + argument;
    auto commandLine = Api.GetCommandLineA;
    Api.GetCommandLineA = GivenLine;
    window = CreateMainWindow(580, 580, WS_OVERLAPPEDWINDOW, 2);
    Api.GetCommandLineA = commandLine;
  }

  HWND window = nullptr;
  std::string dir, settingsFile, source, settings, startDir;
};
}  // namespace

TEST_F(MainWindowCreated, ChildControlsHaveTheirClassesIdentifiersAndStyles) {
  const int buttonIds[11] = {1000, 4001, 4002, 4003, 4004, 4005, 4006, 4007, 4008, 4009, 4010};
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(buttonIds[i]);
    ASSERT_NE(CommandButtons[i], nullptr);
    EXPECT_EQ(ClassOf(CommandButtons[i]), "Button");
    EXPECT_EQ(GetDlgCtrlID(CommandButtons[i]), buttonIds[i]);
    EXPECT_EQ(DWORD(GetWindowLongA(CommandButtons[i], GWL_STYLE)) & 0x5000400Bu, 0x5000400Bu);
    EXPECT_TRUE(GetWindowLongA(CommandButtons[i], GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetParent(CommandButtons[i]), window);
  }
  for (int slot = FindBox; slot <= OutputBox; ++slot) {
    SCOPED_TRACE(slot);
    ASSERT_NE(FinderBoxes[slot], nullptr);
    EXPECT_EQ(ClassOf(FinderBoxes[slot]), "Edit");
    EXPECT_EQ(GetDlgCtrlID(FinderBoxes[slot]), 6000);
    EXPECT_EQ(DWORD(GetWindowLongA(FinderBoxes[slot], GWL_STYLE)) & 0x50A01004u, 0x50A01004u);
  }
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(CurrentEditor, Editor);
  EXPECT_EQ(ClassOf(Editor), "Scintilla");
  EXPECT_EQ(GetDlgCtrlID(Editor), 256);
  EXPECT_EQ(MainWindow, window);
  EXPECT_EQ(GuiState[0], uint32_t(reinterpret_cast<uintptr_t>(window)));
  // Every child control belongs to the program's instance, which slots 2 and 4 keep whole (a
  // 64-bit image is loaded above 4 GB, past what one slot holds).
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  EXPECT_EQ(InstanceFromSlots(GuiState[2], GuiState[4], sizeof(HINSTANCE)), reinterpret_cast<uintptr_t>(instance));
  EXPECT_EQ(ProgramInstance(), instance);
  for (HWND control : {CommandButtons[0], FinderBoxes[OutputBox], Editor})
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control, GWLP_HINSTANCE)), instance);
}

TEST_F(MainWindowCreated, EditorIsSetUpWithLexerColoursMarginAndTheSettingsFont) {
  EXPECT_EQ(SendMessageA(Editor, 4002 /*SCI_GETLEXER*/, 0, 0), 200);
  EXPECT_EQ(COLORREF(SendMessageA(Editor, 2482 /*SCI_STYLEGETBACK*/, 32, 0)), Rgb(252, 248, 220));
  for (int style = 0; style <= 31; ++style) {
    EXPECT_EQ(SendMessageA(Editor, 2485 /*SCI_STYLEGETSIZE*/, style, 0), 10) << style;
    char font[64] = "";
    SendMessageA(Editor, 2486 /*SCI_STYLEGETFONT*/, style, reinterpret_cast<LPARAM>(font));
    EXPECT_STREQ(font, "Courier New") << style;
  }
  EXPECT_EQ(SendMessageA(Editor, 2241 /*SCI_GETMARGINTYPEN*/, 0, 0), 1);
  EXPECT_EQ(SendMessageA(Editor, 2243 /*SCI_GETMARGINWIDTHN*/, 0, 0), 30);
  EXPECT_EQ(COLORREF(SendMessageA(Editor, 2097 /*SCI_GETCARETLINEBACK*/, 0, 0)), Rgb(238, 238, 255));
  EXPECT_EQ(COLORREF(SendMessageA(Editor, 2138 /*SCI_GETCARETFORE*/, 0, 0)), Rgb(68, 68, 255));
  EXPECT_EQ(SendMessageA(Editor, 2095 /*SCI_GETCARETLINEVISIBLE*/, 0, 0), 1);
  const struct { int style; COLORREF colour; } fores[] = {
      {0, Rgb(0, 0, 255)},   {1, Rgb(0, 120, 32)},  {2, Rgb(0, 96, 0)},  {3, Rgb(0, 0, 208)},
      {4, Rgb(0, 136, 0)},   {5, Rgb(128, 0, 192)}, {6, Rgb(136, 0, 0)}, {7, Rgb(0, 32, 0)},
      {23, Rgb(0, 120, 32)}, {24, Rgb(0, 120, 32)}};
  for (const auto& f : fores)
    EXPECT_EQ(COLORREF(SendMessageA(Editor, 2481 /*SCI_STYLEGETFORE*/, f.style, 0)), f.colour) << f.style;
}

TEST_F(MainWindowCreated, SettingsGiveTheDocumentTheSizeAndTheCaretAtTheCentredPlace) {
  char text[64] = "";
  SendMessageA(Editor, 2182 /*SCI_GETTEXT*/, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "first line\r\nsecond line\r\n");
  EXPECT_EQ(CurrentFile, source);
  EXPECT_EQ(SaveName, source);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  // Centred for the start-up size 580 x 580 on a 1920 x 1040 work area; the settings'
  // size then keeps that top left corner.
  EXPECT_EQ(r.left, 670);
  EXPECT_EQ(r.top, 214);
  // The first layout after the editor exists puts the caret back, once.
  SendMessageA(window, WM_SIZE, 0, 0);
  EXPECT_EQ(SendMessageA(Editor, 2008 /*SCI_GETCURRENTPOS*/, 0, 0), 5);
  EXPECT_EQ(RestorePos, 0);
  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "ZorvexIde_2023/24 ->beta ");
}

TEST_F(MainWindowCreated, ADollarNameAndAnEmptyFileOnTheCommandLineKeepTheirNames) {
  const std::string dollar = dir + "\\dollar_argument.zobas", empty = dir + "\\empty_argument.zobas";
  WriteFile(dollar, "print 7\r\n");
  WriteFile(empty, "");
  CreateWithArgument("$\\dollar_argument.zobas");  // "$" stands for the program's folder
  EXPECT_EQ(CurrentFile, "$\\dollar_argument.zobas");
  EXPECT_EQ(GetControlText(CurrentEditor), "print 7\r\n");
  CreateWithArgument(empty);  // the first save writes into it without asking for a name
  EXPECT_EQ(SaveName, empty);
  std::remove(dollar.c_str());
  std::remove(empty.c_str());
}

TEST_F(MainWindowCreated, AProjectOnTheCommandLineGetsTheMenuOfTheTextItsBoxShows) {
  const std::string project = dir + "\\nul_argument.zoproj";
  WriteFile(project, std::string("$files\r\n<[a.bas]>\t00001  [a.bas]\r\n\0$command Hidden\r\n[\r\ndir\r\n]\r\n", 63));
  {
    DialogAnswer answer({Press(IDOK)});  // the box says the list ends at the NUL byte
    CreateWithArgument(project);
  }
  HMENU bar = GetMenu(window);
  ASSERT_EQ(GetMenuItemCount(bar), 6);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 4)), 1);  // "a.bas": nothing from behind the NUL byte
  ProjectUnreadable = false;
  std::remove(project.c_str());
}

TEST_F(MainWindowCreated, LayoutMovesEveryControlToItsComputedPlace) {
  for (int project = 0; project <= 1; ++project) {
    for (int output = 0; output <= 1; ++output) {
      SCOPED_TRACE(testing::Message() << "project " << project << " output " << output);
      ProjectOpen = project;
      OutputShown = output;
      MoveWindow(window, 0, 0, 1100, 700, TRUE);
      SendMessageA(window, WM_SIZE, 0, 0);
      RECT client;
      GetClientRect(window, &client);
      LayoutPlan plan = ComputeLayout(client.right, client.bottom, project != 0, output != 0, WindowScale);
      EXPECT_EQ(LayoutQuarter, plan.quarter);
      EXPECT_EQ(PlaceOf(Editor), plan.editor);
      EXPECT_EQ(PlaceOf(FinderBoxes[OutputBox]), plan.output);
      EXPECT_EQ(PlaceOf(FinderBoxes[ProjectBox]), plan.project);
      EXPECT_EQ(PlaceOf(FinderBoxes[FindBox]), plan.find);
      EXPECT_EQ(PlaceOf(FinderBoxes[ReplaceBox]), plan.replace);
      EXPECT_EQ(PlaceOf(FinderBoxes[LineBox]), plan.line);
      EXPECT_EQ(PlaceOf(FinderBoxes[KeywordBox]), plan.keyword);
      for (int i = 0; i < 11; ++i) EXPECT_EQ(PlaceOf(CommandButtons[i]), plan.buttons[i]) << i;
    }
  }
  EXPECT_EQ(WindowWidth, 1100);
  EXPECT_EQ(WindowHeight, 700);
}

TEST_F(MainWindowCreated, ClosingWritesTheSettingsAndEndsTheLoop) {
  SendMessageA(window, WM_SIZE, 0, 0);
  SendMessageA(window, WM_CLOSE, 0, 0);
  std::string expected = "$dir [" + CurrentDirectory() + "]\r\n$file [" + source +
                         "]\r\n$pos [5]\r\n$sizeX [700]\r\n$sizeY [500]\r\n$font [Courier New]\r\n$fontsize [10]\r\n";
  EXPECT_EQ(ReadFile(dir + "\\zorvexIde.cfg"), expected);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(MainWindowCreated, CancelAtTheClosePromptKeepsTheWindowAndTheSettingsFile) {
  SendMessageA(Editor, 2181 /*SCI_SETTEXT*/, 0, reinterpret_cast<LPARAM>("changed"));
  {
    DialogAnswer answer({Press(IDCANCEL)});
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(answer.At(0).title, "Closing Zorvexide");
    EXPECT_EQ(answer.At(0).text, "Save " + source);
    EXPECT_TRUE(answer.Complete());
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(QuitPosted());
  EXPECT_EQ(ReadFile(settingsFile), settings);
  EXPECT_EQ(ReadFile(source), "first line\r\nsecond line\r\n");
}

TEST_F(MainWindowCreated, CancelAtTheClosePromptGivesTheFocusBackToTheControlThatHadIt) {
  SendMessageA(Editor, 2181 /*SCI_SETTEXT*/, 0, reinterpret_cast<LPARAM>("changed"));
  SetForegroundWindow(window);
  for (HWND had : {FinderBoxes[FindBox], Editor}) {
    SetFocus(had);
    {
      DialogAnswer answer({Press(IDCANCEL)});
      SendMessageA(window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(answer.Complete());
    }
    EXPECT_TRUE(WaitFor([&] { return GetFocus() == had; }, 3000)) << GetFocus() << " had " << had;
  }
}

// A visible top-level window of a thread of its own: another program's window, as far as the
// IDE's thread can tell.
class WindowOfAnotherThread {
 public:
  WindowOfAnotherThread()
      : ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_(CreateThread(nullptr, 0, Run, this, 0, &id_)) {
    WaitForSingleObject(ready_, 10000);
  }
  WindowOfAnotherThread(const WindowOfAnotherThread&) = delete;
  WindowOfAnotherThread& operator=(const WindowOfAnotherThread&) = delete;
  ~WindowOfAnotherThread() {
    PostThreadMessageA(id_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  HWND window = nullptr;

 private:
  static DWORD WINAPI Run(LPVOID self) {
    auto* me = static_cast<WindowOfAnotherThread*>(self);
    me->window = CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 120,
                                 nullptr, nullptr, nullptr, nullptr);
    SetEvent(me->ready_);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(me->window);
    return 0;
  }
  HANDLE ready_;
  DWORD id_ = 0;
  HANDLE thread_;
};

// A box without an owner hands the foreground to another program's window as it closes (under
// Wine, the console's): in the first moments after it the IDE takes it back, but a program the
// user turns to later keeps it.
TEST_F(MainWindowCreated, AfterABoxTheKeyboardComesBackFromAnotherProgramOnlyInTheFirstMoments) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(Editor);
  WindowOfAnotherThread other;
  ASSERT_NE(other.window, nullptr);
  {
    DialogAnswer answer({Press(IDOK)});
    ShowBox("a box", "zor", MB_OK);
    EXPECT_TRUE(answer.Complete());
  }
  SetForegroundWindow(other.window);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == window && GetFocus() == Editor; }, 5000))
      << GetForegroundWindow();
  // Well after the first moments (they are counted in the IDE's timer's ticks), another
  // program's window keeps the foreground.
  WaitFor([] { return false; }, 2500);
  SetForegroundWindow(other.window);
  WaitFor([] { return false; }, 700);
  EXPECT_EQ(GetForegroundWindow(), other.window);
}

TEST_F(MainWindowCreated, AProjectListThatCannotBeWrittenIsLeftUnsavedOnlyWhenTheUserSaysSo) {
  const std::string project = dir + "\\mainwindow_ro.zoproj";
  WriteFile(project, "$files\r\n");
  SetFileAttributesA(project.c_str(), FILE_ATTRIBUTE_READONLY);
  ProjectFile = project;
  SetWindowTextA(FinderBoxes[ProjectBox], "$files\r\nedited\r\n");
  {
    DialogAnswer answer({Press(IDNO)});
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "Closing Zorvexide");
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write ", 0), 0u) << answer.At(0).text;
    EXPECT_NE(answer.At(0).text.find("The project list was not saved. Close without saving it?"), std::string::npos);
  }
  EXPECT_FALSE(QuitPosted());
  EXPECT_EQ(ReadFile(settingsFile), settings);  // not written: closing did not go on
  {
    DialogAnswer answer({Press(IDYES)});
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer.Complete());
    EXPECT_TRUE(QuitPosted());  // before the answering ends: it takes every message left
  }
  EXPECT_NE(ReadFile(settingsFile), settings);
  EXPECT_EQ(ReadFile(project), "$files\r\n");
  SetFileAttributesA(project.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::remove(project.c_str());
}

TEST_F(MainWindowCreated, TheEndOfTheSessionAsksAboutUnsavedTextAndWritesTheSettingsAsClosingDoes) {
  SendMessageA(window, WM_SIZE, 0, 0);
  SendMessageA(Editor, 2181 /*SCI_SETTEXT*/, 0, reinterpret_cast<LPARAM>("changed"));
  {
    DialogAnswer answer({Press(IDCANCEL)});
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);  // Cancel refuses it
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "Closing Zorvexide");
    EXPECT_EQ(answer.At(0).text, "Save " + source);
  }
  EXPECT_EQ(ReadFile(settingsFile), settings);
  {
    DialogAnswer answer({Press(IDYES)});
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_TRUE(answer.Complete());
  }
  EXPECT_EQ(ReadFile(source), "changed");
  EXPECT_EQ(ReadFile(dir + "\\zorvexIde.cfg"), "$dir [" + CurrentDirectory() + "]\r\n$file [" + source +
                                                   "]\r\n$pos [0]\r\n$sizeX [700]\r\n$sizeY [500]\r\n$font [Courier New]\r\n"
                                                   "$fontsize [10]\r\n");
  EXPECT_EQ(SaveName, source);  // another program may yet refuse the end, and the IDE goes on
  SendMessageA(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_FALSE(QuitPosted());
  SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(MainWindowCreated, AfterABoxOrADialogTypingGoesToTheControlThatHadTheFocus) {
  SetForegroundWindow(window);
  SetFocus(FinderBoxes[FindBox]);
  {
    DialogAnswer answer({Press(IDOK)});
    ShowMessage("a box", "zor");
    ASSERT_TRUE(answer.Complete());
  }
  EXPECT_TRUE(WaitFor([] { return GetFocus() == FinderBoxes[FindBox]; }, 3000))
      << GetFocus() << " active " << GetActiveWindow() << " main " << window << " last " << LastFocused << " find "
      << FinderBoxes[FindBox];
  SetFocus(window);  // MainWindow itself takes no typing: the focus goes on
  EXPECT_EQ(GetFocus(), FinderBoxes[FindBox]);
  SetFocus(CurrentEditor);
  SetFocus(window);
  EXPECT_EQ(GetFocus(), CurrentEditor);
}

TEST(WindowProcedure, AFailedHandlerIsReportedAndAFailedCreationMakesNoWindow) {
  DialogAnswer answer({Press(IDOK), Press(IDOK), Press(IDOK)});
  EXPECT_EQ(RunGuarded(WM_CREATE, []() -> LRESULT { throw std::bad_alloc(); }), -1);
  EXPECT_EQ(RunGuarded(WM_COMMAND, []() -> LRESULT { throw std::bad_alloc(); }), 0);
  EXPECT_EQ(RunGuarded(WM_CLOSE, []() -> LRESULT { throw std::runtime_error("broken"); }), 0);
  EXPECT_EQ(RunGuarded(WM_SIZE, []() -> LRESULT { return 7; }), 7);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(0).text, "Not enough memory to create the main window.");
  EXPECT_EQ(answer.At(1).text, "Not enough memory to carry out the command.");
  EXPECT_EQ(answer.At(2).text, "Could not close the window; it stays open: broken");
  EXPECT_EQ(answer.At(0).title, "zor");
}

TEST_F(MainWindowCreated, ToolbarButtonsCarryTheirIdentifiersPicturesAndBalloonTips) {
  const struct { int id, x; const char *text, *title; } buttons[10] = {
      {3000, 4, "This is a button", "New File"}, {3001, 38, "Open File", "Open File"},
      {3003, 74, "Save File", "Save File as.."}, {3020, 110, "Find", "Find"},
      {3022, 146, "Run", "Run"},                 {3014, 186, "Compile", "Compile"},
      {3037, 222, "Help", "Help"},               {3032, 258, "About", "About"},
      {3046, 294, "FindEditor", "FindEditor"},   {109, 334, "Codefinder", "Codefinder"}};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(buttons[i].id);
    HWND button = ToolbarButtons[i];
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetParent(button), window);
    // The editor's notifications during creation rewrote the start values 100..108.
    EXPECT_EQ(GetDlgCtrlID(button), buttons[i].id);
    EXPECT_EQ(PlaceOf(button), (Rect{buttons[i].x, 4, 30, 30}));
    EXPECT_EQ(DWORD(GetWindowLongA(button, GWL_STYLE)) & 0x50000080u, 0x50000080u);
    ASSERT_NE(ToolbarPictures[i], nullptr) << ToolbarPictureFiles[i];
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0)), ToolbarPictures[i]);
    HWND tip = TooltipOf(button);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON);
    EXPECT_EQ(TooltipText(tip, button), buttons[i].text);
    EXPECT_EQ(TooltipTitle(tip), std::make_pair(int(TTI_INFO), std::string(buttons[i].title)));
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 20);
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0)), Rgb(250, 150, 0));
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), Rgb(255, 255, 255));
  }
  // The layout leaves them where they are.
  MoveWindow(window, 0, 0, 1300, 700, TRUE);
  EXPECT_EQ(PlaceOf(ToolbarButtons[9]), (Rect{334, 4, 30, 30}));
}

TEST_F(MainWindowCreated, StatusBarShowsTheCompilerLineAndKeepsItsCreationWidth) {
  HWND status = ChildOfClass(window, "msctls_statusbar32");
  ASSERT_NE(status, nullptr);
  char text[64] = "";
  GetWindowTextA(status, text, sizeof text);
  EXPECT_STREQ(text, "Compiler ZorvexBasic 2017-24");
  EXPECT_EQ(GetDlgCtrlID(status), 0);
  EXPECT_EQ(DWORD(GetWindowLongA(status, GWL_STYLE)) & 0x54000100u, 0x54000100u);
  const Rect before = PlaceOf(status);
  MoveWindow(window, 0, 0, 1100, 650, TRUE);
  EXPECT_EQ(PlaceOf(status), before);
}

namespace {
// The height of the font a control writes in, in pixels.
int FontHeightOf(HWND control) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return std::abs(int(font.lfHeight));
}

int BitmapWidth(HBITMAP picture) {
  BITMAP bitmap = {};
  GetObjectA(picture, sizeof bitmap, &bitmap);
  return bitmap.bmWidth;
}

int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return 0;
  const int width = BitmapWidth(info.hbmColor);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return width;
}

// Everything the window shows that depends on its display's scale.
struct ScaledParts {
  std::vector<Rect> places;  // the controls the layout places, then the picture buttons
  int boxFont = 0, lineNumbers = 0, marks = 0, folds = 0, listingFolds = 0, picture = 0, tipWidth = 0, icon = 0;
  Rect status;
  bool operator==(const ScaledParts&) const = default;
};

ScaledParts PartsOf(HWND window) {
  ScaledParts parts;
  for (HWND control : {Editor, FinderBoxes[OutputBox], FinderBoxes[FindBox], FinderBoxes[ReplaceBox],
                       FinderBoxes[LineBox], FinderBoxes[KeywordBox]})
    parts.places.push_back(PlaceOf(control));
  for (HWND button : CommandButtons) parts.places.push_back(PlaceOf(button));
  for (HWND button : ToolbarButtons) parts.places.push_back(PlaceOf(button));
  parts.boxFont = FontHeightOf(FinderBoxes[FindBox]);
  parts.lineNumbers = int(SendMessageA(Editor, SCI_GETMARGINWIDTHN, 0, 0));
  parts.marks = int(SendMessageA(Editor, SCI_GETMARGINWIDTHN, 1, 0));
  parts.folds = int(SendMessageA(Editor, SCI_GETMARGINWIDTHN, 2, 0));
  parts.listingFolds = int(SendMessageA(ListingPanel, SCI_GETMARGINWIDTHN, 2, 0));
  parts.picture = BitmapWidth(reinterpret_cast<HBITMAP>(SendMessageA(ToolbarButtons[0], BM_GETIMAGE, IMAGE_BITMAP, 0)));
  parts.tipWidth = int(SendMessageA(TooltipOf(ToolbarButtons[0]), TTM_GETMAXTIPWIDTH, 0, 0));
  parts.icon = IconWidth(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)));
  parts.status = PlaceOf(ChildOfClass(window, "msctls_statusbar32"));
  return parts;
}

// Tells the window, as the system does, that it now shows on a display of dpi in outer.
void MoveToDisplay(HWND window, int dpi, RECT outer) {
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&outer));
}
}  // namespace

TEST_F(MainWindowCreated, MovedToADisplayOf144DpiEveryPartGrowsByHalfAndBackAt96AllIsAsBefore) {
  ASSERT_EQ(WindowScale.dpi, 96) << "this test moves the window from a display of 96 dpi";
  MoveWindow(window, 10, 20, 1300, 700, TRUE);
  const ScaledParts before = PartsOf(window);
  const HFONT oldBoxFont = reinterpret_cast<HFONT>(SendMessageA(FinderBoxes[FindBox], WM_GETFONT, 0, 0));
  EXPECT_EQ(before.boxFont, 13);
  EXPECT_EQ(before.picture, 30);
  EXPECT_EQ(FaceFont(), nullptr);

  MoveToDisplay(window, 144, {15, 30, 1965, 1080});
  EXPECT_EQ(WindowScale.dpi, 144);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 15);  // the rectangle the system suggested
  EXPECT_EQ(outer.top, 30);
  EXPECT_EQ(outer.right - outer.left, 1950);
  EXPECT_EQ(outer.bottom - outer.top, 1050);
  RECT client;
  GetClientRect(window, &client);
  const LayoutPlan plan = ComputeLayout(client.right, client.bottom, false, false, DisplayScale{144});
  EXPECT_EQ(LayoutQuarter, plan.quarter);
  EXPECT_EQ(PlaceOf(Editor), plan.editor);
  EXPECT_EQ(PlaceOf(FinderBoxes[FindBox]), plan.find);
  EXPECT_EQ(PlaceOf(FinderBoxes[KeywordBox]), plan.keyword);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(PlaceOf(CommandButtons[i]), plan.buttons[i]) << i;
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(BitmapWidth(ToolbarPictures[i]), 45) << ToolbarPictureFiles[i];  // drawn at 150%, not stretched
  const ScaledParts after = PartsOf(window);
  EXPECT_EQ(after.places.back(), (Rect{501, 6, 45, 45}));  // the last picture button, at 334 x 1.5
  EXPECT_EQ(after.boxFont, 20);  // 13 pixels grown by half, halves up
  EXPECT_EQ(after.lineNumbers, 45);
  EXPECT_EQ(after.marks, 24);
  EXPECT_EQ(after.folds, 24);
  EXPECT_EQ(after.listingFolds, 21);
  EXPECT_EQ(after.tipWidth, 30);
  EXPECT_EQ(after.icon, 48);
  EXPECT_EQ(GetObjectType(oldBoxFont), 0u) << "the old font is deleted once the boxes have the new one";
  ASSERT_NE(FaceFont(), nullptr);
  LOGFONTA caption = {};
  GetObjectA(FaceFont(), sizeof caption, &caption);
  EXPECT_EQ(caption.lfHeight, 24);
  // The status bar takes the status font of 144 dpi and sits along the new bottom edge.
  EXPECT_GT(FontHeightOf(ChildOfClass(window, "msctls_statusbar32")), 13);
  EXPECT_EQ(after.status.x, 0);
  EXPECT_EQ(after.status.width, client.right);
  EXPECT_EQ(after.status.y + after.status.height, client.bottom);
  EXPECT_GE(after.status.height, before.status.height);

  MoveToDisplay(window, 96, {10, 20, 1310, 720});
  EXPECT_EQ(WindowScale.dpi, 96);
  ScaledParts back = PartsOf(window);
  back.status = before.status;  // the status bar moved to the bottom; it is not laid out otherwise
  EXPECT_TRUE(back == before);
  EXPECT_EQ(FaceFont(), nullptr);
  // The settings keep the outer size in the display's pixels.
  EXPECT_EQ(WindowWidth, 1300);
  EXPECT_EQ(WindowHeight, 700);
}

// Runs in the Windows tests' second run, on a display that Wine makes 144 dpi for the run.
TEST_F(MainWindowCreated, At144DpiTheLayoutIsTheOneAt96GrownByHalf) {
  if (SystemDpi() != 144) GTEST_SKIP() << "runs where the display is 144 dpi";
  EXPECT_EQ(WindowScale.dpi, 144) << "the window takes its display's scale";
  MoveWindow(window, 0, 0, 1950, 1050, TRUE);
  RECT client;
  GetClientRect(window, &client);
  const LayoutPlan plan = ComputeLayout(client.right, client.bottom, false, false, DisplayScale{144});
  // The layout at 96 dpi of the client area the window has there, grown by half; the quarters
  // are whole pixels at both scales only for some widths: up to two pixels of theirs, times
  // four for the editor, aside.
  const LayoutPlan at96 = ComputeLayout(client.right * 2 / 3, client.bottom * 2 / 3, false, false, DisplayScale{});
  auto grownByHalf = [](const Rect& a, const Rect& b96) {
    auto off = [](int x, int x96) { return std::abs(x - x96 * 1.5); };
    return off(a.x, b96.x) <= 1.5 && off(a.y, b96.y) <= 1.5 && off(a.height, b96.height) <= 1.5 &&
           off(a.width, b96.width) <= 6;
  };
  const HWND controls[] = {Editor, FinderBoxes[FindBox], FinderBoxes[ReplaceBox], FinderBoxes[LineBox],
                           FinderBoxes[KeywordBox]};
  const Rect places[] = {plan.editor, plan.find, plan.replace, plan.line, plan.keyword};
  const Rect places96[] = {at96.editor, at96.find, at96.replace, at96.line, at96.keyword};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(PlaceOf(controls[i]), places[i]) << i;
    EXPECT_TRUE(grownByHalf(places[i], places96[i])) << i;
  }
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(PlaceOf(CommandButtons[i]), plan.buttons[i]) << i;
    EXPECT_TRUE(grownByHalf(plan.buttons[i], at96.buttons[i])) << i;
  }
  const int toolbarX[10] = {4, 38, 74, 110, 146, 186, 222, 258, 294, 334};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(PlaceOf(ToolbarButtons[i]), (Rect{DisplayScale{144}(toolbarX[i]), 6, 45, 45})) << i;
  EXPECT_EQ(BitmapWidth(ToolbarPictures[0]), 45);
  EXPECT_EQ(FontHeightOf(FinderBoxes[FindBox]), 20);
}

TEST_F(MainWindowCreated, MouseMoveKeepsBothWordsOfItsKeyState) {
  SendMessageA(window, WM_MOUSEMOVE, MAKEWPARAM(MK_LBUTTON | MK_SHIFT, 0xBEEF), MAKELPARAM(10, 20));
  EXPECT_EQ(GuiState[12], uint32_t(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(GuiState[14], 0xBEEFu);
  SendMessageA(window, WM_MOUSEMOVE, 0xFFFF0000u, 0);
  EXPECT_EQ(GuiState[12], 0u);
  EXPECT_EQ(GuiState[14], 0xFFFFu);
}

TEST_F(MainWindowCreated, BackgroundAndBoxColoursComeFromTheWindowProcedure) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2000, 1200);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(GetPixel(dc, 0, 0), Rgb(125, 168, 190));
  EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), Rgb(125, 168, 190));

  // Without the brush the box would be painted in the system's colours, not these.
  LRESULT brush = SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(FinderBoxes[FindBox]));
  EXPECT_EQ(GetBkColor(dc), Rgb(128, 200, 200));
  EXPECT_EQ(GetTextColor(dc), Rgb(255, 0, 0));
  LOGBRUSH look = {};
  ASSERT_EQ(GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof look, &look), int(sizeof look));
  EXPECT_EQ(look.lbColor, Rgb(128, 200, 200));
  // One brush for every box and every repaint, deleted with the window.
  EXPECT_EQ(SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(FinderBoxes[OutputBox])), brush);
  DestroyWindow(window);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), 0u);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(ShowMessage, AnEmptyCaptionShowsAsMsgBox) {
  DialogAnswer answer({Press(IDOK), Press(IDOK)});
  ShowMessage("some text", "");
  ShowMessage("other text", "Zor");
  EXPECT_EQ(answer.At(0).title, "<MsgBox>");
  EXPECT_EQ(answer.At(0).text, "some text");
  EXPECT_EQ(answer.At(1).title, "Zor");
  EXPECT_TRUE(answer.Complete());
}

namespace {
std::string Written;  // every byte the program wrote through WriteFile, the console's included
BOOL WINAPI RecordingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  Written.append(static_cast<const char*>(data), size);
  return WriteFile(file, data, size, written, overlapped);
}
}  // namespace

TEST_F(MainWindowCreated, AForcedEndOfTheSessionKeepsUnsavedTextAndTheNextStartSaysWhere) {
  const std::string copy = dir + "\\mainwindow_source~unsaved.zobas", untitled = dir + "\\untitled~unsaved.zobas";
  for (const auto& [name, text, kept] : {std::tuple{source, "changed", copy}, std::tuple{std::string(), "draft", untitled}}) {
    SaveName = name;
    SendMessageA(Editor, 2181 /*SCI_SETTEXT*/, 0, reinterpret_cast<LPARAM>(text));
    EnableWindow(window, FALSE);  // a box of the IDE is up
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);  // the user forced the end
    EnableWindow(window, TRUE);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(ReadFile(kept), text);
  }
  EXPECT_EQ(ReadFile(source), "first line\r\nsecond line\r\n");  // the document is left as it was
  DestroyWindow(window);
  SetCurrentDirectoryA(startDir.c_str());
  ResetState();
  Written.clear();
  const auto systems = Api.WriteFile;
  Api.WriteFile = RecordingWrite;
  window = CreateMainWindow(580, 580, WS_OVERLAPPEDWINDOW, 2);
  Api.WriteFile = systems;
  for (const std::string& kept : {copy, untitled})
    EXPECT_NE(Written.find("kept in " + kept + "\r\n"), std::string::npos) << Written;
  EXPECT_EQ(GetFileAttributesA((dir + "\\zorvexIde.unsaved").c_str()), INVALID_FILE_ATTRIBUTES);  // said once
  std::remove(copy.c_str());
  std::remove(untitled.c_str());
}

// Half a second after the text changes the document is checked on a worker thread: its first
// error gets the mark, the status bar names it while the caret is on its line, Ctrl+F6 goes
// there, and a corrected text loses the mark.
TEST_F(MainWindowCreated, TheFirstErrorIsMarkedAfterAPauseAndACorrectedTextLosesTheMark) {
  ASSERT_NE(Api.zor_check, nullptr);
  std::string deep;
  for (int k = 0; k < 5000; ++k) deep += "if 1 then\r\n";
  const struct {
    std::string text;
    int line;
    const char* status;
  } cases[] = {
      {"x = 1\r\n\r\nprint y\r\n", 3, "(3): unknown name y"},
      {deep, 1001, "(1001): blocks nested too deeply (more than 1000)"},
      {"x = 1\r\n\r\nprint x\r\n", 0, nullptr},
  };
  for (const auto& c : cases) {
    SetControlText(Editor, c.text);
    EXPECT_TRUE(WaitFor([&] { return ErrorLine == c.line; })) << c.line;
    EXPECT_EQ(ErrorMarkLine(Editor), c.line);
    if (!c.status) continue;
    GoToLine(Editor, 2);
    GoToErrorLine();
    EXPECT_EQ(CaretLine(Editor), c.line);
    EXPECT_TRUE(WaitFor([&] { return StatusShown() == c.status; })) << StatusShown();
  }
  EXPECT_TRUE(WaitFor([] { return StatusShown() == "Compiler ZorvexBasic 2017-24"; })) << StatusShown();
}

TEST_F(MainWindowCreated, BecomingTheActiveProgramAgainReadsAFileChangedOutsideMeanwhile) {
  ASSERT_EQ(GetControlText(CurrentEditor), "first line\r\nsecond line\r\n");
  auto handleQueued = [] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  };
  handleQueued();  // the window's own first activation
  WriteFile(source, "changed by another program\r\n");
  DialogAnswer answer({});
  // A window of the IDE's own thread giving the activation back is no coming back.
  SendMessageA(window, WM_ACTIVATEAPP, TRUE, static_cast<LPARAM>(GetCurrentThreadId()));
  handleQueued();
  EXPECT_EQ(GetControlText(CurrentEditor), "first line\r\nsecond line\r\n");
  SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);  // from another program
  EXPECT_TRUE(WaitFor([] { return GetControlText(CurrentEditor) == "changed by another program\r\n"; }));
  EXPECT_EQ(answer.Count(), 0u);
}

TEST_F(MainWindowCreated, TheErrorsMessageFollowsItsMarkWhenLinesAreAddedAbove) {
  if (Editor == nullptr || Api.zor_check == nullptr) GTEST_SKIP() << "no SciLexer.dll or no check in zorvex.dll";
  SetControlText(Editor, "x = 1\r\n\r\nprint y\r\n");
  ASSERT_TRUE(WaitFor([] { return ErrorLine == 3; }));
  const ZorCheckFn check = Api.zor_check;
  Api.zor_check = nullptr;  // the lines added start no new check: the old mark is what shows
  SendMessageA(Editor, SCI_INSERTTEXT, 0, reinterpret_cast<LPARAM>("a = 1\r\nb = 2\r\n"));
  // Away from its line the error is named with the key that goes there.
  for (int line : {3, 5, 4}) {
    GoToLine(Editor, line);
    ShowErrorAtCaret();
    EXPECT_EQ(StatusShown(), line == 5 ? "(5): unknown name y" : "(5): unknown name y (Ctrl+F6 goes to line 5)")
        << line;
  }
  Api.zor_check = check;
}

namespace {
// Sets Control down or up in this thread's key state, as the loop reads it for the next key.
void HoldControl(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// Queues the key-downs for the Editor, then a quit, and runs the program's loop over them.
void PressInEditor(const std::vector<WPARAM>& keys, bool control = false) {
  HoldControl(control);
  for (WPARAM key : keys) PostMessageA(Editor, WM_KEYDOWN, key, 1);
  PostQuitMessage(0);
  RunMessageLoop();
  HoldControl(false);
}
}  // namespace

// Find in files runs beside the window: the command returns at once, the keys typed meanwhile
// go to the editor through the ordinary loop, and the listing ends with its summary.
TEST_F(MainWindowCreated, KeysTypedWhileASearchRunsGoToTheEditorAndTheListingStillEnds) {
  ASSERT_NE(Editor, nullptr);
  SetFocus(Editor);
  SetControlText(Editor, "needle");
  ToolsCommand(2);  // Ctrl+F7
  EXPECT_TRUE(FindInFilesRunning());
  PressInEditor({'X', 'Y'});
  EXPECT_EQ(GetControlText(Editor), "xyneedle");
  const DWORD until = GetTickCount() + 60000;
  for (MSG msg; FindInFilesRunning() && GetTickCount() < until && GetMessageA(&msg, nullptr, 0, 0) > 0;)
    DispatchMessageA(&msg);
  EXPECT_FALSE(FindInFilesRunning());
  EXPECT_NE(StatusShown().find(" in 1 file"), std::string::npos) << StatusShown();
}

TEST_F(MainWindowCreated, CtrlSpaceListsTheNamesEnterPutsOneInEscClosesTheListAloneAndACallShowsItsParameters) {
  ASSERT_NE(Editor, nullptr);
  SetFocus(Editor);
  const std::string declared = "dim zebra_count as int\r\ndim Zebra_Name as string\r\nsub zebu_walk(n as int)\r\nend sub\r\n";
  SetControlText(Editor, declared + "zeb");
  SendMessageA(Editor, SCI_GOTOPOS, SendMessageA(Editor, SCI_GETLENGTH, 0, 0), 0);

  PressInEditor({VK_SPACE}, true);
  EXPECT_TRUE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0));
  EXPECT_EQ(GetControlText(Editor), declared + "zeb") << "Ctrl+Space typed a blank";
  PressInEditor({VK_DOWN, VK_RETURN});  // the second name, in the case it was declared in
  EXPECT_EQ(GetControlText(Editor), declared + "Zebra_Name") << "no line break from Enter";
  EXPECT_FALSE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0));

  SetControlText(Editor, declared + "zeb");
  SendMessageA(Editor, SCI_GOTOPOS, SendMessageA(Editor, SCI_GETLENGTH, 0, 0), 0);
  PressInEditor({VK_SPACE}, true);
  ASSERT_TRUE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0));
  PressInEditor({VK_ESCAPE});
  EXPECT_FALSE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0));
  EXPECT_EQ(GetControlText(Editor), declared + "zeb");
  EXPECT_EQ(GetFocus(), Editor);

  SetControlText(Editor, declared + "zebu");  // a single name is put in at once
  SendMessageA(Editor, SCI_GOTOPOS, SendMessageA(Editor, SCI_GETLENGTH, 0, 0), 0);
  PressInEditor({VK_SPACE}, true);
  EXPECT_EQ(GetControlText(Editor), declared + "zebu_walk");

  // "(" after the sub shows its parameters; the call's ")" closes them again.
  auto typeInEditor = [](const std::string& text) {
    for (char c : text) PostMessageA(Editor, WM_CHAR, static_cast<unsigned char>(c), 1);
    PostQuitMessage(0);
    RunMessageLoop();
  };
  typeInEditor("(");
  EXPECT_TRUE(SendMessageA(Editor, SCI_CALLTIPACTIVE, 0, 0));
  typeInEditor("3)");
  EXPECT_FALSE(SendMessageA(Editor, 2202, 0, 0));
}

TEST_F(MainWindowCreated, TheListThatShowedByItselfLetsEnterBreakTheLineWhenTheWordIsWhole) {
  ASSERT_NE(Editor, nullptr);
  SetFocus(Editor);
  const std::string declared = "dim tot as int\r\ndim total as int\r\n";
  auto typeInEditor = [](const std::string& text) {
    for (char c : text) PostMessageA(Editor, WM_CHAR, static_cast<unsigned char>(c), 1);
    PostQuitMessage(0);
    RunMessageLoop();
  };
  struct Case { const char* typed; std::vector<WPARAM> keys; const char* after; };
  const Case cases[] = {
      {"tot", {VK_RETURN}, "tot\r\n"},          // the word is whole: a line break
      {"end", {VK_RETURN}, "end\r\n"},          // a keyword that longer ones begin with
      {"tota", {VK_RETURN}, "total"},           // not whole yet: the name is taken
      {"tot", {VK_DOWN, VK_RETURN}, "total"},   // another name chosen in the list
      {"tota", {VK_TAB}, "total"},              // Tab takes the chosen name
  };
  for (const Case& c : cases) {
    SetControlText(Editor, declared);
    SendMessageA(Editor, SCI_GOTOPOS, SendMessageA(Editor, SCI_GETLENGTH, 0, 0), 0);
    typeInEditor(c.typed);
    ASSERT_TRUE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0)) << c.typed;
    PressInEditor(c.keys);
    EXPECT_EQ(GetControlText(Editor), declared + c.after) << c.typed;
    EXPECT_FALSE(SendMessageA(Editor, SCI_AUTOCACTIVE, 0, 0)) << c.typed;
  }
}

namespace {
// Sets a key down or up in this thread's key state (Shift, Control), for the keys queued next.
void HoldKey(int key, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[key] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

void TypeInEditor(const std::string& text) {
  for (char c : text) PostMessageA(Editor, WM_CHAR, static_cast<unsigned char>(c), 1);
  PostQuitMessage(0);
  RunMessageLoop();
}
}  // namespace

TEST_F(MainWindowCreated, EachActionIsOneUndoStepAndEveryUndoChangesTheText) {
  ASSERT_NE(Editor, nullptr);
  SetFocus(Editor);
  const std::string declared = "dim total as int\r\ndim zebu_count as int\r\n";
  struct Case {
    const char* name;
    std::string text;     // the text before the action
    int anchor, caret;    // the selection before it (-1: the end of the text)
    std::string typed;    // characters typed before the action (their own steps)
    std::vector<WPARAM> keys;
    bool control, shift;
    std::string after;    // the text after it
  };
  const std::string sub = "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n    next";
  const Case cases[] = {
      {"Enter and its indentation", "if a then", -1, -1, "", {VK_RETURN}, false, false, "if a then\r\n  "},
      {"Enter after a closing word", sub, -1, -1, "", {VK_RETURN}, false, false,
       "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n  next\r\n  "},
      {"a closing word moved back", sub, -1, -1, "", {}, false, false, "sub a()\r\n  for i = 1 to 3\r\n    print i\r\n  next "},
      {"a completion taken with Tab", declared, -1, -1, "tota", {VK_TAB}, false, false, declared + "total"},
      {"a completion taken with Enter", declared, -1, -1, "zeb", {VK_RETURN}, false, false, declared + "zebu_count"},
      {"a single completion put in by Ctrl+Space", declared + "zebu", -1, -1, "", {VK_SPACE}, true, false,
       declared + "zebu_count"},
      {"Ctrl+Space on a whole name", declared + "total", -1, -1, "", {VK_SPACE}, true, false, declared + "total"},
      {"Ctrl+Space, then Tab on a whole name", declared + "zebu_count", -1, -1, "", {VK_SPACE, VK_TAB}, true, false,
       declared + "zebu_count"},
      {"Ctrl+Q on lines", "a = 1\r\nb = 2\r\n", 0, 9, "", {'Q'}, true, false, "' a = 1\r\n' b = 2\r\n"},
      {"Tab on lines", "a = 1\r\nb = 2\r\n", 0, 9, "", {VK_TAB}, false, false, "  a = 1\r\n  b = 2\r\n"},
      {"Shift+Tab on lines", "  a = 1\r\n  b = 2\r\n", 0, 13, "", {VK_TAB}, false, true, "a = 1\r\nb = 2\r\n"},
  };
  auto text = [] { return GetControlText(Editor); };
  for (const Case& c : cases) {
    LoadControlText(Editor, c.text);  // no way back by undo past the case's text
    const LRESULT end = SendMessageA(Editor, SCI_GETLENGTH, 0, 0);
    SendMessageA(Editor, SCI_SETSEL, c.anchor < 0 ? end : c.anchor, c.caret < 0 ? end : c.caret);
    TypeInEditor(c.typed);
    const std::string before = text();
    if (std::string(c.name) == "a closing word moved back") {
      TypeInEditor(" ");
    } else {
      HoldKey(VK_SHIFT, c.shift);
      PressInEditor(c.keys, c.control);
      HoldKey(VK_SHIFT, false);
    }
    EXPECT_EQ(text(), c.after) << c.name;
    PressInEditor({'Z'}, true);
    EXPECT_EQ(text(), before) << c.name << ": one Ctrl+Z";
    PressInEditor({'Y'}, true);
    EXPECT_EQ(text(), c.after) << c.name << ": Ctrl+Y";
    // Every further Ctrl+Z changes the text while there is anything to undo.
    for (int undo = 0; undo < 20 && SendMessageA(Editor, 2174 /* SCI_CANUNDO */, 0, 0); ++undo) {
      const std::string was = text();
      PressInEditor({'Z'}, true);
      EXPECT_NE(text(), was) << c.name << ": an empty undo step";
    }
    EXPECT_EQ(text(), c.text) << c.name;
  }
}
