// The document commands and the save check. The editor text is read whole whenever it is
// needed and compared byte for byte with the file on disk; there is no modified flag.
#include <windows.h>
#include "documents/Documents.h"
#include "documents/DocumentState.h"
#include "documents/DocumentText.h"
#include "documents/FileDialog.h"
#include "documents/LineField.h"
#include "documents/Project.h"
#include "documents/TextScan.h"
#include "documents/Titles.h"
#include "editor/EditorAccess.h"
#include "editor/SciMessages.h"
#include "shell/Bindings.h"
#include "shell/ShellState.h"

namespace {
constexpr int Cancelled = IDCANCEL;  // 2
constexpr int SaveAsModifier = 1;
constexpr int LinesBelowRemembered = 20;

std::string EditorText() { return GetControlText(CurrentEditor); }

void SetTitle(const std::string& title) { Api.SetWindowTextA(MainWindow, title.c_str()); }

void NameDocument(const std::string& name) {
  CurrentFile = name;
  SaveName = name;
}

// Asks about the current document before it is replaced; true when the caller may go on.
bool MayReplaceDocument(const char* caption) {
  return SaveIfChanged(SaveName, EditorText(), caption) != Cancelled;
}

// The Save dialog asked before replacing the file that was chosen, but not before replacing
// the one that the added ".zobas" names: ask for that one here.
bool MayReplaceWithExtension(const std::string& chosen, const std::string& name) {
  if (name == chosen || Api.GetFileAttributesA(ExpandPath(name).c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  std::string question = ReplacePromptText(name);
  return Api.MessageBoxA(nullptr, question.c_str(), "Save File as", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void ReportTooLarge(const std::string& name) {
  std::string text = TooLargeText(ExpandPath(name));
  Api.MessageBoxA(nullptr, text.c_str(), "zor", MB_OK | MB_ICONERROR);
}

// The path the ProjectBox lists for key or for its caret; empty when there is none.
std::string ListedPath(const std::string& key, bool byCaret) {
  if (!byCaret) return ListedPathOfKey(ProjectText, key);
  DWORD start = 0, end = 0;
  EditorSend(FinderBoxes[ProjectBox], EM_GETSEL, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
             reinterpret_cast<LPARAM>(&end));
  return ListedPathAt(ProjectText, static_cast<int>(start) + 1, static_cast<int>(end) + 1);
}

// Moves the editor to the line remembered for path, with about twenty lines below it in view.
void GoToRememberedLine(const std::string& path) {
  int line = LineFieldOf(ProjectText, path);
  if (line < 1) return;
  GoToLine(CurrentEditor, line + LinesBelowRemembered);
  GoToLine(CurrentEditor, line);
}
}  // namespace

int SaveIfChanged(const std::string& name, const std::string& text, const std::string& caption) {
  std::string onDisk = name.empty() ? std::string() : ReadTextFile(name);
  if (text == onDisk) return 0;
  if (!caption.empty()) {
    std::string question = SavePromptText(name);
    int answer = Api.MessageBoxA(nullptr, question.c_str(), caption.c_str(), MB_YESNOCANCEL);
    // A prompt that could not be shown was not answered: keep the text as Cancel would.
    if (answer != IDYES && answer != IDNO) return Cancelled;
    if (answer != IDYES) return answer;
  }
  // An untitled document is written under a chosen name but stays untitled.
  std::string target = name.empty() ? FileDialog(std::string(PromptSaveName), true, "") : name;
  if (target.empty() || !WriteTextFile(target, text)) return Cancelled;
  RecordCaretLine(target);
  return caption.empty() ? 0 : IDYES;
}

bool ReadDocument(const std::string& name, std::string& text) {
  bool tooLarge = false;
  if (ReadWholeFile(ExpandPath(name), text, tooLarge) || !tooLarge) return true;
  ReportTooLarge(name);
  return false;
}

bool PutDocumentInEditor(const std::string& name, const std::string& text) {
  // Scintilla takes every byte or, when it cannot allocate, fewer; an edit box stops at a NUL
  // by its nature, so only the editor's length tells of a document that did not fit.
  if (CurrentEditor != Editor) {
    SetControlText(CurrentEditor, text);
    return true;
  }
  std::string previous = EditorText();
  SetControlText(CurrentEditor, text);
  if (static_cast<size_t>(EditorSend(CurrentEditor, WM_GETTEXTLENGTH, SCI_GETTEXTLENGTH, 0, 0)) == text.size())
    return true;
  SetControlText(CurrentEditor, previous);
  ReportTooLarge(name);
  return false;
}

bool LoadIntoEditor(const std::string& name) {
  std::string text;
  return ReadDocument(name, text) && PutDocumentInEditor(name, text);
}

int NewDocument() {
  if (!MayReplaceDocument("Creating New File")) return Cancelled;
  NameDocument("");
  SetControlText(CurrentEditor, "");
  SetTitle("New Code");
  return 0;
}

int OpenDocument() {
  if (!MayReplaceDocument("Loading Another File")) return Cancelled;
  std::string name = FileDialog(ExpandPath(CurrentFile), false, "");
  if (!name.empty()) {
    if (!LoadIntoEditor(name)) return Cancelled;
    NameDocument(name);
  }
  SetTitle("Loaded " + ShortTitle(name));
  return name.empty() ? Cancelled : 0;
}

void SaveDocument(int modifier) {
  RecordCaretLine(SaveName);
  RefreshProject();
  std::string name = SaveName;
  if (name.empty() || modifier == SaveAsModifier) {
    std::string chosen = FileDialog(ExpandPath(SaveName), true, "");
    name = WithSourceExtension(chosen);
    if (name.empty() || !MayReplaceWithExtension(chosen, name)) return;
  }
  // A failed write has been reported; the document keeps its old name and title.
  if (!WriteTextFile(name, EditorText())) return;
  NameDocument(name);
  SetTitle("Saved " + ShortTitle(name));
}

int OpenDroppedFile(const std::string& name) {
  if (!MayReplaceDocument("Switching To Another File")) return Cancelled;
  if (!LoadIntoEditor(name)) return Cancelled;
  NameDocument(name);
  WorkDir = EnterDirectoryOf(CurrentFile);
  SetTitle("Loaded " + ShortTitle(name));
  Api.SetFocus(MainWindow);
  Api.SetFocus(CurrentEditor);
  return 0;
}

void SwitchToListedFile(const std::string& key, bool byCaret) {
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  if (ProjectText.size() < 2) return;
  std::string path = ListedPath(key, byCaret);
  if (path.empty()) return;
  if (!MayReplaceDocument("Switching to Another File")) return;
  if (!LoadIntoEditor(path)) return;
  NameDocument(path);
  SetTitle("Switched to " + path);
  GoToRememberedLine(path);
}

int PrepareScratchSource() {
  if (CurrentFile.empty()) CurrentFile = ProgramDir + "\\_.zobas";
  std::string text = EditorText();
  if (text.empty()) return 0;
  return SaveIfChanged(CurrentFile, text, "") == Cancelled ? Cancelled : 0;
}
