// The document commands with real controls, real files and real dialogs answered by the test.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <vector>
#include "DialogAnswer.h"
#include "EditingComponent.h"
#include "ScratchFolder.h"
#include "base/Files.h"
#include "base/FileText.h"
#include "base/TextScan.h"
#include "commands/CommandState.h"
#include "documents/DocumentState.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"
#include "documents/Encoding_win.h"
#include "documents/Project.h"
#include "documents/Titles.h"
#include "base/StatusBar_win.h"
#include "editor/CodePage_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/Marks_win.h"
#include "shell/ShellState.h"

namespace {

HWND Child(const char* className, DWORD style, int top) {
  return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, top, 500, 150, MainWindow, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}
}  // namespace

// A hidden main window with the editor (the real Scintilla where it is built, else an edit
// box) and the ProjectBox, and a fresh folder, which is also ProgramDir, for each test's files.
class Documents : public testing::Test {
 protected:
  static void SetUpTestSuite() { EditingComponent(); }

  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, startDir_);
    folder_ = std::make_unique<ScratchFolder>();
    MainWindow = CreateWindowExA(0, "STATIC", "start", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    CurrentEditor = EditingComponent() ? Child("Scintilla", 0, 0) : Child("EDIT", ES_MULTILINE, 0);
    Editor = EditingComponent() ? CurrentEditor : nullptr;
    FinderBoxes[ProjectBox] = Child("EDIT", ES_MULTILINE, 200);
    CurrentFile = SaveName = ProjectFile = ProjectText = WorkDir = "";
    DocumentOnDisk = {};
    ProjectUnreadable = false;
    ProgramDir = folder_->Path();
  }

  void TearDown() override {
    DestroyWindow(MainWindow);
    MainWindow = Editor = CurrentEditor = FinderBoxes[ProjectBox] = nullptr;
    MenuBar = nullptr;  // destroyed with the window
    SetCurrentDirectoryA(startDir_);
    folder_.reset();
  }

  std::string Path(const std::string& name) const { return folder_->File(name); }
  std::string Text() const { return GetControlText(CurrentEditor); }
  void SetText(const std::string& text) { SetControlText(CurrentEditor, text); }
  void Type(char c) { SendMessageA(CurrentEditor, WM_CHAR, static_cast<unsigned char>(c), 0); }
  std::string Title() const {
    char title[512] = {};
    GetWindowTextA(MainWindow, title, sizeof title);
    return title;
  }
  int CaretLine() const {
    DWORD start = 0;
    SendMessageA(CurrentEditor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(SendMessageA(CurrentEditor, EM_LINEFROMCHAR, start, 0)) + 1;
  }
  // An untitled, empty document, whatever the last one was.
  void Untitled() {
    SetText("");
    CurrentFile = SaveName = "";
    NoteDocumentFile("", "");
  }
  // Names the document after path holding text, as Open does.
  void OpenWith(const std::string& path, const std::string& text) {
    Spill(path, text);
    DialogAnswer answer({ChooseFile(path)});
    ASSERT_EQ(OpenDocument(), Outcome::Go);
    ASSERT_TRUE(answer.Complete());
  }

  char startDir_[MAX_PATH] = {};
  std::unique_ptr<ScratchFolder> folder_;
};

namespace {
// Writes text into path as another program would, with a time stamp some seconds later, so
// that no clock's resolution can hide the write.
void WriteAsAnotherProgram(const std::string& path, const std::string& text) {
  Spill(path, text);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  FILETIME time{};
  GetFileTime(file, nullptr, nullptr, &time);
  ULARGE_INTEGER later{};
  later.LowPart = time.dwLowDateTime;
  later.HighPart = time.dwHighDateTime;
  later.QuadPart += 50000000ull;  // five seconds
  time.dwLowDateTime = later.LowPart;
  time.dwHighDateTime = later.HighPart;
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}
}  // namespace

TEST_F(Documents, NewOnAnUntitledEmptyEditorAsksNothing) {
  DialogAnswer answer({});
  EXPECT_EQ(NewDocument(), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Title(), "New Code");
}

TEST_F(Documents, NewAfterAnUneditedOpenAsksNothing) {
  OpenWith(Path("a.zobas"), "print 1\r\n");
  EXPECT_EQ(Title(), "Loaded " + ShortTitle(Path("a.zobas")));
  EXPECT_EQ(Text(), "print 1\r\n");
  DialogAnswer answer({});
  EXPECT_EQ(NewDocument(), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(CurrentFile, "");
  EXPECT_EQ(SaveName, "");
}

TEST_F(Documents, EachAnswerToTheNewPromptDoesWhatItSays) {
  struct Case { int button; Outcome result; const char* fileAfter; const char* editorAfter; const char* nameAfter; };
  for (Case c : {Case{IDYES, Outcome::Go, "xprint 1\r\n", "", ""}, Case{IDNO, Outcome::Go, "print 1\r\n", "", ""},
                 Case{IDCANCEL, Outcome::Stop, "print 1\r\n", "xprint 1\r\n", "a.zobas"}}) {
    OpenWith(Path("a.zobas"), "print 1\r\n");
    Type('x');
    DialogAnswer answer({Press(c.button)});
    EXPECT_EQ(NewDocument(), c.result) << c.button;
    EXPECT_EQ(answer.At(0).text, "Save " + Path("a.zobas"));
    EXPECT_EQ(answer.At(0).title, "Creating New File");
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(Slurp(Path("a.zobas")), c.fileAfter) << c.button;
    EXPECT_EQ(Text(), c.editorAfter) << c.button;
    EXPECT_EQ(SaveName, *c.nameAfter ? Path(c.nameAfter) : "") << c.button;
    EXPECT_EQ(Title(), c.button == IDCANCEL ? "Loaded " + ShortTitle(Path("a.zobas")) : "New Code");
  }
}

TEST_F(Documents, UntitledPromptProposesScratchNameAndStaysUntitled) {
  SetText("print 2\r\n");
  DialogAnswer answer({Press(IDYES), ChooseFile(Path("kept.zobas"))});
  EXPECT_EQ(SaveIfChanged(SaveName, Text(), "Loading Another File"), SaveAnswer::Yes);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(0).text, "Save <current script>");
  EXPECT_EQ(answer.At(0).title, "Loading Another File");
  EXPECT_EQ(answer.At(1).title, "Save File as");
  EXPECT_EQ(answer.At(1).fileName, "_.zobas");
  EXPECT_EQ(Slurp(Path("kept.zobas")), "print 2\r\n");
  EXPECT_EQ(CurrentFile, "");
  EXPECT_EQ(SaveName, "");
}

TEST_F(Documents, CancelledSaveDialogAfterYesKeepsTheText) {
  SetText("precious\r\n");
  DialogAnswer answer({Press(IDYES), CancelDialog()});
  EXPECT_EQ(NewDocument(), Outcome::Stop);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(Text(), "precious\r\n");
  EXPECT_EQ(Title(), "start");
}

TEST_F(Documents, SavingIntoAReadOnlyFileReportsAndKeepsBoth) {
  OpenWith(Path("ro.zobas"), "old\r\n");
  SetFileAttributesA(Path("ro.zobas").c_str(), FILE_ATTRIBUTE_READONLY);
  SetText("new\r\n");
  {
    DialogAnswer answer({Press(IDOK)});
    SaveDocument(0);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "zor");
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write " + WrapLongLine(Path("ro.zobas"), 64) + "\r\n", 0), 0u)
        << answer.At(0).text;
    EXPECT_GT(answer.At(0).text.size(), ("Cannot write " + WrapLongLine(Path("ro.zobas"), 64) + "\r\n").size());
  }
  EXPECT_EQ(Title(), "Loaded " + ShortTitle(Path("ro.zobas")));
  {
    DialogAnswer answer({Press(IDYES), Press(IDOK)});
    EXPECT_EQ(NewDocument(), Outcome::Stop);  // a failed save in the prompt stops New
    EXPECT_TRUE(answer.Complete());
  }
  EXPECT_EQ(Text(), "new\r\n");
  EXPECT_EQ(Slurp(Path("ro.zobas")), "old\r\n");
  EXPECT_EQ(folder_->Files(), std::vector<std::string>{"ro.zobas"});
}

TEST_F(Documents, SaveAddsTheExtensionOnlyWhenThePathHasNoDot) {
  CreateDirectoryA(Path("my.src").c_str(), nullptr);
  struct Case { std::string typed; std::string written; };
  for (const Case& c : {Case{Path("prog"), Path("prog.zobas")}, Case{Path("my.src\\prog"), Path("my.src\\prog")}}) {
    CurrentFile = SaveName = "";
    SetText("x = 1\r\n");
    DialogAnswer answer({ChooseFile(c.typed)});
    SaveDocument(0);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).fileName, "") << c.typed;
    EXPECT_EQ(Slurp(c.written), "x = 1\r\n") << c.typed;
    EXPECT_EQ(SaveName, c.written);
    EXPECT_EQ(CurrentFile, c.written);
    EXPECT_EQ(Title(), "Saved " + ShortTitle(c.written));
  }
  DeleteFileA(Path("my.src\\prog").c_str());
}

TEST_F(Documents, AddedExtensionNamingAnExistingFileAsksBeforeReplacingIt) {
  Spill(Path("prog.zobas"), "old\r\n");
  SetText("new\r\n");
  {
    DialogAnswer answer({ChooseFile(Path("prog")), Press(IDNO)});
    SaveDocument(0);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(1).title, "Save File as");
    EXPECT_EQ(answer.At(1).text, Path("prog.zobas") + " already exists.\r\nDo you want to replace it?");
  }
  EXPECT_EQ(Slurp(Path("prog.zobas")), "old\r\n");
  EXPECT_EQ(SaveName, "");
  {
    DialogAnswer answer({ChooseFile(Path("prog")), Press(IDYES)});
    SaveDocument(0);
    EXPECT_TRUE(answer.Complete());
  }
  EXPECT_EQ(Slurp(Path("prog.zobas")), "new\r\n");
  EXPECT_EQ(SaveName, Path("prog.zobas"));
}

namespace {
// Keeps every dialog of this thread from being created, as when the system cannot show one.
LRESULT CALLBACK RefuseDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (create->lpcs->lpszClass == MAKEINTATOM(32770)) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(Documents, APromptThatCannotBeShownKeepsTheText) {
  OpenWith(Path("kept.zobas"), "kept\r\n");
  Type('x');
  HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseDialogs, nullptr, GetCurrentThreadId());
  Outcome result = NewDocument();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(result, Outcome::Stop);
  EXPECT_EQ(Text(), "xkept\r\n");
  EXPECT_EQ(SaveName, Path("kept.zobas"));
}

TEST_F(Documents, AFileTooLargeToEditIsReportedAndTheDocumentStays) {
  OpenWith(Path("small.zobas"), "small\r\n");
  // A sparse file of 3 GB: larger than this process can hold, yet quick to make.
  std::string big = Path("big.zobas");
  HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 3LL << 30;
  SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  {
    DialogAnswer answer({ChooseFile(big), Press(IDOK)});
    EXPECT_EQ(OpenDocument(), Outcome::Go);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(1).title, "zor");
    EXPECT_EQ(answer.At(1).text, "Cannot load " + big + ": the file is too large to edit.");
  }
  EXPECT_EQ(Text(), "small\r\n");
  EXPECT_EQ(SaveName, Path("small.zobas"));
  EXPECT_EQ(CurrentFile, Path("small.zobas"));
  EXPECT_EQ(ReadTextFile(big), "");
  DeleteFileA(big.c_str());
}

TEST_F(Documents, SaveAsLeavesTheOldFileUntouched) {
  OpenWith(Path("old.zobas"), "one\r\n");
  SetText("two\r\n");
  DialogAnswer answer({ChooseFile(Path("new.zobas"))});
  SaveDocument(1);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(0).fileName, "old.zobas");  // the folder goes to the folder list
  EXPECT_EQ(Slurp(Path("old.zobas")), "one\r\n");
  EXPECT_EQ(Slurp(Path("new.zobas")), "two\r\n");
  EXPECT_EQ(SaveName, Path("new.zobas"));
  EXPECT_EQ(CurrentFile, Path("new.zobas"));
}

TEST_F(Documents, SaveWritesANamedDocumentWithoutAsking) {
  OpenWith(Path("a.zobas"), "one\r\n");
  Type('x');
  DialogAnswer answer({});
  SaveDocument(0);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Slurp(Path("a.zobas")), "xone\r\n");
  EXPECT_EQ(Title(), "Saved " + ShortTitle(Path("a.zobas")));
}

TEST_F(Documents, FileWithANulByteSavesBackByteForByte) {
  if (!Editor) GTEST_SKIP() << "lib/SciLexer.dll is not built";
  const std::string bytes("a\0b\r\n\xff\x80z\r\n\r\n", 11);
  Spill(Path("zero.bas"), bytes);
  DialogAnswer answer({});
  EXPECT_EQ(OpenDroppedFile(Path("zero.bas")), Outcome::Go);
  EXPECT_EQ(Text(), bytes);
  EXPECT_EQ(SaveIfChanged(SaveName, Text(), "Creating New File"), SaveAnswer::Unchanged);  // text equals file: no prompt
  SaveDocument(0);
  EXPECT_EQ(Slurp(Path("zero.bas")), bytes);
  EXPECT_EQ(answer.Count(), 0u);
}

TEST_F(Documents, VanishedFileOpensAsAnEmptyEditor) {
  SetText("before");
  DialogAnswer answer({Press(IDNO)});
  EXPECT_EQ(OpenDroppedFile(Path("gone.zobas")), Outcome::Go);
  EXPECT_EQ(answer.At(0).title, "Switching To Another File");
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(CurrentFile, Path("gone.zobas"));
  EXPECT_EQ(WorkDir, folder_->Path());
  EXPECT_EQ(Title(), "Loaded " + ShortTitle(Path("gone.zobas")));
}

TEST_F(Documents, CancelledOpenKeepsTheDocumentAndSaysLoaded) {
  OpenWith(Path("a.zobas"), "one\r\n");
  DialogAnswer answer({CancelDialog()});
  EXPECT_EQ(OpenDocument(), Outcome::Go);  // only a cancelled prompt stops a command
  EXPECT_EQ(answer.At(0).title, "Load File");
  EXPECT_EQ(answer.At(0).fileName, "a.zobas");
  EXPECT_EQ(Text(), "one\r\n");
  EXPECT_EQ(CurrentFile, Path("a.zobas"));
  EXPECT_EQ(Title(), "Loaded ");
}

TEST_F(Documents, ScratchSourceIsWrittenSilentlyAndTheDocumentStaysUntitled) {
  SetText("print 3\r\n");
  DialogAnswer answer({});
  EXPECT_EQ(PrepareScratchSource(), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(CurrentFile, Path("_.zobas"));
  EXPECT_EQ(SaveName, "");
  EXPECT_EQ(Slurp(Path("_.zobas")), "print 3\r\n");
}

TEST_F(Documents, SwitchingToAListedFileKeepsItsCaseAndGoesToItsLine) {
  std::string lines;
  for (int i = 1; i <= 120; ++i) lines += "line " + std::to_string(i) + "\r\n";
  Spill(Path("Main.ZOBAS"), lines);
  Spill(Path("other.bas"), "other\r\n");
  std::string list = "$project\r\n$files\r\n<[other.bas]>\t00001  [" + Path("other.bas") + "]\r\n<[Main.ZOBAS]>\t000042 [" +
                     Path("Main.ZOBAS") + "]\r\n";
  ProjectFile = Path("p.zoproj");
  SetControlText(FinderBoxes[ProjectBox], list);

  DialogAnswer answer({});
  SwitchToListedFile("<[MAIN.zobas]>", false);
  EXPECT_EQ(CurrentFile, Path("Main.ZOBAS"));
  EXPECT_EQ(SaveName, Path("Main.ZOBAS"));
  EXPECT_EQ(Text(), lines);
  EXPECT_EQ(Title(), "Switched to " + Path("Main.ZOBAS"));
  EXPECT_EQ(CaretLine(), 42);

  int inLabel = static_cast<int>(list.find("other.bas]>")) + 2;
  SendMessageA(FinderBoxes[ProjectBox], EM_SETSEL, inLabel, inLabel);
  SwitchToListedFile("", true);
  EXPECT_EQ(CurrentFile, Path("other.bas"));
  EXPECT_EQ(Text(), "other\r\n");
  EXPECT_EQ(answer.Count(), 0u);

  SwitchToListedFile("<[missing.bas]>", false);
  EXPECT_EQ(CurrentFile, Path("other.bas"));
}

TEST_F(Documents, SwitchAsksAboutAnEditedDocumentAndCancelStays) {
  Spill(Path("b.bas"), "b\r\n");
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[b.bas]>\t00001  [" + Path("b.bas") + "]\r\n");
  SetText("draft");
  DialogAnswer answer({Press(IDCANCEL)});
  SwitchToListedFile("<[b.bas]>", false);
  EXPECT_EQ(answer.At(0).title, "Switching to Another File");
  EXPECT_EQ(answer.At(0).text, "Save <current script>");
  EXPECT_EQ(Text(), "draft");
  EXPECT_EQ(CurrentFile, "");
}

TEST_F(Documents, SavingAListedFileRecordsItsCaretLineInTheProject) {
  std::string lines;
  for (int i = 1; i <= 60; ++i) lines += "line\r\n";
  OpenWith(Path("a.bas"), lines);
  ProjectFile = Path("p.zoproj");
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[a.bas]>\t00001  [" + LowerText(Path("a.bas")) + "]\r\n");
  GoToLine(CurrentEditor, 42);
  DialogAnswer answer({});
  SaveDocument(0);
  EXPECT_EQ(answer.Count(), 0u);
  std::string expected = "$files\r\n<[a.bas]>\t000042 [" + LowerText(Path("a.bas")) + "]\r\n";
  EXPECT_EQ(GetControlText(FinderBoxes[ProjectBox]), expected);
  EXPECT_EQ(Slurp(Path("p.zoproj")), expected);
}

TEST_F(Documents, PromptsAndFileDialogsKeepTheMainWindowFromTakingInput) {
  OpenWith(Path("a.zobas"), "one\r\n");
  Type('x');
  DialogAnswer answer({Press(IDNO), CancelDialog()});
  OpenDocument();
  ASSERT_TRUE(answer.Complete());
  EXPECT_FALSE(answer.At(0).mainWindowEnabled) << answer.At(0).title;
  EXPECT_FALSE(answer.At(1).mainWindowEnabled) << answer.At(1).title;
  EXPECT_TRUE(IsWindowEnabled(MainWindow));
}

TEST_F(Documents, APromptWritesTheFileItNamesWhateverChangesUnderIt) {
  OpenWith(Path("first.zobas"), "first\r\n");
  Type('x');
  DialogReply yes = Press(IDYES);
  yes.meanwhile = [this] { SaveName = Path("second.zobas"); };  // another document named meanwhile
  DialogAnswer answer({yes});
  EXPECT_EQ(SaveIfChanged(SaveName, Text(), "Closing Zorvexide"), SaveAnswer::Yes);
  EXPECT_EQ(answer.At(0).text, "Save " + Path("first.zobas"));
  EXPECT_EQ(Slurp(Path("first.zobas")), "xfirst\r\n");
  EXPECT_EQ(GetFileAttributesA(Path("second.zobas").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Documents, UndoNeverBringsBackTheTextFromBeforeALoad) {
  OpenWith(Path("old.zobas"), "old text\r\n");
  Type('x');
  Spill(Path("new.zobas"), "new text\r\n");
  {
    DialogAnswer answer({Press(IDNO), ChooseFile(Path("new.zobas"))});
    ASSERT_EQ(OpenDocument(), Outcome::Go);
  }
  EditorUndo();
  EXPECT_EQ(Text(), "new text\r\n");
  EXPECT_EQ(SaveName, Path("new.zobas"));
  Type('y');
  {
    DialogAnswer answer({Press(IDNO)});
    ASSERT_EQ(NewDocument(), Outcome::Go);
  }
  EditorUndo();
  EXPECT_EQ(Text(), "");
}

TEST_F(Documents, APlainEditorRefusesAFileWithNulBytes) {
  CurrentEditor = Child("EDIT", ES_MULTILINE, 0);
  Editor = nullptr;
  OpenWith(Path("a.zobas"), "kept\r\n");
  Spill(Path("zero.bas"), std::string("a\0b\r\n", 5));
  DialogAnswer answer({ChooseFile(Path("zero.bas")), Press(IDOK)});
  OpenDocument();
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(1).title, "zor");
  EXPECT_EQ(answer.At(1).text, NulBytesText(Path("zero.bas")));
  EXPECT_EQ(Text(), "kept\r\n");
  EXPECT_EQ(SaveName, Path("a.zobas"));
  EXPECT_EQ(Slurp(Path("zero.bas")), std::string("a\0b\r\n", 5));
}

TEST_F(Documents, OpeningAnotherProjectWritesTheListOfTheFirstBackFirst) {
  Spill(Path("a.zoproj"), "$files\r\n");
  Spill(Path("b.zoproj"), "$files\r\n<[b.bas]>\t00001  [b.bas]\r\n");
  ASSERT_TRUE(OpenProjectFile(Path("a.zoproj")));
  SetControlText(FinderBoxes[ProjectBox], "$files\r\nedited by hand\r\n");
  ASSERT_TRUE(OpenProjectFile(Path("b.zoproj")));
  EXPECT_EQ(Slurp(Path("a.zoproj")), "$files\r\nedited by hand\r\n");
  EXPECT_EQ(GetControlText(FinderBoxes[ProjectBox]), "$files\r\n<[b.bas]>\t00001  [b.bas]\r\n");
  EXPECT_EQ(ProjectFile, Path("b.zoproj"));
}

TEST_F(Documents, AProjectWithANulByteIsReportedAndNeverWrittenBack) {
  const char stored[] = "$project\r\n$files\r\n\0<[a.bas]>\t00001  [a.bas]\r\n$main [a.bas]\r\n";
  const std::string bytes(stored, sizeof stored - 1);
  Spill(Path("zero.zoproj"), bytes);
  {
    DialogAnswer answer({Press(IDOK)});
    ASSERT_TRUE(OpenProjectFile(Path("zero.zoproj")));
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "zor");
  }
  EXPECT_TRUE(SaveProjectBox(ProjectFile));
  EXPECT_EQ(Slurp(Path("zero.zoproj")), bytes);
}

TEST_F(Documents, TheProjectListIsWrittenOnlyWhenItDiffersFromItsFile) {
  ProjectFile = Path("missing.zoproj");
  SetControlText(FinderBoxes[ProjectBox], "");
  EXPECT_TRUE(SaveProjectBox(ProjectFile));
  EXPECT_EQ(GetFileAttributesA(Path("missing.zoproj").c_str()), INVALID_FILE_ATTRIBUTES);
  Spill(Path("ro.zoproj"), "$files\r\n");
  SetFileAttributesA(Path("ro.zoproj").c_str(), FILE_ATTRIBUTE_READONLY);
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n");
  EXPECT_TRUE(SaveProjectBox(Path("ro.zoproj")));  // same text: nothing to write
  SetControlText(FinderBoxes[ProjectBox], "$files\r\nmore\r\n");
  DialogAnswer answer({Press(IDOK)});
  EXPECT_FALSE(SaveProjectBox(Path("ro.zoproj")));  // a failed write is reported
  EXPECT_EQ(answer.At(0).title, "zor");
}

TEST_F(Documents, ARememberedLineZeroIsTheTopOfTheFile) {
  std::string lines;
  for (int i = 1; i <= 80; ++i) lines += "line\r\n";
  Spill(Path("z.bas"), lines);
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[z.bas]>\t000000 [" + Path("z.bas") + "]\r\n");
  OpenWith(Path("z.bas"), lines);
  GoToLine(CurrentEditor, 60);
  SetFocus(FinderBoxes[ProjectBox]);
  DialogAnswer answer({});
  SwitchToListedFile("<[z.bas]>", false);
  EXPECT_EQ(CaretLine(), 1);
  EXPECT_EQ(GetFocus(), CurrentEditor);
}

TEST_F(Documents, AFileThatExistsButCannotBeReadIsReportedAndNothingChanges) {
  OpenWith(Path("a.zobas"), "kept\r\n");
  Spill(Path("held.zobas"), "held\r\n");
  Spill(Path("held.zoproj"), "$files\r\n");
  // Another program holds both files open and lets nobody else read them.
  HANDLE held[] = {CreateFileA(Path("held.zobas").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                   CreateFileA(Path("held.zoproj").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
  SetControlText(FinderBoxes[ProjectBox], "$files\r\n<[held.zobas]>\t00001  [" + Path("held.zobas") + "]\r\n");
  const std::string report = "Cannot read " + Path("held.zobas") + ": ";
  DialogAnswer answer({Press(IDOK), ChooseFile(Path("held.zobas")), Press(IDOK), Press(IDOK), Press(IDOK)});
  EXPECT_EQ(OpenDroppedFile(Path("held.zobas")), Outcome::Stop);
  EXPECT_EQ(OpenDocument(), Outcome::Go);
  SwitchToListedFile("<[held.zobas]>", false);
  EXPECT_FALSE(OpenProjectFile(Path("held.zoproj")));
  EXPECT_TRUE(answer.Complete());
  for (size_t i : {0, 2, 3}) {
    EXPECT_EQ(answer.At(i).title, "zor");
    EXPECT_EQ(answer.At(i).text.rfind(report, 0), 0u) << answer.At(i).text;
    EXPECT_GT(answer.At(i).text.size(), report.size());  // the system's reason follows
  }
  EXPECT_EQ(answer.At(4).text.rfind("Cannot read " + Path("held.zoproj") + ": ", 0), 0u) << answer.At(4).text;
  EXPECT_EQ(Text(), "kept\r\n");
  EXPECT_EQ(CurrentFile, Path("a.zobas"));
  EXPECT_EQ(SaveName, Path("a.zobas"));
  EXPECT_EQ(Title(), "Loaded " + ShortTitle(Path("a.zobas")));
  EXPECT_EQ(ProjectFile, "");
  for (HANDLE file : held) CloseHandle(file);
  EXPECT_EQ(Slurp(Path("held.zoproj")), "$files\r\n");
}

TEST_F(Documents, ADeviceNameIsReportedAsNoFileInsteadOfReadForever) {
  OpenWith(Path("a.zobas"), "kept\r\n");
  DialogAnswer answer({Press(IDOK)});
  EXPECT_EQ(OpenDroppedFile("NUL"), Outcome::Stop);
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(answer.At(0).text, "Cannot read NUL: it is a device, not a file on a disk.");
  EXPECT_EQ(Text(), "kept\r\n");
  EXPECT_EQ(SaveName, Path("a.zobas"));
}

TEST_F(Documents, AProjectFileBesideADroppedFileKeepsItsText) {
  SetControlText(FinderBoxes[ProjectBox], "");
  Spill(Path("a.zoproj"), "notes of my own\r\n");
  EXPECT_TRUE(AddFileToProject(Path("a.bas")));
  EXPECT_TRUE(SaveProjectBox(ProjectFile));
  EXPECT_EQ(Slurp(Path("a.zoproj")), "notes of my own\r\n$files\r\n<[a.bas]>\t00001  [" + Path("a.bas") + "]\r\n");
  // One that the list cannot show whole is shown as far as it can, and never written over.
  const std::string zero("$project\r\n\0notes", 16);
  Spill(Path("b.zoproj"), zero);
  SetControlText(FinderBoxes[ProjectBox], "");
  DialogAnswer answer({Press(IDOK)});
  EXPECT_FALSE(AddFileToProject(Path("b.bas")));
  EXPECT_TRUE(answer.Complete());
  EXPECT_EQ(ProjectFile, Path("b.zoproj"));
  EXPECT_TRUE(SaveProjectBox(ProjectFile));
  EXPECT_EQ(Slurp(Path("b.zoproj")), zero);
}

TEST_F(Documents, AFileChangedOutsideWithNoEditsHereIsReadAgainWithItsCaretAndBookmarks) {
  OpenWith(Path("a.zobas"), "one\r\ntwo\r\nthree\r\nfour\r\n");
  GoToLine(CurrentEditor, 3);
  if (Editor) ToggleBookmark(4);
  WriteAsAnotherProgram(Path("a.zobas"), "zero\r\none\r\ntwo\r\nthree\r\nfour\r\n");
  DialogAnswer answer({});
  EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);
  EXPECT_EQ(Text(), "zero\r\none\r\ntwo\r\nthree\r\nfour\r\n");
  EXPECT_EQ(CaretLine(), 4);  // still on "three"
  EXPECT_EQ(Editor ? BookmarkLines() : std::vector<int>{5}, std::vector<int>{5});
  // Another change, and leaving the document: nothing of the user's to save, nothing asked.
  WriteAsAnotherProgram(Path("a.zobas"), "theirs\r\n");
  EXPECT_EQ(NewDocument(), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Slurp(Path("a.zobas")), "theirs\r\n");
}

TEST_F(Documents, AFileChangedOutsideUnderEditsAsksAndEachAnswerDoesWhatItSays) {
  struct Case { DiskMoment moment; int answer; Outcome outcome; const char *editor, *file; };
  const Case cases[] = {
      {DiskMoment::Activated, IDYES, Outcome::Go, "theirs\r\n", "theirs\r\n"},
      {DiskMoment::Activated, IDNO, Outcome::Go, "xmine\r\n", "xmine\r\n"},
      {DiskMoment::Activated, IDCANCEL, Outcome::Stop, "xmine\r\n", "theirs\r\n"},
      {DiskMoment::BeforeRun, IDCANCEL, Outcome::Stop, "xmine\r\n", "theirs\r\n"},
      {DiskMoment::BeforeRun, IDYES, Outcome::Go, "theirs\r\n", "theirs\r\n"},
      {DiskMoment::BeforeSave, IDYES, Outcome::Stop, "theirs\r\n", "theirs\r\n"},
      {DiskMoment::BeforeLeaving, IDNO, Outcome::Go, "xmine\r\n", "xmine\r\n"},
      {DiskMoment::BeforeLeaving, IDCANCEL, Outcome::Stop, "xmine\r\n", "theirs\r\n"},
  };
  for (const Case& c : cases) {
    const int row = static_cast<int>(&c - cases);
    Untitled();
    OpenWith(Path("c.zobas"), "mine\r\n");
    Type('x');
    WriteAsAnotherProgram(Path("c.zobas"), "theirs\r\n");
    DialogAnswer answer({Press(c.answer)});
    EXPECT_EQ(NoticeOutsideChange(c.moment), c.outcome) << row;
    EXPECT_TRUE(answer.Complete()) << row;
    EXPECT_EQ(answer.At(0).title, "File Changed Outside") << row;
    EXPECT_EQ(answer.At(0).text.substr(0, Path("c.zobas").size() + 2), Path("c.zobas") + "\r\n") << row;
    EXPECT_EQ(Text(), c.editor) << row;
    EXPECT_EQ(Slurp(Path("c.zobas")), c.file) << row;
    if (c.answer != IDCANCEL) {  // settled: nothing is asked again
      DialogAnswer again({});
      EXPECT_EQ(NoticeOutsideChange(DiskMoment::BeforeRun), Outcome::Go) << row;
    }
  }
  // The reload is one Ctrl+Z away from the edits it dropped.
  if (Editor) {
    Untitled();
    OpenWith(Path("c.zobas"), "mine\r\n");
    Type('x');
    WriteAsAnotherProgram(Path("c.zobas"), "theirs\r\n");
    DialogAnswer answer({Press(IDYES)});
    NoticeOutsideChange(DiskMoment::Activated);
    EditorUndo();
    EXPECT_EQ(Text(), "xmine\r\n");
  }
}

TEST_F(Documents, LeftAsItIsOnActivationAFileChangedOutsideIsAskedAboutAgainBeforeF5WritesIt) {
  OpenWith(Path("e.zobas"), "mine\r\n");
  Type('x');
  WriteAsAnotherProgram(Path("e.zobas"), "theirs\r\n");
  {
    DialogAnswer answer({Press(IDCANCEL)});
    EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Stop);
  }
  {
    DialogAnswer answer({});
    EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);  // not at every activation
    EXPECT_EQ(answer.Count(), 0u);
  }
  DialogAnswer answer({Press(IDCANCEL)});
  EXPECT_EQ(PrepareScratchSource(), Outcome::Stop);  // what F5 and Ctrl+F5 do first
  EXPECT_EQ(answer.Count(), 1u);
  EXPECT_EQ(Slurp(Path("e.zobas")), "theirs\r\n");
}

TEST_F(Documents, AFileDeletedOutsideIsToldOnceAndWrittenAgainOnlyByCtrlS) {
  OpenWith(Path("d.zobas"), "text\r\n");
  ASSERT_TRUE(DeleteFileA(Path("d.zobas").c_str()));
  {
    DialogAnswer answer({Press(IDOK)});
    EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);
    ASSERT_EQ(answer.Count(), 1u);
    EXPECT_EQ(answer.At(0).title, "File Changed Outside");
    EXPECT_NE(answer.At(0).text.find("deleted"), std::string::npos);
  }
  DialogAnswer answer({});
  EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);
  EXPECT_EQ(PrepareScratchSource(), Outcome::Stop);
  EXPECT_EQ(GetFileAttributesA(Path("d.zobas").c_str()), INVALID_FILE_ATTRIBUTES);
  SaveDocument(0);
  EXPECT_EQ(Slurp(Path("d.zobas")), "text\r\n");
  EXPECT_EQ(PrepareScratchSource(), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Text(), "text\r\n");
}

TEST_F(Documents, AFileWrittenAgainWithItsOwnTextIsNoChange) {
  OpenWith(Path("t.zobas"), "same\r\n");
  Type('x');
  WriteAsAnotherProgram(Path("t.zobas"), "same\r\n");
  DialogAnswer answer({});
  EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);
  EXPECT_EQ(NoticeOutsideChange(DiskMoment::BeforeRun), Outcome::Go);
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Text(), "xsame\r\n");
}

// UTF-8 documents: the editor shows the characters, the status bar says so, and the file keeps
// its bytes (the mark, line ends, and bytes that are not UTF-8) through opening and saving.
class Utf8Documents : public Documents {
 protected:
  void SetUp() override {
    Documents::SetUp();
    ASSERT_NE(Editor, nullptr) << "lib/SciLexer.dll did not load";
    StatusBar = CreateWindowExA(0, "msctls_statusbar32", "ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, MainWindow,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    UseDocumentEncoding(TextEncoding::Ansi);
    StatusBar = nullptr;  // destroyed with the window
    Documents::TearDown();
  }
  // An untitled, empty ANSI document, as New leaves it.
  void Fresh() {
    Untitled();
    UseDocumentEncoding(TextEncoding::Ansi);
  }
  // Types one character as the keyboard gives it in the ANSI code page (Windows-1252 here).
  void TypeAnsi(char c) { SendMessageA(CurrentEditor, WM_CHAR, static_cast<unsigned char>(c), 0); }
};

TEST_F(Utf8Documents, OpenedAndSavedUnchangedEveryFileKeepsItsBytes) {
  const struct { const char* what; std::string bytes; std::string shown; bool utf8; } cases[] = {
      {"mark, CR LF", "\xEF\xBB\xBFprint \"Gr\xC3\xBC\xC3\x9F" "e\"\r\n", "print \"Gr\xC3\xBC\xC3\x9F" "e\"\r\n", true},
      {"mark only", "\xEF\xBB\xBF", "", true},
      {"mark before ASCII, LF", "\xEF\xBB\xBFprint 1\n", "print 1\n", true},
      {"no mark, CR", "' \xE2\x82\xAC \xE6\x97\xA5\rprint 1\r", "' \xE2\x82\xAC \xE6\x97\xA5\rprint 1\r", true},
      {"Windows-1252", "' Gr\xFC\xDF" "e\r\n", "' Gr\xFC\xDF" "e\r\n", false},
      {"ASCII only", "print 1\r\n", "print 1\r\n", false},
      {"UTF-8 then a stray byte", "' \xC3\xBC \xFC\n", "' \xC3\xBC \xFC\n", false},
  };
  for (const auto& c : cases) {
    Fresh();
    OpenWith(Path("u.zobas"), c.bytes);
    EXPECT_EQ(Text(), c.shown) << c.what;
    EXPECT_EQ(EditorIsUtf8(), c.utf8) << c.what;
    EXPECT_EQ(EncodingShown(), c.utf8 ? "UTF-8" : "") << c.what;
    EXPECT_EQ(StatusShown(), "ready") << "the messages' part stays as it was: " << c.what;
    DialogAnswer none({});
    EXPECT_EQ(SaveIfChanged(SaveName, Text(), "Closing Zorvexide"), SaveAnswer::Unchanged) << c.what;
    SaveDocument(0);
    EXPECT_EQ(Slurp(Path("u.zobas")), c.bytes) << c.what;
    EXPECT_EQ(none.Count(), 0u) << c.what;
    EXPECT_EQ(NoticeOutsideChange(DiskMoment::BeforeSave), Outcome::Go) << "its own write is no outside change";
  }
  DialogAnswer none({});
  EXPECT_EQ(NewDocument(), Outcome::Go);
  EXPECT_FALSE(EditorIsUtf8()) << "a new document is ANSI";
  EXPECT_EQ(EncodingShown(), "");
}

TEST_F(Utf8Documents, ATypedCharacterIsWrittenInTheDocumentsOwnEncoding) {
  const struct { const char* what; std::string bytes; std::string saved; } cases[] = {
      {"an ASCII-only file stays ANSI", "print 1\r\n", "print 1\xFC\r\n"},
      {"a Windows-1252 file stays so", "' \xE4\r\n", "' \xE4\xFC\r\n"},
      {"a UTF-8 file takes UTF-8", "' \xC3\xA4\r\n", "' \xC3\xA4\xC3\xBC\r\n"},
      {"a file with the mark keeps it", "\xEF\xBB\xBF' a\r\n", "\xEF\xBB\xBF' a\xC3\xBC\r\n"},
  };
  for (const auto& c : cases) {
    Fresh();
    OpenWith(Path("t.zobas"), c.bytes);
    const size_t lineEnd = c.bytes.find('\r') - (c.bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    SendMessageA(CurrentEditor, EM_SETSEL, lineEnd, lineEnd);
    TypeAnsi('\xFC');  // ü
    {
      DialogAnswer save({Press(IDYES)});
      EXPECT_EQ(SaveIfChanged(SaveName, Text(), "Closing Zorvexide"), SaveAnswer::Yes) << c.what;
    }
    EXPECT_EQ(Slurp(Path("t.zobas")), c.saved) << c.what;
    // Opened again, the file reads as it was written.
    const std::string typed = Text();
    Fresh();
    OpenWith(Path("t.zobas"), c.saved);
    EXPECT_EQ(Text(), typed) << c.what;
    EXPECT_EQ(EditorIsUtf8(), c.saved.find("\xC3\xBC") != std::string::npos) << c.what;
  }
}

TEST_F(Utf8Documents, ReloadedAfterAnOutsideChangeTheFileDecidesAgain) {
  OpenWith(Path("r.zobas"), "print 1\r\n");
  ASSERT_FALSE(EditorIsUtf8());
  WriteAsAnotherProgram(Path("r.zobas"), "\xEF\xBB\xBFprint \"\xC3\xBC\"\r\n");
  DialogAnswer none({});
  EXPECT_EQ(NoticeOutsideChange(DiskMoment::Activated), Outcome::Go);
  EXPECT_EQ(Text(), "print \"\xC3\xBC\"\r\n");
  EXPECT_TRUE(EditorIsUtf8());
  EXPECT_EQ(EncodingShown(), "UTF-8");
  SaveDocument(0);
  EXPECT_EQ(Slurp(Path("r.zobas")), "\xEF\xBB\xBFprint \"\xC3\xBC\"\r\n");
}
