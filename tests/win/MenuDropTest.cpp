// The real main window's menu bar and its Project menu, files dropped on it as the shell drops
// them, and F1, with the help viewer and the compile tool replaced by a helper that records its
// command line.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>
#include "DialogAnswer.h"
#include "ScratchFolder.h"
#include "compiler/Launch.h"
#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/MenuBar_win.h"
#include "documents/DocumentState.h"
#include "documents/Project.h"
#include "editor/EditorAccess_win.h"
#include "shell/MainWindow_win.h"
#include "shell/ShellState.h"

namespace {
std::string MenuText(HMENU menu, UINT position) {
  char text[256] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

// The header of a drop handle's memory, as the shell lays it out (DROPFILES).
struct DropHeader {
  DWORD pFiles;  // offset of the first name
  POINT pt;
  BOOL fNC;
  BOOL fWide;
};

// A drop handle as the shell makes one: the header, then the names, each ended by a zero byte,
// and one more zero byte.
HDROP MakeDrop(const std::vector<std::string>& names) {
  size_t size = sizeof(DropHeader) + 1;
  for (const std::string& name : names) size += name.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* drop = static_cast<DropHeader*>(GlobalLock(memory));
  drop->pFiles = sizeof(DropHeader);
  char* at = reinterpret_cast<char*>(drop) + sizeof(DropHeader);
  for (const std::string& name : names) {
    memcpy(at, name.c_str(), name.size() + 1);
    at += name.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::string Title(HWND window) {
  char title[512] = "";
  GetWindowTextA(window, title, sizeof title);
  return title;
}
}  // namespace

class MenuAndDrops : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetCommandTail(), "") << "the creation step would take the test's arguments as a file name";
    GetCurrentDirectoryA(MAX_PATH, startDir_);
    folder_ = std::make_unique<ScratchFolder>();
    Reset();
    window_ = CreateMainWindow(580, 580, WS_OVERLAPPEDWINDOW, 2);
    ASSERT_NE(window_, nullptr);
    MoveWindow(window_, 0, 0, 1200, 700, TRUE);
    // The helper stands in for the compile tool of the program folder.
    ProgramDir = folder_->Path();
    CopyFileA("showtail.exe", Path("zor5.exe").c_str(), FALSE);
    CopyFileA("zorvex.dll", Path("zorvex.dll").c_str(), FALSE);
  }
  void TearDown() override {
    DestroyWindow(window_);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    SetCurrentDirectoryA(startDir_);
    SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", nullptr);
    Reset();
    std::remove("zorvexIde.cfg");
    folder_.reset();
  }
  static void Reset() {
    MainWindow = Editor = CurrentEditor = nullptr;
    for (HWND& b : CommandButtons) b = nullptr;
    for (HWND& b : ToolbarButtons) b = nullptr;
    for (HWND& b : FinderBoxes) b = nullptr;
    MenuBar = nullptr;
    ProjectFile.clear();
    ProjectText.clear();
    CurrentFile.clear();
    SaveName.clear();
    ProjectOpen = OutputShown = PendingAction = OutputKind = 0;
  }
  std::string Path(const std::string& name) const { return folder_->File(name); }
  // Drops names with the pointer at client position (x, y), as the shell posts the message.
  void Drop(const std::vector<std::string>& names, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window_, &at);
    SetCursorPos(at.x, at.y);
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
  }
  std::string Recorded(const std::string& name) {
    std::string text;
    WaitFor([&] { return (text = Slurp(Path(name))).find('\n') != std::string::npos; }, 20000);
    return text.substr(0, text.find('\n'));
  }
  HWND window_ = nullptr;
  char startDir_[MAX_PATH] = {};
  std::unique_ptr<ScratchFolder> folder_;
};

TEST_F(MenuAndDrops, TheMenuBarHasItsFixedMenusAndAProjectMenuFromTheProjectText) {
  HMENU bar = GetMenu(window_);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 5);  // no project: no Project menu
  const char* names[] = {"&File", "&Search/Edit", "&Compile", "&Options", "&Help"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MenuText(bar, i), names[i]);
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(MenuText(file, 1), "&Open\tctrl-o  F8");
  EXPECT_EQ(GetMenuItemID(file, 1), 3001u);
  EXPECT_EQ(GetMenuState(file, 4, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  EXPECT_EQ(MenuText(file, 8), "E&xit\tAlt-F4");
  HMENU compile = GetSubMenu(bar, 2);
  EXPECT_EQ(MenuText(compile, 3), "Compiling exe-File\t");
  EXPECT_EQ(GetMenuState(compile, 3024, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
  SendMessageA(window_, WM_COMMAND, MenuOutputDll, 0);
  EXPECT_EQ(GetMenuState(compile, 3024, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(compile, 3025, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));

  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[a.bas]>\t00001  [C:\\a.bas]\r\n$command Dir Example\r\n[\r\ndir\r\n]\r\n");
  RebuildMenuIfProjectText();
  bar = GetMenu(window_);
  ASSERT_EQ(GetMenuItemCount(bar), 6);
  EXPECT_EQ(MenuText(bar, 4), "&Project");
  EXPECT_EQ(MenuText(bar, 5), "&Help");
  HMENU project = GetSubMenu(bar, 4);
  EXPECT_EQ(MenuText(project, 0), "Dir Example");
  EXPECT_EQ(GetMenuItemID(project, 0), 3100u);
  EXPECT_EQ(MenuText(project, 1), "a.bas");
  EXPECT_EQ(GetMenuItemID(project, 1), 3101u);
  EXPECT_EQ(ProjectCommands[1], "<[a.bas]>");
  // The check marks follow the output kind in the new bar too.
  EXPECT_EQ(GetMenuState(GetSubMenu(bar, 2), 3025, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
}

TEST_F(MenuAndDrops, ADroppedProjectFileOpensAsTheProject) {
  const std::string text = "$project\r\n$files\r\n<[m.bas]>\t00001  [" + Path("m.bas") + "]\r\n";
  Spill(Path("p.zoproj"), text);
  Drop({Path("p.zoproj")}, 600, 400);
  EXPECT_EQ(ProjectFile, "$\\p.zoproj");  // inside the program folder: the "$" form
  EXPECT_EQ(GetControlText(FinderBoxes[ProjectBox]), text);
  EXPECT_EQ(ProjectOpen, 1);
  EXPECT_EQ(GetMenuItemCount(GetMenu(window_)), 6);
  EXPECT_EQ(WorkDir, folder_->Path());
}

TEST_F(MenuAndDrops, FilesDroppedOnTheProjectStripMakeANewProjectWrittenOnce) {
  ProjectOpen = 1;
  SendMessageA(window_, WM_SIZE, 0, 0);
  for (const char* name : {"one.bas", "two.bas", "three.bas"}) Spill(Path(name), "x\r\n");
  Drop({Path("one.bas"), Path("Link.LNK"), Path("two.bas"), Path("three.bas")}, 20, 300);
  // The files lie in the program folder, so the project names them in their "$" form.
  const std::string expected =
      "$project\r\n$files\r\n<[three.bas]>\t00001  [$\\three.bas]\r\n<[two.bas]>\t00001  [$\\two.bas]\r\n"
      "<[one.bas]>\t00001  [$\\one.bas]\r\n\r\n$main [$\\one.bas]\r\n\r\n$binary [$\\one]\r\n\r\n"
      "$command Dir Example\r\n[\r\ndir\r\npause\r\n]\r\n\r\n";
  EXPECT_EQ(GetControlText(FinderBoxes[ProjectBox]), expected);
  EXPECT_EQ(ProjectFile, "$\\one.zoproj");
  EXPECT_EQ(Slurp(Path("one.zoproj")), expected);
  EXPECT_EQ(GetMenuItemCount(GetMenu(window_)), 6);
}

TEST_F(MenuAndDrops, AFileDroppedOnTheEditorOpensAndOnTheToolbarRowAlsoRuns) {
  Spill(Path("first.bas"), "print 1\r\n");
  Spill(Path("second.bas"), "print 2\r\n");
  Drop({Path("Shortcut.lnk"), Path("first.bas"), Path("second.bas")}, 600, 400);
  EXPECT_EQ(GetControlText(CurrentEditor), "print 1\r\n");
  EXPECT_EQ(CurrentFile, "$\\first.bas");
  EXPECT_EQ(Title(window_), "Loaded $\\first.bas");

  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("run.txt").c_str());
  Drop({Path("second.bas")}, 600, 10);
  EXPECT_EQ(GetControlText(CurrentEditor), "print 2\r\n");
  EXPECT_EQ(Recorded("run.txt"), "\"" + Path("second.bas") + "\"");

  DialogAnswer answer({});
  Drop({Path("only.lnk")}, 600, 400);  // nothing but a shortcut: nothing happens
  EXPECT_EQ(CurrentFile, "$\\second.bas");
  EXPECT_EQ(answer.Count(), 0u);
}

TEST_F(MenuAndDrops, OnADisplayOf144DpiTheToolbarRowThatRunsADroppedFileGrowsWithIt) {
  Spill(Path("lower.bas"), "print 3\r\n");
  WindowScale = DisplayScale{144};  // the row is 60 pixels high there
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("below.txt").c_str());
  Drop({Path("lower.bas")}, 600, 61);
  EXPECT_EQ(CurrentFile, "$\\lower.bas");
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("run.txt").c_str());
  Drop({Path("lower.bas")}, 600, 50);  // lower than 40 pixels, still on the picture buttons
  WindowScale = {};
  EXPECT_EQ(Recorded("run.txt"), "\"" + Path("lower.bas") + "\"");
  EXPECT_EQ(Slurp(Path("below.txt")), "");
}

TEST_F(MenuAndDrops, F1StartsTheHelpViewerAtThePageOfTheWordAtTheCaret) {
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("help.txt").c_str());
  SetControlText(CurrentEditor, "  Print x\r\n");
  SendMessageA(CurrentEditor, EM_SETSEL, 4, 4);
  SetFocus(CurrentEditor);
  SendMessageA(window_, WM_COMMAND, KeyF1, 0);
  EXPECT_EQ(Recorded("help.txt"), ProgramDir + "\\inf\\zorvex_help.chm::/print.htm");

  // The caret on a NUL byte: no word, so the help file opens at its first page.
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("help-nul.txt").c_str());
  SetControlText(CurrentEditor, std::string("x \0 y\r\n", 7));
  SendMessageA(CurrentEditor, EM_SETSEL, 2, 2);
  SendMessageA(window_, WM_COMMAND, KeyF1, 0);
  EXPECT_EQ(Recorded("help-nul.txt"), ProgramDir + "\\inf\\zorvex_help.chm");
}

TEST_F(MenuAndDrops, TheToolbarsHelpPictureLooksUpTheWordOfTheEditorItHadTheFocusFrom) {
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path("help.txt").c_str());
  SetControlText(CurrentEditor, "  Print x\r\n");
  SendMessageA(CurrentEditor, EM_SETSEL, 4, 4);
  SetFocus(CurrentEditor);
  SetFocus(ToolbarButtons[6]);  // a click gives the picture the focus, its caption "<<" no word
  SendMessageA(window_, WM_COMMAND, ToolbarHelp, reinterpret_cast<LPARAM>(ToolbarButtons[6]));
  EXPECT_EQ(Recorded("help.txt"), ProgramDir + "\\inf\\zorvex_help.chm::/print.htm");
}
