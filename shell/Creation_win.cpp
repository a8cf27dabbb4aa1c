// MainWindow's creation step: command line, settings, working directory and child controls.
#include <windows.h>
#include "auxwin/Console.h"
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/Boxes_win.h"
#include "base/Scaling_win.h"
#include "base/TextScan.h"
#include "compiler/Launch.h"
#include "commands/CommandIds.h"
#include "commands/MenuBar_win.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/Project.h"
#include "documents/Titles.h"
#include "editor/EditorAccess_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/Listing_win.h"
#include "editor/DebugMarks_win.h"
#include "editor/Marks_win.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/MainWindow_win.h"
#include "shell/Placement.h"
#include "shell/Scaling_win.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/StartupText.h"

namespace {
constexpr DWORD ButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_NOTIFY;  // 0x5000400B
constexpr DWORD BoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN;  // 0x50A01004


HWND CreateChild(DWORD exStyle, const char* cls, const char* text, DWORD style, int id) {
  return Api.CreateWindowExA(exStyle, cls, text, style, 0, 0, 0, 0, MainWindow,
                             reinterpret_cast<HMENU>(uintptr_t(id)), ProgramInstance(), nullptr);
}

bool LoadEditingComponent() {
  if (::LoadLibraryA("lib/SciLexer.dll")) return true;
  ConsoleWrite("Unable to load Scintilla: SciLexer.dll");
  return false;
}

// Decides what the command line names: a project, a document, or (an argument naming the
// IDE's own scratch file) nothing. Returns the settings text that still applies.
std::string TakeArgument(const std::string& settingsText) {
  if (StartArgument.empty() || LowerText(StartArgument).find("zorvexide.zobas") != std::string::npos)
    return settingsText;
  if (StartArgument.size() >= 7 && StartArgument.compare(StartArgument.size() - 7, 7, ".zoproj") == 0) {
    ProjectFile = StartArgument;
    ProjectOpen = 1;
    PendingAction = 1;
    return settingsText;
  }
  CurrentFile = StartArgument;
  return {};
}

// True when name is the file named on the command line and that file exists and is empty: the
// user asked for it (a new file made in a folder, then opened with the IDE), and the first
// save must write into it rather than ask for a name.
bool NamesEmptyFile(const std::string& name) {
  std::string content;
  return name == StartArgument && ReadWholeFile(ExpandPath(name), content).result == FileRead::Whole && content.empty();
}

// The document to show: empty with a project, else the current file's text (a file that
// cannot be read, or an empty one other than the command line's, leaves the document
// untitled).
std::string ReadStartDocument() {
  if (!ProjectFile.empty()) {
    WorkDir = EnterDirectoryOf(ProjectFile);
    ProjectOpen = 1;
    PendingAction = 1;
    CurrentFile.clear();
    return {};
  }
  std::string text;
  bool read = ReadDocument(CurrentFile, text);
  if (!read) text.clear();  // unreadable or too large: reported, starts untitled
  if (text.empty() && !(read && NamesEmptyFile(CurrentFile))) CurrentFile.clear();
  return text;
}

// The remembered size, at the corner the placement mode chose for the start-up size: a larger
// window would reach past the work area there, its status bar out of reach, so it is made to
// fit the work area and moved back onto it.
void ResizeToSettings() {
  RECT r;
  Api.GetWindowRect(MainWindow, &r);
  WindowBounds at = KeepOnWorkArea({r.left, r.top}, WindowWidth, WindowHeight, {WorkAreaLeft, WorkAreaTop},
                                   WorkAreaWidth, WorkAreaHeight);
  Api.MoveWindow(MainWindow, at.x, at.y, at.width, at.height, TRUE);
}

void CreateButtonsAndBoxes() {
  for (int i = 0; i < 11; ++i) {
    CommandButtons[i] = CreateChild(WS_EX_CLIENTEDGE, "button", " ", ButtonStyle, CommandButtonIds[i]);
    Api.ShowWindow(CommandButtons[i], SW_SHOW);
  }
  for (int slot = FindBox; slot <= OutputBox; ++slot) {
    FinderBoxes[slot] = CreateChild(WS_EX_CLIENTEDGE, "edit", " finder", BoxStyle, FinderBoxId);
    // Edit boxes stop at about 32 K characters by default: a project list or a listing can
    // be longer, and the user must be able to type in it.
    LiftTextLimit(FinderBoxes[slot]);
  }
}

// The editor: Scintilla when it loaded, otherwise a plain edit control in its place, so the
// IDE stays usable without the editing component.
void CreateEditor(bool scintilla, const std::string& text) {
  if (scintilla) {
    Editor = CreateChild(0, "Scintilla", nullptr, BoxStyle, EditorId);
    CurrentEditor = Editor;
    ConfigureEditor(Editor, KeywordList, EditorFontName, EditorFontSize);
    ConfigureBookmarks(Editor);
    ConfigureDebugMarks(Editor);
    if (!PutDocumentInEditor(CurrentFile, text)) CurrentFile.clear();
    // The IDE's own listings show in a read-only view of the same component, in the
    // OutputBox's place; it stays 0 x 0 until one shows.
    ListingPanel = CreateChild(WS_EX_CLIENTEDGE, "Scintilla", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                               ListingPanelId);
    ConfigureListing(ListingPanel, "Lucida console", 9);
    return;
  }
  CurrentEditor = CreateChild(WS_EX_CLIENTEDGE, "edit", " finder", BoxStyle, FinderBoxId);
  if (!PutDocumentInEditor(CurrentFile, text)) CurrentFile.clear();
  ConfigurePlainEditor(CurrentEditor, RestorePos);  // its font comes with the boxes' one
  RestorePos = 0;
}
}  // namespace

std::string CurrentDirectory() {
  DWORD size = Api.GetCurrentDirectoryA(0, nullptr);
  std::string dir(size, '\0');
  while (size > 0) {
    DWORD got = Api.GetCurrentDirectoryA(DWORD(dir.size()), dir.data());
    if (got < dir.size()) {
      dir.resize(got);
      return dir;
    }
    dir.resize(got);  // the directory changed length in between: ask again
  }
  return {};
}

void OnCreate(HWND window) {
  MainWindow = window;
  WindowScale = ScaleOfDpi(DpiOfWindow(window));
  ShowWindowIcon(true);
  bool scintilla = LoadEditingComponent();
  if (!StartDirectory.empty()) Api.SetCurrentDirectoryA(StartDirectory.c_str());
  std::string startDir = CurrentDirectory();
  ProgramDir = GetProgramDir();
  std::string settingsText = ReadTextFile(ProgramDir + "\\Zorvexide.cfg");
  // A full path: the working directory changes during start-up, and a relative name would
  // then name another file.
  StartArgument = FullPath(Unquote(GetCommandTail()));
  WorkDir = StartArgument.empty() ? startDir : DirPart(StartArgument);
  settingsText = TakeArgument(settingsText);
  // WorkAreaWidth and WorkAreaHeight are the work area's right and bottom edges.
  ApplySettings(ReadSettings(settingsText, ProgramDir, CurrentFile, WorkAreaWidth - WorkAreaLeft,
                             WorkAreaHeight - WorkAreaTop, WindowScale));
  ResizeToSettings();
  std::string text = ReadStartDocument();
  Api.SetCurrentDirectoryA(FolderToEnter(WorkDir).c_str());
  CreateButtonsAndBoxes();
  CreateEditor(scintilla, text);
  Api.SetWindowTextA(MainWindow, ShortTitle(CurrentFile).c_str());
  if (!ProjectFile.empty()) {
    // A project file that could not be read whole is never written back over.
    std::string list;
    ProjectUnreadable = ReadProjectText(ProjectFile, list) != ProjectRead::Whole;
    SetControlText(FinderBoxes[ProjectBox], list);
    // The box ends its text at a NUL byte: the Project menu is built from what the box shows,
    // as when a project is opened later.
    ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  }
  RebuildMenuBar(MainWindow);
  MakeScaledFonts();
  Api.SetFocus(MainWindow);
  Api.SetFocus(CurrentEditor);
  SaveName = CurrentFile;
  ReportEmergencyCopy();
}
