// The run and compile commands, the tools script and the project commands with a stand-in
// compile tool that records its command line: what is saved first and what is started.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "DialogAnswer.h"
#include "ScratchFolder.h"
#include "base/AppMessages_win.h"
#include "compiler/Build.h"
#include "compiler/BuildState.h"
#include "compiler/DebugModel.h"
#include "compiler/Debugger_win.h"
#include "editor/DebugMarks_win.h"
#include "commands/CommandState.h"
#include "documents/Documents.h"
#include "documents/DocumentState.h"
#include "editor/EditorAccess_win.h"
#include "editor/Listing_win.h"
#include "EditingComponent.h"
#include "Scintilla.h"
#include "navigation/FindFiles.h"
#include "navigation/Navigation_win.h"
#include "shell/ShellState.h"

namespace {
using Lines = std::vector<std::string>;
WNDPROC StaticProc = nullptr;
// The main window's procedure for what the debugger's pipe thread posts, as the program's has it.
LRESULT CALLBACK TakeDebugArrivals(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == DebugArrivedMessage) {
    OnDebugArrived(lParam);
    return 0;
  }
  return CallWindowProcA(StaticProc, window, message, wParam, lParam);
}

// A key-down as the main loop hands it to the debugger, with Ctrl and Shift held or not.
bool PressForDebugger(unsigned key, bool control, bool shift = false) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE held[256] = {};
  std::copy(keys, keys + 256, held);
  held[VK_CONTROL] = control ? 0x80 : 0;
  held[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(held);
  bool taken = DebugTakesKey(WM_KEYDOWN, key);
  SetKeyboardState(keys);
  return taken;
}
}  // namespace

// The program folder is a scratch folder holding "zor5.exe", a helper that writes its command
// tail into the file that ZOR_SHOWTAIL_OUT names (and the compiler library it binds).
class Build : public testing::Test {
 protected:
  static void SetUpTestSuite() { EditingComponent(); }

  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, startDir_);
    folder_ = std::make_unique<ScratchFolder>();
    ASSERT_TRUE(CopyFileA("showtail.exe", folder_->File("zor5.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA("zorvex.dll", folder_->File("zorvex.dll").c_str(), FALSE));  // the helper binds it
    MainWindow = CreateWindowExA(0, "STATIC", "start", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    CurrentEditor = Child(EditingComponent() ? "Scintilla" : "EDIT", 0);
    Editor = EditingComponent() ? CurrentEditor : nullptr;
    for (int slot = FindBox; slot <= OutputBox; ++slot) FinderBoxes[slot] = Child("EDIT", 200);
    if (EditingComponent()) {
      ListingPanel = Child("Scintilla", 200);
      ConfigureListing(ListingPanel, "Courier New", 9);
    }
    ClearListing();
    OutputShown = ListingShown = 0;
    CurrentFile = SaveName = ProjectFile = ProjectText = BuildInput = "";
    OutputKind = 0;
    ProgramDir = WorkDir = folder_->Path();
    SetCurrentDirectoryA(folder_->Path().c_str());
  }

  void TearDown() override {
    EndDebugSession();  // a test that failed half-way leaves no compile tool running
    StatusBar = nullptr;
    DestroyWindow(MainWindow);
    MainWindow = Editor = CurrentEditor = ListingPanel = nullptr;
    for (HWND& box : FinderBoxes) box = nullptr;
    SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", nullptr);
    SetCurrentDirectoryA(startDir_);
    folder_.reset();
  }

  HWND Child(const char* cls, int top) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, top, 500, 150, MainWindow, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  std::string Path(const std::string& name) const { return folder_->File(name); }
  // What the side panel shows: the listing panel, or the OutputBox standing in for it.
  static std::string Shown() { return GetControlText(ListingShows() ? ListingPanel : FinderBoxes[OutputBox]); }
  // A double-click on the listed line that holds text.
  static void DoubleClick(const std::string& text) {
    const WPARAM at = Shown().find(text);
    if (ListingShows()) SendMessageA(ListingPanel, SCI_GOTOPOS, at, 0);
    else SendMessageA(FinderBoxes[OutputBox], EM_SETSEL, at, LPARAM(at));
    if (!DebugPanelJump()) JumpFromListingCaret();  // as the main window takes the panel's double-click
  }
  // Ctrl+F7, and the window's share of the search until it ends: its news handed to the
  // handler as the main window's procedure hands them.
  static void Search() {
    ToolsCommand(2);
    const DWORD until = GetTickCount() + 60000;
    for (MSG msg; FindInFilesRunning() && GetTickCount() < until && GetMessageA(&msg, nullptr, 0, 0) > 0;) {
      if (msg.message == SearchNewsMessage) OnSearchNews(msg.wParam, msg.lParam);
      else DispatchMessageA(&msg);
    }
    EXPECT_FALSE(FindInFilesRunning());
  }
  // The next started tool writes its command tail into the file name.
  void Record(const std::string& name) { SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", Path(name).c_str()); }
  // The command tail the started tool wrote into name.
  std::string Started(const std::string& name) {
    std::string text;
    WaitFor([&] { return (text = Slurp(Path(name))).find('\n') != std::string::npos; }, 20000);
    return text.substr(0, text.find('\n'));
  }

  // The compile tool of this build in the program folder, the main window taking what the
  // debugger's thread posts, and a status bar.
  void DebugWithTheRealTool() {
    const std::string tool = std::string(startDir_) + (sizeof(void*) == 8 ? "\\..\\dist64\\zor5.exe" : "\\..\\dist\\zor5.exe");
    ASSERT_TRUE(CopyFileA(tool.c_str(), Path("zor5.exe").c_str(), FALSE)) << tool;
    StaticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, LONG_PTR(TakeDebugArrivals)));
    StatusBar = Child("EDIT", 300);
  }
  // Waits until the program has stopped and every answer the IDE asked for (call stack,
  // variables, a command's) has come; false when that took longer than 30 seconds.
  static bool Settled() {
    return WaitFor([] { return Debugging.State() == DebugState::Stopped && !Debugging.AwaitsAnswers(); }, 30000);
  }
  // Opens main.zobas, sets a breakpoint on line (counted from 1) and starts the debugger;
  // true once the program has stopped there and the panel is filled.
  bool RunToABreakpointInMain(int line) {
    if (!OpenListedFile(Path("main.zobas"))) return false;
    SendMessageA(Editor, SCI_GOTOLINE, line - 1, 0);
    return PressForDebugger('B', true) && PressForDebugger('D', true) && Settled();
  }
  // The panel's lines, a value's line the same whether it changed since the last stop or not.
  static Lines PanelLines() {
    const std::string shown = Shown();
    Lines lines;
    for (std::string_view line : SplitLines(shown)) lines.emplace_back(line);
    for (std::string& line : lines)
      if (line.size() > 2 && line[0] == '*') line[0] = ' ';
    return lines;
  }
  // The panel's lines after "Call stack:".
  static Lines CallStack() {
    const Lines lines = PanelLines();
    auto heading = std::find(lines.begin(), lines.end(), "Call stack:");
    return heading == lines.end() ? Lines{} : Lines(heading + 1, lines.end());
  }
  static bool PanelHas(const std::string& line) {
    const Lines lines = PanelLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  static int EditorCaretLine() {
    return int(SendMessageA(Editor, SCI_LINEFROMPOSITION, SendMessageA(Editor, SCI_GETCURRENTPOS, 0, 0), 0)) + 1;
  }
  // The file the editor holds, the caret and the stopped line's arrow on the line (and on no
  // other), and the status bar's line.
  void ExpectStopShown(const std::string& file, int line, const std::string& status) {
    SCOPED_TRACE(file + " " + std::to_string(line));
    EXPECT_TRUE(SamePath(SaveName, Path(file))) << SaveName;
    EXPECT_EQ(GetControlText(CurrentEditor), Slurp(Path(file)));
    EXPECT_EQ(EditorCaretLine(), line);
    constexpr int StoppedArrow = 1 << 4;  // the editor's marker of the stopped line
    EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, StoppedArrow), line - 1);
    EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, line, StoppedArrow), -1);
    EXPECT_EQ(GetControlText(StatusBar), status);
  }

  char startDir_[MAX_PATH] = {};
  std::unique_ptr<ScratchFolder> folder_;
};

TEST_F(Build, AnUntitledDocumentIsSavedAsTheScratchSourceAndRun) {
  SetControlText(CurrentEditor, "print 1\r\n");
  Record("run.txt");
  DialogAnswer answer({});
  BuildCommand(0);
  EXPECT_EQ(Started("run.txt"), "\"" + Path("_.zobas") + "\"");
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Slurp(Path("_.zobas")), "print 1\r\n");
  EXPECT_EQ(CurrentFile, Path("_.zobas"));
  EXPECT_EQ(SaveName, "");
  EXPECT_EQ(BuildInput, Path("_.zobas"));
}

TEST_F(Build, EachModifierHandsTheToolItsOptions) {
  CurrentFile = SaveName = Path("prog.zobas");
  SetControlText(CurrentEditor, "print 2\r\n");
  struct Case { int modifier; int kind; const char* options; };
  int round = 0;
  for (Case c : {Case{2, 0, "-r -32  "}, Case{3, 0, "-r -64  "}, Case{2, 1, "-d -32  "}, Case{1, 0, "-64  "}}) {
    SCOPED_TRACE(c.options);
    OutputKind = c.kind;
    std::string out = "opt" + std::to_string(++round) + ".txt";
    Record(out);
    BuildCommand(c.modifier);
    EXPECT_EQ(Started(out), c.options + ("\"" + Path("prog.zobas") + "\""));
  }
  EXPECT_EQ(Slurp(Path("prog.zobas")), "print 2\r\n");
}

TEST_F(Build, AnEmptyEditorStartsNothing) {
  Record("empty.txt");
  BuildCommand(0);
  SetControlText(CurrentEditor, "print 3\r\n");
  Record("after.txt");
  BuildCommand(0);
  EXPECT_NE(Started("after.txt"), "");
  EXPECT_EQ(GetFileAttributesA(Path("empty.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Build, AnIncludeFileOfAProjectBuildsTheMainFileWithTheProjectsOutputKind) {
  Spill(Path("main.zobas"), "#include \"part.inc\"\r\n");
  ProjectFile = Path("p.zoproj");
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n$main [" + Path("main.zobas") + "]\r\n$binary [tool.DLL]\r\n");
  CurrentFile = SaveName = Path("part.inc");
  SetControlText(CurrentEditor, "print 4\r\n");
  Record("main.txt");
  BuildCommand(2);
  EXPECT_EQ(Started("main.txt"), "-d -32  \"" + Path("main.zobas") + "\"");
  EXPECT_EQ(Slurp(Path("part.inc")), "print 4\r\n");  // the include file was saved first
  EXPECT_EQ(BuildInput, Path("main.zobas"));

  // Without a main file nothing is started.
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n");
  Record("nomain.txt");
  BuildCommand(0);
  Record("source.txt");
  CurrentFile = SaveName = Path("other.bas");
  BuildCommand(0);
  EXPECT_EQ(Started("source.txt"), "\"" + Path("other.bas") + "\"");
  EXPECT_EQ(GetFileAttributesA(Path("nomain.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Build, FindInFilesSearchesTheProjectsFilesAndADoubleClickOpensOneAsTheListNamesIt) {
  Spill(Path("b.bas"), "x = 1\r\nprint X\r\n");
  Spill(Path("a.inc"), std::string("x\0binary", 8));  // a NUL byte in its head: skipped
  ProjectFile = Path("p.zoproj");
  // A device is no file to read: it may never end or never answer.
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[c.bas]>\t00001  [$\\c.bas]\r\n<[b.bas]>\t00001  [$\\b.bas]\r\n"
                                          "<[a.inc]>\t00001  [$\\a.inc]\r\n<[nul]>\t00001  [NUL]\r\n");
  // The document is searched as the editor holds it, unsaved (its file does not exist yet).
  CurrentFile = SaveName = "$\\c.bas";
  SetControlText(CurrentEditor, "' c\r\nlet x = 2\r\n");
  SendMessageA(CurrentEditor, EM_SETSEL, 9, 9);  // the caret on the x
  Search();
  EXPECT_EQ(Shown(), Path("b.bas") + "(1): x = 1\r\n" + Path("b.bas") + "(2): print X\r\n" + Path("c.bas") +
                         "(2): let x = 2\r\n3 lines in 2 files, 2 files skipped");
  EXPECT_EQ(OutputShown, 1);
  EXPECT_EQ(ListingShown, EditingComponent() ? 1 : 0);

  DialogAnswer answer({Press(IDNO)});  // "Save $\c.bas", "Loading Another File": not saved
  DoubleClick("print X");
  EXPECT_EQ(answer.At(0).title, "Loading Another File");
  EXPECT_EQ(SaveName, "$\\b.bas");  // as the list names it, so its line field follows it
  size_t start = 0, end = 0;
  ControlSelection(CurrentEditor, start, end);
  EXPECT_EQ(start, 7u);  // the start of line 2
}

TEST_F(Build, AFolderSearchListsNamesInsideItsFolderAndADoubleClickOpensThemThere) {
  // A "$" begins a name like any other character here; it does not stand for the program's folder.
  ASSERT_TRUE(CreateDirectoryA(Path("$tmp").c_str(), nullptr));
  Spill(Path("$draft.bas"), "total = 1\r\n");
  Spill(Path("$tmp\\b.bas"), "' b\r\nprint total\r\n");
  SetControlText(CurrentEditor, "total");  // untitled: the working folder is searched
  Search();
  EXPECT_EQ(Shown(), "$draft.bas(1): total = 1\r\n$tmp\\b.bas(2): print total\r\n2 lines in 2 files");
  DialogAnswer answer({Press(IDNO)});  // the untitled text is not kept
  DoubleClick("print");
  EXPECT_EQ(SaveName, Path("$tmp\\b.bas"));
  EXPECT_EQ(GetControlText(CurrentEditor), "' b\r\nprint total\r\n");
}

namespace {
void SpillWide(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// The short name the system gives an entry.
std::string ShortName(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  std::string name;
  for (const wchar_t* c = found.cAlternateFileName; *c; ++c) name += static_cast<char>(*c);
  return name;
}
}  // namespace

TEST_F(Build, AFolderSearchReachesFoldersByTheirShortNamesAndCountsTheOnesItCannotEnter) {
  const std::wstring root = LongForm(folder_->Path());
  // A name the ANSI code page cannot hold.
  const std::wstring foreign = root + L"\\\u65e5\u672c";
  ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));
  SpillWide(foreign + L"\\a.bas", "total\r\n");
  // A path longer than the ANSI file routines take: its last folders go by their short names.
  std::wstring deep = root;
  std::string deepName = std::string(120, 'l');
  for (wchar_t c : {L'l', L'm', L'n'}) {
    deep += L"\\" + std::wstring(120, c);
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    if (c != L'l') deepName += "\\" + ShortName(deep);
  }
  SpillWide(deep + L"\\deep.bas", "x\r\ntotal\r\n");
  // Thirty folders of eight letters: the last ones are too deep even so.
  std::wstring tooDeep = root;
  for (int k = 0; k < 30; ++k) ASSERT_TRUE(CreateDirectoryW((tooDeep += L"\\abcdefgh").c_str(), nullptr));
  SpillWide(tooDeep + L"\\far.bas", "total\r\n");

  SetControlText(CurrentEditor, "total");
  Search();
  const std::string listing = Shown();
  EXPECT_NE(listing.find(ShortName(foreign) + "\\a.bas(1): total\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find(deepName + "\\deep.bas(2): total\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("\r\n2 lines in 2 files, 1 folder not searched"), std::string::npos) << listing;
}

namespace {
// What each append handed the listing panel, in order, as a hook on the window's thread sees it.
std::vector<std::string> Appends;
LRESULT CALLBACK WatchAppends(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->hwnd == ListingPanel && sent->message == SCI_APPENDTEXT)
    Appends.emplace_back(reinterpret_cast<const char*>(sent->lParam), size_t(sent->wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(Build, TheListingPanelShowsTheFirstHitsBeforeTheSearchEnds) {
  if (!EditingComponent()) GTEST_SKIP() << "no editing component";
  constexpr int Files = 300;
  std::string expected;
  for (int i = 0; i < Files; ++i) {
    char name[16];
    wsprintfA(name, "f%03d.bas", i);
    Spill(Path(name), "' one\r\nprint total\r\n");
    expected += std::string(name) + "(2): print total\r\n";
  }
  expected += std::to_string(Files) + " lines in " + std::to_string(Files) + " files";
  SetControlText(CurrentEditor, "total");
  Appends.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchAppends, nullptr, GetCurrentThreadId());
  Search();
  UnhookWindowsHookEx(hook);
  ASSERT_GE(Appends.size(), 2u);
  EXPECT_EQ(Appends.front().rfind("f000.bas(2): print total\r\n", 0), 0u) << Appends.front();
  EXPECT_EQ(Appends.front().find(" lines in "), std::string::npos) << "the first hits came only with the summary";
  std::string whole;
  for (const std::string& part : Appends) whole += part;
  EXPECT_EQ(whole, expected);
  EXPECT_EQ(Shown(), expected);
}

TEST_F(Build, FindInFilesWithNothingToSearchForSaysSo) {
  struct Case { const char* text; int start, end; const char* findBox; };
  for (Case c : {Case{"", 0, 0, " finder"}, Case{"a   b", 2, 2, " finder"}, Case{"a   b", 2, 4, ""},
                 Case{"", 0, 0, " \t"}}) {
    SCOPED_TRACE(std::string("[") + c.text + "] [" + c.findBox + "]");
    SetControlText(CurrentEditor, c.text);
    SendMessageA(CurrentEditor, EM_SETSEL, c.start, c.end);
    SetControlText(FinderBoxes[FindBox], c.findBox);
    ClearListing();
    Search();
    EXPECT_EQ(Shown(),
              "Nothing to search for: put the caret on a word, select a text or type it in the Find box (Ctrl+F).");
  }
}

TEST_F(Build, CtrlF7HeldIntoItsAutoRepeatSearchesOnce) {
  SetControlText(CurrentEditor, "total");
  for (bool repeats : {false, true}) {
    KeyRepeats = repeats;
    ClearListing();
    Search();
    EXPECT_EQ(Shown(), repeats ? "" : "0 lines in 0 files");
  }
  KeyRepeats = false;
}

// A new Ctrl+F7 stops the search still running: the listing is the new search's alone, whatever
// the stopped one still finds.
TEST_F(Build, ANewSearchStopsTheRunningOneAndListsItsOwnLinesAlone) {
  for (int n = 0; n < 40; ++n) Spill(Path("f" + std::to_string(n) + ".bas"), "first = 1\r\nsecond = 2\r\n");
  SetControlText(CurrentEditor, "first");
  ToolsCommand(2);
  SetControlText(CurrentEditor, "second");
  Search();
  const std::string shown = Shown();
  EXPECT_EQ(shown.find("first"), std::string::npos);
  EXPECT_NE(shown.find("40 lines in 40 files"), std::string::npos) << shown;
}

TEST_F(Build, TheToolsScriptRunsInTheProgramFolder) {
  Record("tools.txt");
  WorkDir = startDir_;
  ToolsCommand(1);
  EXPECT_EQ(Started("tools.txt"), "tools/QnCommand.zobas");
  char now[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_STREQ(now, startDir_);  // back in the working directory
}

TEST_F(Build, AProjectCommandRunsItsTextAsABatchFile) {
  ProjectCommands[0] = "\r\necho ran> ran.txt\r\n";
  DialogAnswer answer({});
  EXPECT_EQ(ProjectCommand(0), Outcome::Go);
  EXPECT_EQ(Slurp(Path("_.bat")), "\r\necho ran> ran.txt\r\n");
  EXPECT_TRUE(WaitFor([this] { return Slurp(Path("ran.txt")).find("ran") == 0; }, 20000));
  EXPECT_EQ(answer.Count(), 0u);
  ProjectCommands[0].clear();
}

TEST_F(Build, AProjectCommandAsksAboutTheDocumentFirst) {
  CurrentFile = SaveName = Path("a.zobas");
  Spill(Path("a.zobas"), "old\r\n");
  SetControlText(CurrentEditor, "new\r\n");
  ProjectCommands[1] = "echo never> never.txt";
  DialogAnswer answer({Press(IDCANCEL)});
  EXPECT_EQ(ProjectCommand(1), Outcome::Stop);
  EXPECT_EQ(answer.At(0).title, "Performing Project Command");
  EXPECT_EQ(GetFileAttributesA(Path("_.bat").c_str()), INVALID_FILE_ATTRIBUTES);
  ProjectCommands[1].clear();
}

TEST_F(Build, AQueryOfATextWithANulByteIsRefusedInTheOutputBox) {
  // The library reads its text only up to a NUL byte: it would answer for half the program.
  SetControlText(CurrentEditor, std::string("print 1\r\nx\0y\r\nprint 2\r\n", 23));
  CompilerQuery(0, "print");
  EXPECT_EQ(GetControlText(FinderBoxes[OutputBox]),
            "Not asked: line 2 holds a NUL byte (code 0), and the compiler library reads a text only up to "
            "such a byte.");
  EXPECT_EQ(OutputShown, 1);
  EXPECT_EQ(GetFileAttributesA(Path("_.txt").c_str()), INVALID_FILE_ATTRIBUTES);  // the library was not asked
  OutputShown = PendingAction = 0;
}


// The real compile tool runs the untitled document under the debugger to a breakpoint; the
// listing panel then shows one line per variable: a record in braces, a string in quotes, an
// array of a million elements by its bounds and first elements, then the call stack.
TEST_F(Build, TheDebuggerShowsTheFramesVariablesOneLineEach) {
  if (!EditingComponent()) GTEST_SKIP() << "the listing panel needs the editing component";
  DebugWithTheRealTool();
  SetControlText(CurrentEditor,
                 "type point\r\n  x as int\r\n  y as int\r\nend type\r\ndim p as point\r\ndim v(1000000) as int\r\n"
                 "dim s as string\r\ndim i as int\r\np.x = 1\r\np.y = 2\r\nfor i = 1 to 12\r\n  v(i) = i\r\nnext\r\n"
                 "s = \"hello\"\r\nprint s\r\n");
  EXPECT_FALSE(PressForDebugger('B', false));  // B alone types a letter
  SendMessageA(Editor, SCI_GOTOLINE, 14, 0);
  ASSERT_TRUE(PressForDebugger('B', true));
  EXPECT_EQ(BreakpointLines(), std::vector<int>{15});
  ASSERT_TRUE(PressForDebugger('D', true));
  ASSERT_TRUE(WaitFor([] { return Debugging.State() == DebugState::Stopped && Shown().find("Call stack:") != std::string::npos &&
                                  Shown().find("s as string") != std::string::npos; }, 30000))
      << Shown();
  EXPECT_EQ(Debugging.StopLine(), 15);
  std::vector<std::string> lines;
  const Listing shown = ShownListing();
  for (std::string_view line : SplitLines(shown.text)) lines.emplace_back(line);
  const std::vector<std::string> expected = {"", "", "", "  p as point = {x = 1, y = 2}",
                                             "  v(1 to 1000000) as int = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, \x85}",
                                             "  s as string = \"hello\"", "  i as int = 13", "Call stack:",
                                             "> main program, line 15 of _.zobas"};
  for (std::string& line : lines)
    if (line.size() > 2 && line[0] == '*') line[0] = ' ';  // changed or not, the value's line is the same
  EXPECT_EQ(lines, expected);
  // Shift+F5 ends it; the session is over once the tool has gone.
  EndDebugSession();
  EXPECT_FALSE(PressForDebugger(VK_F10, false));
  SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, LONG_PTR(StaticProc));
}

// A compile tool from before the debugger (the stand-in knows no -debug): Ctrl+D says so in
// one line, saves nothing and starts nothing, and the keys stay as they were.
TEST_F(Build, CtrlDWithAnOlderCompileToolStartsNothing) {
  StatusBar = Child("EDIT", 300);
  SetControlText(CurrentEditor, "print 1\r\n");
  Record("run.txt");
  ASSERT_TRUE(PressForDebugger('D', true));
  EXPECT_EQ(GetControlText(StatusBar), "This zor5.exe is older and has no debugger (-debug): nothing was started");
  EXPECT_EQ(Debugging.State(), DebugState::Idle);
  EXPECT_EQ(GetFileAttributesA(Path("_.zobas").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(Path("run.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(PressForDebugger(VK_F10, false));
  EXPECT_FALSE(DebugBoxCommand("? 1"));
  StatusBar = nullptr;
}

// A breakpoint set in an included file, and a step into a sub defined there: the IDE opens that
// file as F12 opens one, with the caret and the arrow on the stopped line and the file named in
// the status bar; stepping out of the sub brings the main file back. F6 shows the caller's frame
// in the main file and comes back round to the stopped one, arrow and all.
TEST_F(Build, AStopInAnIncludedFileShowsThatFileAtTheStoppedLine) {
  if (!EditingComponent()) GTEST_SKIP() << "the listing panel needs the editing component";
  Spill(Path("part.inc"), "sub show(n as int)\r\n  print n\r\n  print n * 2\r\nend sub\r\n");
  Spill(Path("main.zobas"), "#include \"part.inc\"\r\ndim a as int = 3\r\nshow a\r\nshow a + 1\r\nprint \"done\"\r\n");
  DebugWithTheRealTool();
  DialogAnswer answer({});
  ASSERT_TRUE(OpenListedFile(Path("part.inc")));
  SendMessageA(Editor, SCI_GOTOLINE, 2, 0);
  ASSERT_TRUE(PressForDebugger('B', true));
  ASSERT_TRUE(OpenListedFile(Path("main.zobas")));
  EXPECT_TRUE(BreakpointLines().empty());

  ASSERT_TRUE(PressForDebugger('D', true));
  ASSERT_TRUE(Settled()) << Shown();
  ExpectStopShown("part.inc", 3, "Stopped at line 3 of part.inc");
  EXPECT_EQ(BreakpointLines(), std::vector<int>{3});  // the file came back with its breakpoint
  EXPECT_EQ(CallStack(), (Lines{"> sub show, line 3 of part.inc", "  main program, line 3 of main.zobas"}));
  // Another file opened meanwhile has no arrow; the stopped file opened again has it back.
  ASSERT_TRUE(OpenListedFile(Path("main.zobas")));
  EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, 1 << 4), -1);
  ASSERT_TRUE(OpenListedFile(Path("part.inc")));
  EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, 1 << 4), 2);

  ASSERT_TRUE(PressForDebugger(VK_F11, false, true));  // Shift+F11: out of the sub
  ASSERT_TRUE(Settled()) << Shown();
  ExpectStopShown("main.zobas", 4, "Stopped at line 4");
  EXPECT_TRUE(BreakpointLines().empty());

  ASSERT_TRUE(PressForDebugger(VK_F11, false));  // F11: into the next call
  ASSERT_TRUE(Settled()) << Shown();
  ExpectStopShown("part.inc", 2, "Stopped at line 2 of part.inc");
  EXPECT_EQ(CallStack(), (Lines{"> sub show, line 2 of part.inc", "  main program, line 4 of main.zobas"}));

  ASSERT_TRUE(PressForDebugger(VK_F6, false));  // the caller's frame, in the main file
  ASSERT_TRUE(Settled()) << Shown();
  EXPECT_TRUE(SamePath(SaveName, Path("main.zobas"))) << SaveName;
  EXPECT_EQ(EditorCaretLine(), 4);
  EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, 1 << 4), -1);  // the program is stopped in the other file
  EXPECT_EQ(CallStack(), (Lines{"  sub show, line 2 of part.inc", "> main program, line 4 of main.zobas"}));
  ASSERT_TRUE(PressForDebugger(VK_F6, false));  // round to the stopped frame again
  ASSERT_TRUE(Settled()) << Shown();
  ExpectStopShown("part.inc", 2, "sub show, line 2 of part.inc");

  ASSERT_TRUE(PressForDebugger(VK_F5, false));  // to the breakpoint of the second call
  ASSERT_TRUE(Settled()) << Shown();
  ExpectStopShown("part.inc", 3, "Stopped at line 3 of part.inc");
  EXPECT_TRUE(PanelHas("  n as int = 4")) << Shown();
  ASSERT_TRUE(PressForDebugger(VK_F5, false));
  EXPECT_TRUE(WaitFor([] { return GetControlText(StatusBar) == "The program ended with exit code 0"; }, 30000))
      << GetControlText(StatusBar);
  EXPECT_TRUE(WaitFor([] { return !DebugKeywordBoxOnTop(); }, 30000));  // the session is over
  EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, 1 << 4), -1);  // and its arrow gone
  EXPECT_EQ(answer.Count(), 0u);
}

// Stopped in a sub called from the main program: a double-click on the caller's frame in the
// panel shows the main program's variables and puts the caret on the line of the call, and the
// KeywordBox's commands then read that frame; F6 comes back to the sub's frame.
TEST_F(Build, ChoosingTheCallersFrameShowsItsVariablesAndItsLine) {
  if (!EditingComponent()) GTEST_SKIP() << "the listing panel needs the editing component";
  Spill(Path("main.zobas"), "dim total as int = 5\r\nsub twice(n as int)\r\n  dim r as int\r\n  r = n * 2\r\n"
                            "  print r\r\nend sub\r\ntwice total\r\nprint \"end\"\r\n");
  DebugWithTheRealTool();
  DialogAnswer answer({});
  ASSERT_TRUE(RunToABreakpointInMain(5)) << Shown();
  EXPECT_EQ(Debugging.StopLine(), 5);
  EXPECT_TRUE(PanelHas("  n as int = 5") && PanelHas("  r as int = 10")) << Shown();
  EXPECT_EQ(CallStack(), (Lines{"> sub twice, line 5 of main.zobas", "  main program, line 7 of main.zobas"}));

  DoubleClick("main program");
  ASSERT_TRUE(Settled()) << Shown();
  EXPECT_EQ(CallStack(), (Lines{"  sub twice, line 5 of main.zobas", "> main program, line 7 of main.zobas"}));
  EXPECT_TRUE(PanelHas("  total as int = 5")) << Shown();
  EXPECT_FALSE(PanelHas("  r as int = 10")) << Shown();
  EXPECT_EQ(EditorCaretLine(), 7);
  EXPECT_EQ(GetControlText(StatusBar), "main program, line 7 of main.zobas");
  EXPECT_EQ(SendMessageA(Editor, SCI_MARKERNEXT, 0, 1 << 4), 4);  // the arrow stays on the stopped line
  ASSERT_TRUE(DebugBoxCommand("? total + 1"));
  ASSERT_TRUE(Settled()) << Shown();
  ASSERT_TRUE(DebugBoxCommand("? r"));  // the sub's local is no name in the main program
  ASSERT_TRUE(Settled()) << Shown();
  const std::string panel = Shown();
  EXPECT_NE(panel.find("> ? total + 1\r\n6\r\n> ? r\r\n! unknown name r\r\n"), std::string::npos) << panel;

  ASSERT_TRUE(PressForDebugger(VK_F6, false));
  ASSERT_TRUE(Settled()) << Shown();
  EXPECT_EQ(CallStack(), (Lines{"> sub twice, line 5 of main.zobas", "  main program, line 7 of main.zobas"}));
  EXPECT_TRUE(PanelHas("  r as int = 10")) << Shown();
  EXPECT_EQ(EditorCaretLine(), 5);
  EXPECT_EQ(answer.Count(), 0u);
}

// The KeywordBox's commands while stopped: "?" answers in the panel, "watch" stops where the
// place changed, "unwatch" takes it away again, "when" stops where its condition became true,
// and a value set with "let" is the one the program goes on with.
TEST_F(Build, TheKeywordBoxWatchesValuesStopsOnConditionsAndSetsValues) {
  if (!EditingComponent()) GTEST_SKIP() << "the listing panel needs the editing component";
  Spill(Path("main.zobas"), "dim x as int = 1\r\ndim i as int\r\ndim total as int\r\nfor i = 1 to 5\r\n"
                            "  total = total + x\r\n  if i = 2 or i = 4 then x = x + 1\r\nnext\r\n"
                            "putfile(\"out.txt\", str(total) & \" \" & str(x))\r\n");
  DebugWithTheRealTool();
  DialogAnswer answer({});
  ASSERT_TRUE(RunToABreakpointInMain(4)) << Shown();
  EXPECT_EQ(Debugging.StopLine(), 4);
  ASSERT_TRUE(PressForDebugger('B', true));  // the breakpoint goes: only the watches stop it now

  // Each command answers in the panel: what was typed, then its answer.
  auto command = [](const std::string& text, const std::string& result) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(DebugBoxCommand(text));
    ASSERT_TRUE(Settled()) << Shown();
    const std::string panel = Shown();
    EXPECT_NE(panel.find("> " + text + "\r\n" + result + "\r\n"), std::string::npos) << panel;
  };
  command("? x * 10 + 1", "11");
  command("watch x", "watching x (now 1)");
  ASSERT_TRUE(PressForDebugger(VK_F5, false));
  ASSERT_TRUE(Settled()) << Shown();
  // x changed in the second round: the program stops before the next statement it runs.
  EXPECT_EQ(Debugging.StopLine(), 5);
  EXPECT_EQ(GetControlText(StatusBar), "Stopped at line 5: x changed from 1 to 2");
  command("? i", "3");

  command("unwatch", "no more watches");
  command("when total >= 7", "stopping when total >= 7 (now false)");
  ASSERT_TRUE(PressForDebugger(VK_F5, false));  // x changes again at i = 4, unwatched
  ASSERT_TRUE(Settled()) << Shown();
  EXPECT_EQ(Debugging.StopLine(), 6);
  EXPECT_EQ(GetControlText(StatusBar), "Stopped at line 6: total >= 7 became true");
  command("? i", "5");
  command("let x = 50", "x = 50");
  EXPECT_TRUE(PanelHas("  x as int = 50")) << Shown();

  ASSERT_TRUE(PressForDebugger(VK_F5, false));
  EXPECT_TRUE(WaitFor([] { return GetControlText(StatusBar) == "The program ended with exit code 0"; }, 30000))
      << GetControlText(StatusBar);
  EXPECT_TRUE(WaitFor([] { return !DebugKeywordBoxOnTop(); }, 30000));  // the session is over
  EXPECT_EQ(Slurp(Path("out.txt")), "9 50");
  EXPECT_FALSE(DebugBoxCommand("? x"));
  EXPECT_EQ(answer.Count(), 0u);
}
