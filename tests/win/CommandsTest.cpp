// The command dispatcher in a real window: boxes before actions, held keys, focus moves, the
// boxes' Enter, the placeholders and the pending relayout, with dialogs answered by the test.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include "DialogAnswer.h"
#include "base/Bindings_win.h"
#include "base/TextScan.h"
#include "commands/CommandIds.h"
#include "commands/CommandState.h"
#include "commands/Commands_win.h"
#include "documents/DocumentState.h"
#include "documents/Titles.h"
#include "editor/Completing_win.h"
#include "editor/EditorAccess_win.h"
#include "documents/Documents.h"
#include "editor/EditorState.h"
#include "EditingComponent.h"
#include "Scintilla.h"
#include "editor/Listing_win.h"
#include "editor/Marks_win.h"
#include "navigation/Navigation_win.h"
#include "shell/ShellState.h"

namespace {
int SizeMessages = 0;         // WM_SIZE received by the test main window
int CloseMessages = 0;        // WM_CLOSE received by the test main window

// The main window's procedure as far as commands go: dispatch, then the pending action
// unless a cancelled prompt abandoned the command.
LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (DispatchCommand(wParam, lParam) == Outcome::Go) RunPendingAction();
      return 0;
    case WM_SIZE: ++SizeMessages; return 0;
    case WM_CLOSE: ++CloseMessages; return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string TitleOf(HWND window) {
  char title[512] = {};
  GetWindowTextA(window, title, sizeof title);
  return title;
}

// Holds keys in this thread's key state, the state it has taken from its input so far: the
// one that belongs to the message handled next, which is what the commands read.
class HeldKeys {
 public:
  HeldKeys(std::initializer_list<BYTE> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    for (BYTE key : keys) state[key] |= 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256] = {};
};
}  // namespace

// A main window of its own class with the six boxes in their slots and the editor (real
// Scintilla where built, else the plain edit fallback), made once for the suite (hiding an
// active window costs Wine a long wait); each test starts with empty controls and state.
class Commands : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TestMainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "zorcommandstest";
    RegisterClassExA(&windowClass);
    window_ = CreateWindowExA(0, "zorcommandstest", "start", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 600,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    scintilla_ = EditingComponent() ? Child("Scintilla", 0, EditorId, 0) : nullptr;
    editor_ = scintilla_ ? scintilla_ : Child("EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, EditorId, 0);
    for (int slot = FindBox; slot <= OutputBox; ++slot)
      boxes_[slot] = Child("EDIT", ES_MULTILINE | ES_AUTOVSCROLL, FinderBoxId, 300 + 40 * slot);
    panel_ = EditingComponent() ? Child("Scintilla", 0, ListingPanelId, 0) : nullptr;
    if (panel_) {
      if (scintilla_) ConfigureBookmarks(scintilla_);
      ConfigureListing(panel_, "Lucida console", 9);
    }
  }

  static void TearDownTestSuite() { DestroyWindow(window_); }

  void SetUp() override {
    SaveState();
    MakeFolder();
    MainWindow = window_;
    Editor = scintilla_;
    CurrentEditor = editor_;
    std::copy(std::begin(boxes_), std::end(boxes_), FinderBoxes);
    ListingPanel = panel_;
    ClearListing();
    ListingShown = 0;
    KeptBookmarks = {};
    for (int slot = FindBox; slot <= OutputBox; ++slot) SetControlText(FinderBoxes[slot], "");
    SetText("");
    SetWindowTextA(MainWindow, "start");
    CurrentFile = SaveName = ProjectFile = ProjectText = "";
    ProjectOpen = OutputShown = PendingAction = OutputKind = NameAfterSource = 0;
    AboutText = "Zorvex IDE\r\nabout text";
    SetForegroundWindow(MainWindow);
    SetFocus(CurrentEditor);
    SizeMessages = CloseMessages = 0;
  }

  void TearDown() override {
    RestoreState();
    SetCurrentDirectoryA(startDir_.c_str());  // the file dialogs move it
    for (const char* name : {"a.zobas", "b.zobas", "other.bas"}) DeleteFileA(Path(name).c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // Sends a command message to the main window as its sources do; code is the high word.
  void Command(int id, LPARAM lParam = 0, int code = 0) {
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(id, code), lParam);
  }
  LPARAM Handle(HWND window) { return reinterpret_cast<LPARAM>(window); }

  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  std::string Text() const { return GetControlText(CurrentEditor); }
  void SetText(const std::string& text) { SetControlText(CurrentEditor, text); }
  std::string Title() const { return TitleOf(MainWindow); }
  static std::pair<DWORD, DWORD> Selection(HWND control) {
    DWORD start = 0, end = 0;
    SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  int CaretLine() const {
    return static_cast<int>(SendMessageA(CurrentEditor, EM_LINEFROMCHAR, Selection(CurrentEditor).first, 0)) + 1;
  }

  std::string folder_;
  std::string startDir_;

 private:
  static HWND Child(const char* className, DWORD style, int id, int top) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, top, 600, top ? 36 : 280, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }

  void MakeFolder() {
    static int counter = 0;
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    startDir_ = current;
    folder_ = startDir_ + "\\cmdtest" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter);
    CreateDirectoryA(folder_.c_str(), nullptr);
  }

  void SaveState() {
    saved_[0] = MainWindow;
    saved_[1] = Editor;
    saved_[2] = CurrentEditor;
    saved_[3] = ListingPanel;
    std::copy(std::begin(FinderBoxes), std::end(FinderBoxes), savedBoxes_);
    std::copy(std::begin(ToolbarIds), std::end(ToolbarIds), savedToolbar_);
    savedAbout_ = AboutText;
  }

  void RestoreState() {
    MainWindow = saved_[0];
    Editor = saved_[1];
    CurrentEditor = saved_[2];
    ListingPanel = saved_[3];
    ListingShown = 0;
    std::copy(std::begin(savedBoxes_), std::end(savedBoxes_), FinderBoxes);
    std::copy(std::begin(savedToolbar_), std::end(savedToolbar_), ToolbarIds);
    AboutText = savedAbout_;
    CurrentFile = SaveName = ProjectFile = ProjectText = "";
    ProjectOpen = OutputShown = PendingAction = OutputKind = NameAfterSource = 0;
  }

  HWND saved_[4] = {};
  HWND savedBoxes_[7] = {};
  int savedToolbar_[10] = {};
  std::string savedAbout_;
  inline static HWND window_ = nullptr;
  inline static HWND scintilla_ = nullptr;
  inline static HWND editor_ = nullptr;
  inline static HWND panel_ = nullptr;
  inline static HWND boxes_[7] = {};
};

TEST_F(Commands, EachCommandButtonShowsItsBoxBeforeItActs) {
  struct Case {
    int id;
    const char* text;
    const char* title;
    const char* nextDialog;  // title of the dialog the command opens after the box, or ""
    std::function<void()> prepare;
    std::function<void()> check;
  };
  const std::string file = Path("a.zobas");
  const Case cases[] = {
      {ButtonNewFile, "New File", "Close last file", "", [] {}, [&] { EXPECT_EQ(Title(), "New Code"); }},
      {ButtonOpenFile, "Open File", "Open a file..", "Load File", [] {}, [] {}},
      {ButtonSaveAs, "Save File as..", "Save this file as..", "Save File as", [] {}, [] {}},
      {ButtonQuickRun, "Quick Run", "Execute", "", [] {}, [] {}},
      {ButtonCompile, "Compile File", "Compile this file", "", [] {}, [] {}},
      {ButtonExit, "Exit Window", "leave current window", "", [] {}, [] { EXPECT_EQ(CloseMessages, 1); }},
      {ButtonVersion, "Zorvex Basic 32bit ", "Version 0.1.8g beta/feb 2016->mai-2024", "", [] {}, [] {}},
      {ButtonFinder, "FindWord", "find a word", "", [] {}, [&] { EXPECT_EQ(Title(), "Find"); }},
      {ButtonReplace, "Replace", "replace a word", "", [] {}, [&] { EXPECT_EQ(Title(), "Find & Replace"); }},
      {ButtonSaveFile, "SaveFile", "save a file", "",
       [&] {
         SaveName = CurrentFile = file;
         SetText("print 9\r\n");
       },
       [&] {
         EXPECT_EQ(Slurp(file), "print 9\r\n");
         EXPECT_EQ(Title(), "Saved " + ShortTitle(file));
       }},
      {ButtonUndo, "Undo", "turn action back", "",
       [&] {
         SetText("ab");
         SendMessageA(CurrentEditor, WM_CHAR, 'c', 0);
         ASSERT_EQ(Text(), "cab");
       },
       [&] { EXPECT_EQ(Text(), "ab"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    SaveName = CurrentFile = "";
    SetText("");
    SetWindowTextA(MainWindow, "start");
    CloseMessages = 0;
    c.prepare();
    std::vector<DialogReply> replies{Press(IDOK)};
    if (*c.nextDialog) replies.push_back(CancelDialog());
    DialogAnswer answer(replies);
    Command(c.id);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).text, c.text);
    EXPECT_EQ(answer.At(0).title, c.title);
    if (*c.nextDialog) {
      EXPECT_EQ(answer.At(1).title, c.nextDialog);
    }
    c.check();
  }
  DeleteFileA(file.c_str());
}

TEST_F(Commands, SaveAsksForANameOnlyWithShiftAlone) {
  const std::string file = Path("b.zobas");
  SaveName = CurrentFile = file;
  Spill(file, "old\r\n");
  SetText("new\r\n");
  {
    HeldKeys keys{VK_SHIFT};
    DialogAnswer answer({CancelDialog()});
    Command(KeyF9);  // Shift+F9: Save As
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "Save File as");
    EXPECT_EQ(Slurp(file), "old\r\n");
    Command(KeyCtrlE);  // runs whatever keys are held: no dialog either
    EXPECT_EQ(answer.Count(), 1u);
  }
  {
    HeldKeys keys{VK_CONTROL, VK_SHIFT};
    DialogAnswer answer({});
    Command(KeyCtrlS);  // the nested save sees Ctrl+Shift (3): no dialog
    EXPECT_EQ(answer.Count(), 0u);
    EXPECT_EQ(Slurp(file), "new\r\n");
    EXPECT_EQ(Title(), "Saved " + ShortTitle(file));
  }
}

TEST_F(Commands, CtrlOOpensTheChosenFileThroughTheNestedCommand) {
  const std::string file = Path("a.zobas");
  Spill(file, "print 1\r\n");
  DialogAnswer answer({ChooseFile(file)});
  Command(KeyCtrlO);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(0).title, "Load File");
  EXPECT_EQ(Text(), "print 1\r\n");
  EXPECT_EQ(CurrentFile, file);
  EXPECT_EQ(Title(), "Loaded " + ShortTitle(file));
}

TEST_F(Commands, OnlyACancelledSavePromptAbandonsTheCommand) {
  struct Case { int id; int answer; bool goesOn; const char* textAfter; const char* titleAfter; };
  for (const Case& c : {Case{MenuNewFile, IDCANCEL, false, "unsaved\r\n", "start"},
                        Case{MenuNewFile, IDNO, true, "", "New Code"},
                        Case{ButtonOpenFile, IDCANCEL, false, "unsaved\r\n", "start"}}) {
    SCOPED_TRACE(c.id);
    SetText("unsaved\r\n");
    SetWindowTextA(MainWindow, "start");
    std::vector<DialogReply> replies{Press(c.answer)};
    if (c.id == ButtonOpenFile) replies.insert(replies.begin(), Press(IDOK));  // its information box
    DialogAnswer answer(replies);
    EXPECT_EQ(DispatchCommand(MAKEWPARAM(c.id, 0), 0) == Outcome::Go, c.goesOn);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(replies.size() - 1).text, "Save <current script>");
    EXPECT_EQ(Text(), c.textAfter);
    EXPECT_EQ(Title(), c.titleAfter);
  }
}

TEST_F(Commands, EscapeAndDoubleClicksOutsideTheProjectBoxFocusTheEditor) {
  SetText("kept\r\n");
  SetFocus(FinderBoxes[FindBox]);
  Command(KeyEscape, Handle(FinderBoxes[FindBox]));
  EXPECT_EQ(GetFocus(), CurrentEditor);
  for (HWND other : {FinderBoxes[LineBox], FinderBoxes[OutputBox], MainWindow}) {
    SetFocus(FinderBoxes[LineBox]);
    Command(KeyDoubleClick, Handle(other));
    EXPECT_EQ(GetFocus(), CurrentEditor);
  }
  EXPECT_EQ(Text(), "kept\r\n");
  EXPECT_EQ(Title(), "start");
}

TEST_F(Commands, DoubleClickOnTheProjectBoxSwitchesToTheFileAtItsCaret) {
  const std::string file = Path("other.bas");
  Spill(file, "other text\r\n");
  std::string list = "$files\r\n<[other.bas]>\t00001  [" + file + "]\r\n";
  SetControlText(FinderBoxes[ProjectBox], list);
  WPARAM inLabel = list.find("other");
  SendMessageA(FinderBoxes[ProjectBox], EM_SETSEL, inLabel, inLabel);
  SetFocus(FinderBoxes[ProjectBox]);
  Command(KeyDoubleClick, Handle(FinderBoxes[ProjectBox]));
  EXPECT_EQ(Text(), "other text\r\n");
  EXPECT_EQ(CurrentFile, file);
  EXPECT_EQ(Title(), "Switched to " + file);
  EXPECT_EQ(GetFocus(), CurrentEditor);
}

TEST_F(Commands, CtrlLettersFocusAndSelectTheirControl) {
  SetText("one\r\ntwo\r\nthree\r\nfour");
  SendMessageA(CurrentEditor, EM_SETSEL, 12, 12);  // inside "three", line 3
  SetControlText(FinderBoxes[FindBox], "needle");
  SetControlText(FinderBoxes[ReplaceBox], "thread");
  struct Case { int id; HWND focused; std::string text; };
  for (const Case& c : {Case{KeyCtrlG, FinderBoxes[LineBox], "3"}, Case{KeyCtrlA, CurrentEditor, Text()},
                        Case{KeyCtrlF, FinderBoxes[FindBox], "needle"},
                        Case{KeyCtrlR, FinderBoxes[ReplaceBox], "thread"}}) {
    SCOPED_TRACE(c.id);
    SetFocus(FinderBoxes[OutputBox]);
    Command(c.id);
    EXPECT_EQ(GetFocus(), c.focused);
    EXPECT_EQ(GetControlText(c.focused), c.text);
    EXPECT_EQ(Selection(c.focused), std::make_pair(DWORD{0}, static_cast<DWORD>(c.text.size())));
  }
}

TEST_F(Commands, EnterActsByTheFocusedBox) {
  SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  SetControlText(FinderBoxes[LineBox], "4");
  SetFocus(FinderBoxes[LineBox]);
  Command(KeyEnter, Handle(FinderBoxes[LineBox]));
  EXPECT_EQ(CaretLine(), 4);
  EXPECT_EQ(GetFocus(), CurrentEditor);

  struct Case { HWND box; const char* text; int outputShown; int sizes; const char* title; };
  for (const Case& c : {Case{FinderBoxes[KeywordBox], "", 0, 1, "start"},
                        Case{FinderBoxes[KeywordBox], "print", 1, 1, "start"},
                        Case{FinderBoxes[FindBox], "x", 0, 0, "start"},  // only F3 and F4 retitle
                        Case{FinderBoxes[ReplaceBox], "x", 0, 0, "start"},
                        Case{CurrentEditor, "x", 0, 0, "start"}}) {
    SCOPED_TRACE(c.text);
    SetWindowTextA(MainWindow, "start");
    OutputShown = 0;
    SizeMessages = 0;
    if (c.box != CurrentEditor) SetControlText(c.box, c.text);
    SetFocus(c.box);
    Command(KeyEnter, Handle(c.box));
    EXPECT_EQ(OutputShown, c.outputShown);
    EXPECT_EQ(SizeMessages, c.sizes);  // the relayout runs once and is then taken
    EXPECT_EQ(PendingAction, 0);
    EXPECT_EQ(Title(), c.title);
    EXPECT_EQ(GetFocus(), c.box);
  }
}

TEST_F(Commands, ToolbarAndAboutBoxesShowTheirTexts) {
  for (int i = 0; i < 10; ++i) ToolbarIds[i] = ToolbarStartFirst + i;
  struct Case { int id; const char* text; const char* title; };
  for (const Case& c : {Case{ToolbarFindEditor, "Editor by Toolbar-click not yet available", "Zor"},
                        Case{ToolbarCodefinder, "nothing to do", "Zor"},
                        Case{MenuAbout, "Zorvex IDE\r\nabout text", "ZorvexIde"}}) {
    SCOPED_TRACE(c.id);
    DialogAnswer answer({Press(IDOK)});
    Command(c.id);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).text, c.text);
    EXPECT_EQ(answer.At(0).title, c.title);
  }
  const int expected[10] = {3000, 3001, 3003, 3020, 3022, 3014, 3037, 3032, 3046, 109};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), std::begin(ToolbarIds)));
}

TEST_F(Commands, ProjectToggleRelaysOutOnce) {
  Command(MenuToggleProject);
  EXPECT_EQ(ProjectOpen, 1);
  EXPECT_EQ(SizeMessages, 1);
  EXPECT_EQ(PendingAction, 0);
  Command(MenuToggleProject);
  EXPECT_EQ(ProjectOpen, 0);
  EXPECT_EQ(SizeMessages, 2);
}

TEST_F(Commands, SearchItemInsertsTheTimeStampIntoTheFocusedBox) {
  SetControlText(FinderBoxes[FindBox], "ab");
  SetFocus(FinderBoxes[FindBox]);
  SendMessageA(FinderBoxes[FindBox], EM_SETSEL, 1, 1);
  Command(MenuSearch);
  std::string text = GetControlText(FinderBoxes[FindBox]);
  ASSERT_EQ(text.size(), 21u);
  EXPECT_EQ(text.front(), 'a');
  EXPECT_EQ(text.back(), 'b');
  EXPECT_EQ(text[11], 'T');
  EXPECT_EQ(Selection(FinderBoxes[FindBox]), std::make_pair(DWORD{20}, DWORD{20}));
}

namespace {
int PanelSends(UINT message, WPARAM wParam) { return int(SendMessageA(ListingPanel, message, wParam, 0)); }
}  // namespace

TEST_F(Commands, ListingPanelShowsAppendedLinesColouredAndFoldedAndEnterHidesIt) {
  if (!ListingPanel) GTEST_SKIP() << "no SciLexer.dll";
  ShowListing({ListingKind::Search, "a.zobas(1): one\r\na.zobas(2): t", "", ""});
  AppendListing("wo\r\nb.zobas(3): three\r\n");  // a search's batches need not end at a line
  EXPECT_EQ(GetControlText(ListingPanel), "a.zobas(1): one\r\na.zobas(2): two\r\nb.zobas(3): three\r\n");
  EXPECT_EQ(OutputShown, 1);
  EXPECT_EQ(ListingShown, 1);
  const size_t second = 17;  // "a.zobas(2): two" starts there
  for (auto [at, style] : {std::pair{0, 1}, {8, 2}, {12, 0}, {int(second), 1}, {int(second) + 8, 2}, {int(second) + 13, 0}})
    EXPECT_EQ(PanelSends(SCI_GETSTYLEAT, at), style) << at;
  EXPECT_EQ(PanelSends(SCI_GETFOLDLEVEL, 0), 0x400 | 0x2000);
  EXPECT_EQ(PanelSends(SCI_GETFOLDLEVEL, 1), 0x401);
  EXPECT_EQ(PanelSends(SCI_GETFOLDLEVEL, 2), 0x400);
  SetFocus(FinderBoxes[KeywordBox]);
  Command(KeyEnter, Handle(FinderBoxes[KeywordBox]));
  EXPECT_EQ(OutputShown, 0);
}

TEST_F(Commands, F6GoesThroughTheListingIntoOtherFilesAndShiftF12ComesBack) {
  if (!ListingPanel) GTEST_SKIP() << "no SciLexer.dll";
  Spill(Path("a.zobas"), "a1\r\na2\r\na3\r\n");
  Spill(Path("b.zobas"), "b1\r\nb2\r\nb3\r\nb4\r\n");
  ASSERT_TRUE(LoadIntoEditor(Path("a.zobas")));
  CurrentFile = SaveName = Path("a.zobas");
  ShowPlaces("b.zobas(3): b3\r\n2 lines in 2 files\r\na.zobas(2): a2\r\n", folder_, "");
  struct Step { bool back; const char* file; int line; int marked; };
  const Step steps[] = {
      {false, "b.zobas", 3, 0}, {false, "a.zobas", 2, 2}, {false, "b.zobas", 3, 0},  // wraps to the first
      {true, "a.zobas", 2, 2},                                                       // Shift+F6 wraps back
  };
  for (const Step& step : steps) {
    HeldKeys keys(step.back ? std::initializer_list<BYTE>{VK_SHIFT} : std::initializer_list<BYTE>{});
    Command(KeyF6);
    EXPECT_EQ(SaveName, Path(step.file));
    EXPECT_EQ(CaretLine(), step.line);
    EXPECT_EQ(MarkedListingLine(), step.marked);
    EXPECT_EQ(GetFocus(), CurrentEditor);
  }
  {
    HeldKeys shift({VK_SHIFT});
    Command(KeyF12);  // back to where the last jump started
  }
  EXPECT_EQ(SaveName, Path("b.zobas"));
  EXPECT_EQ(CaretLine(), 3);

  // Unsaved text: the question comes first, and Cancel keeps everything.
  SetText("b1 edited\r\n");
  {
    DialogAnswer answer({Press(IDCANCEL)});
    SendMessageA(ListingPanel, SCI_GOTOLINE, 2, 0);
    Command(KeyDoubleClick, Handle(ListingPanel));
    EXPECT_EQ(answer.At(0).title, "Loading Another File");
    EXPECT_TRUE(answer.Complete());
  }
  EXPECT_EQ(SaveName, Path("b.zobas"));
  EXPECT_EQ(Text(), "b1 edited\r\n");

  // Answered by the file as it is, a double-click goes to the line under the panel's caret.
  SetText("b1\r\nb2\r\nb3\r\nb4\r\n");
  SendMessageA(ListingPanel, SCI_GOTOLINE, 2, 0);
  SendMessageA(ListingPanel, SCI_MARKERDELETEALL, WPARAM(-1), 0);
  Command(KeyDoubleClick, Handle(ListingPanel));
  EXPECT_EQ(SaveName, Path("a.zobas"));
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_EQ(MarkedListingLine(), 2);
  EXPECT_EQ(GetFocus(), CurrentEditor);
}

// A query's answer in the OutputBox is gone through as the panel's listings are: F6 and
// Shift+F6 step through its lines of the current document, a double-click goes to the line at
// the box's caret, and Shift+F12 comes back.
TEST_F(Commands, F6AndADoubleClickGoThroughAQuerysAnswerInTheOutputBox) {
  SetText("a1\r\na2\r\na3\r\na4\r\n");
  const std::string answer = "x is used on 2 lines\r\nline 2: a2\r\nline 4: a4\r\n";
  SetControlText(FinderBoxes[OutputBox], answer);
  OutputShown = 1;
  ListingShown = 0;
  struct Step { bool back; int line; };
  for (const Step step : {Step{false, 2}, {false, 4}, {false, 2}, {true, 4}}) {
    HeldKeys keys(step.back ? std::initializer_list<BYTE>{VK_SHIFT} : std::initializer_list<BYTE>{});
    Command(KeyF6);
    EXPECT_EQ(CaretLine(), step.line);
  }
  const WPARAM at = answer.find("a2");
  SendMessageA(FinderBoxes[OutputBox], EM_SETSEL, at, LPARAM(at));
  Command(KeyDoubleClick, Handle(FinderBoxes[OutputBox]));
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_EQ(GetFocus(), CurrentEditor);
  {
    HeldKeys shift({VK_SHIFT});
    Command(KeyF12);
  }
  EXPECT_EQ(CaretLine(), 4);
  EXPECT_EQ(GetControlText(FinderBoxes[OutputBox]), answer);
}

TEST_F(Commands, BookmarksStayWithTheirFileAndAreListedAsPlaces) {
  if (!Editor || !ListingPanel) GTEST_SKIP() << "no SciLexer.dll";
  Spill(Path("a.zobas"), "a1\r\na2\r\na3\r\n");
  Spill(Path("b.zobas"), "b1\r\nb2\r\n");
  ASSERT_TRUE(OpenListedFile(Path("a.zobas")));
  auto ctrl = [&](int id, std::initializer_list<BYTE> keys) {
    HeldKeys held(keys);
    Command(id);
  };
  for (int line : {1, 2}) {
    SendMessageA(Editor, SCI_GOTOLINE, line, 0);
    ctrl(KeyCtrlM, {VK_CONTROL});
  }
  EXPECT_EQ(BookmarkLines(), (std::vector<int>{2, 3}));
  ctrl(KeyCtrlPeriod, {VK_CONTROL});  // from the last mark round to the first
  EXPECT_EQ(CaretLine(), 2);
  ctrl(KeyCtrlComma, {VK_CONTROL});
  EXPECT_EQ(CaretLine(), 3);

  ASSERT_TRUE(OpenListedFile(Path("b.zobas")));
  EXPECT_TRUE(BookmarkLines().empty());
  ctrl(KeyCtrlM, {VK_CONTROL});  // b's first line
  ASSERT_TRUE(OpenListedFile(Path("a.zobas")));
  EXPECT_EQ(BookmarkLines(), (std::vector<int>{2, 3}));

  const std::string workDir = WorkDir;
  WorkDir = folder_;  // the files of the working folder are listed by their names there
  ctrl(KeyCtrlM, {VK_CONTROL, VK_SHIFT});
  WorkDir = workDir;
  EXPECT_EQ(ListingShown, 1);
  EXPECT_EQ(GetControlText(ListingPanel), "a.zobas(2): a2\r\na.zobas(3): a3\r\nb.zobas(1): b1\r\n");
  Command(KeyF6);
  Command(KeyF6);
  Command(KeyF6);
  EXPECT_EQ(SaveName, Path("b.zobas"));
  EXPECT_EQ(CaretLine(), 1);

  // The marks move with their lines.
  ASSERT_TRUE(OpenListedFile(Path("a.zobas")));
  ReplaceRange(Editor, 0, 0, "new\r\n");
  EXPECT_EQ(BookmarkLines(), (std::vector<int>{3, 4}));
}

TEST_F(Commands, AnUntitledDocumentsBookmarksAreListedByTheirLines) {
  if (!Editor || !ListingPanel) GTEST_SKIP() << "no SciLexer.dll";
  SetControlText(Editor, "u1\r\n  u2\r\nu3\r\n");
  auto ctrl = [&](int id, std::initializer_list<BYTE> keys) {
    HeldKeys held(keys);
    Command(id);
  };
  for (int line : {2, 1}) {
    SendMessageA(Editor, SCI_GOTOLINE, line, 0);
    ctrl(KeyCtrlM, {VK_CONTROL});
  }
  ctrl(KeyCtrlM, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(GetControlText(ListingPanel), "2: u2\r\n3: u3\r\n");
  SendMessageA(Editor, SCI_GOTOLINE, 0, 0);
  Command(KeyF6);
  EXPECT_EQ(CaretLine(), 2);
  Command(KeyF6);
  EXPECT_EQ(CaretLine(), 3);
  EXPECT_EQ(SaveName, "");
}

// Completion and F12 read a document's includes as the compile tool and the check do: a name in
// the "$" form from the program's folder, an untitled document from the program's folder too
// (where F5 writes it as _.zobas), and the fields of a record through an array element.
TEST_F(Commands, IncludesAreFoundFromADollarNameAndFromAnUntitledDocument) {
  if (!Editor) GTEST_SKIP() << "no SciLexer.dll";
  const std::string savedProgramDir = ProgramDir;
  ProgramDir = folder_;
  CreateDirectoryA(Path("sub").c_str(), nullptr);
  Spill(Path("sub\\lib.inc"), "dim fromLib as int\r\ntype pt\r\n  x as int\r\nend type\r\n");
  Spill(Path("lib.inc"), "dim fromTop as int\r\n");
  struct Case { std::string current, name, file; };
  const Case cases[] = {
      {"$\\sub\\main.zobas", "fromLib", Path("sub\\lib.inc")},
      {Path("sub\\main.zobas"), "fromLib", Path("sub\\lib.inc")},
      {"", "fromTop", Path("lib.inc")},
  };
  for (const Case& c : cases) {
    CurrentFile = SaveName = c.current;
    SetText("#include \"lib.inc\"\r\ndim pts(3) as pt\r\n" + c.name.substr(0, 5));
    const DefinitionPlace place = FindDefinition(c.name, {}, 2);
    EXPECT_EQ(place.kind, DefinitionPlace::Kind::Declared) << c.current;
    EXPECT_EQ(place.file, c.file) << c.current;
    SendMessageA(Editor, SCI_GOTOPOS, SendMessageA(Editor, SCI_GETLENGTH, 0, 0), 0);
    ShowCompletion();  // a single name is put in at once
    EXPECT_EQ(GetControlText(Editor), "#include \"lib.inc\"\r\ndim pts(3) as pt\r\n" + c.name) << c.current;
  }
  // F12 on x in pts(1).x goes to the field of the record the array holds.
  CurrentFile = SaveName = "$\\sub\\main.zobas";
  SetText("#include \"lib.inc\"\r\ndim pts(3) as pt, x as float\r\npts(1).x = 2\r\n");
  const DefinitionPlace field = FindDefinition("x", {"pts"}, 2);
  EXPECT_EQ(field.what, "field x");
  EXPECT_EQ(field.file, Path("sub\\lib.inc"));
  EXPECT_EQ(field.line, 2);
  CurrentFile = SaveName = "";
  ProgramDir = savedProgramDir;
  DeleteFileA(Path("sub\\lib.inc").c_str());
  DeleteFileA(Path("lib.inc").c_str());
  RemoveDirectoryA(Path("sub").c_str());
}

namespace {
// The file routines the name finder calls, counted per file, and a clock the test moves on.
std::map<std::string, int> Opened, StampsAsked;
DWORD Clock = 0;
decltype(&::CreateFileA) RealCreateFile = nullptr;
decltype(&::GetFileAttributesExA) RealAttributes = nullptr;
HANDLE WINAPI CountingCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
                                 DWORD flags, HANDLE from) {
  ++Opened[FileNameKey(name)];
  return RealCreateFile(name, access, share, security, how, flags, from);
}
BOOL WINAPI CountingAttributes(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
  ++StampsAsked[FileNameKey(name)];
  return RealAttributes(name, level, data);
}
DWORD WINAPI TestClock() { return Clock; }
}  // namespace

// Includes that loop back through ".." from two folders: each file is opened once per
// gathering, keys typed meanwhile open none and ask no time stamp, and the stamps are asked
// at most once a second, after which a changed file is read again.
TEST_F(Commands, GatheringTheNamesOfLoopingIncludesOpensEachFileOnceAndAsksStampsOnceASecond) {
  if (!Editor) GTEST_SKIP() << "no SciLexer.dll";
  for (const char* sub : {"lib0", "lib1"}) CreateDirectoryA(Path(sub).c_str(), nullptr);
  Spill(Path("defs.inc"), "#include \"lib0/x.inc\"\r\n#include \"lib1/x.inc\"\r\n");
  Spill(Path("lib0\\x.inc"), "#include \"../defs.inc\"\r\n#include \"..\\lib1\\x.inc\"\r\nsub walk0\r\nend sub\r\n");
  Spill(Path("lib1\\x.inc"), "#include \"../DEFS.inc\"\r\n#include \"../lib0/./x.inc\"\r\nsub walk1\r\nend sub\r\n");
  CurrentFile = SaveName = Path("main.zobas");
  SetText("#include \"defs.inc\"\r\n");
  RealCreateFile = Api.CreateFileA;
  RealAttributes = Api.GetFileAttributesExA;
  const auto realClock = Api.GetTickCount;
  Api.CreateFileA = CountingCreateFile;
  Api.GetFileAttributesExA = CountingAttributes;
  Api.GetTickCount = TestClock;
  Opened.clear();
  StampsAsked.clear();
  Clock = 100000;
  const std::map<std::string, int> once = {
      {FileNameKey(Path("defs.inc")), 1}, {FileNameKey(Path("lib0\\x.inc")), 1}, {FileNameKey(Path("lib1\\x.inc")), 1}};
  EXPECT_EQ(FindDefinition("walk1", {}, 0).file, Path("lib1\\x.inc"));
  EXPECT_EQ(Opened, once);
  EXPECT_TRUE(StampsAsked.empty());
  for (int key = 0; key < 20; ++key, Clock += 40) FindDefinition("walk0", {}, 0);  // keys within a second
  EXPECT_EQ(Opened, once);
  EXPECT_TRUE(StampsAsked.empty());
  Clock += 1000;
  FindDefinition("walk0", {}, 0);
  EXPECT_EQ(StampsAsked, once);  // a second on: each stamp once, nothing read
  EXPECT_EQ(Opened, once);
  Spill(Path("lib0\\x.inc"), "#include \"../defs.inc\"\r\nsub walk2\r\nend sub\r\n");
  Clock += 1000;
  EXPECT_EQ(FindDefinition("walk2", {}, 0).file, Path("lib0\\x.inc"));  // read again, each file once more
  for (const auto& [file, count] : Opened) EXPECT_EQ(count, 2) << file;
  Api.CreateFileA = RealCreateFile;
  Api.GetFileAttributesExA = RealAttributes;
  Api.GetTickCount = realClock;
  CurrentFile = SaveName = "";
  for (const char* name : {"defs.inc", "lib0\\x.inc", "lib1\\x.inc"}) DeleteFileA(Path(name).c_str());
  for (const char* sub : {"lib0", "lib1"}) RemoveDirectoryA(Path(sub).c_str());
}
