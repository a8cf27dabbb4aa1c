// The document commands and the save check. The editor text is read whole whenever it is
// needed and compared byte for byte with the file on disk; there is no modified flag.
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Files.h"
#include "base/FileText.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "documents/DocumentState.h"
#include "documents/DocumentText.h"
#include "documents/Documents.h"
#include "documents/Encoding_win.h"
#include "documents/FileDialog.h"
#include "documents/LineField.h"
#include "documents/Project.h"
#include "documents/Titles.h"
#include "editor/EditorAccess_win.h"
#include "editor/DebugMarks_win.h"
#include "editor/Marks_win.h"

namespace {
constexpr int SaveAsModifier = 1;
constexpr int LinesBelowRemembered = 20;

void SetTitle(const std::string& title) { Api.SetWindowTextA(MainWindow, title.c_str()); }

void NameDocument(const std::string& name) {
  CurrentFile = name;
  SaveName = name;
}

// Asks about the current document before it is replaced; true when the caller may go on.
bool MayReplaceDocument(const char* caption) {
  if (NoticeOutsideChange(DiskMoment::BeforeLeaving) == Outcome::Stop) return false;
  std::string copy;
  return SaveIfChanged(SaveName, ControlTextView(CurrentEditor, copy), caption) != SaveAnswer::Cancel;
}

// The Save dialog asked before replacing the file that was chosen, but not before replacing
// the one that the added ".zobas" names: ask for that one here.
bool MayReplaceWithExtension(const std::string& chosen, const std::string& name) {
  if (name == chosen || Api.GetFileAttributesA(ExpandPath(name).c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return ShowBox(ReplacePromptText(name), "Save File as", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void ReportCannotLoad(const std::string& text) { ShowBox(text, "zor", MB_OK | MB_ICONERROR); }

// The path the ProjectBox lists for key or for its caret; empty when there is none.
std::string ListedPath(const std::string& key, bool byCaret) {
  if (!byCaret) return ListedPathOfKey(ProjectText, key);
  const TextSpan selection = SelectionSpan(FinderBoxes[ProjectBox]);
  return ListedPathAt(ProjectText, selection.start, selection.end);
}

// Moves the editor to the line remembered for path, with about twenty lines below it in view.
// A remembered line 0 is the top of the file; without an entry the caret stays.
void GoToRememberedLine(const std::string& path) {
  int line = LineFieldOf(ProjectText, path);
  if (line < 0) return;
  if (line == 0) line = 1;
  GoToLine(CurrentEditor, line + LinesBelowRemembered);
  GoToLine(CurrentEditor, line);
}
}  // namespace

SaveAnswer SaveIfChanged(std::string name, std::string_view editorText, const std::string& caption) {
  std::string storage;
  const std::string_view text = DocumentFileBytes(editorText, storage);
  if (name.empty() ? text.empty() : FileHolds(name, text)) return SaveAnswer::Unchanged;
  SaveAnswer answer = SaveAnswer::Unchanged;
  if (!caption.empty()) {
    int pressed = ShowBox(SavePromptText(name), caption, MB_YESNOCANCEL);
    // A prompt that could not be shown was not answered: keep the text as Cancel would.
    if (pressed == IDNO) return SaveAnswer::No;
    if (pressed != IDYES) return SaveAnswer::Cancel;
    answer = SaveAnswer::Yes;
  }
  // An untitled document is written under a chosen name but stays untitled.
  std::string target = name.empty() ? FileDialog(std::string(PromptSaveName), true, "") : name;
  if (target.empty() || !WriteTextFile(target, text)) return SaveAnswer::Cancel;
  NoteDocumentWrite(target, text);
  RecordCaretLine(target);
  return answer;
}

std::string DocumentKey(const std::string& name) { return name.empty() ? std::string() : FullPath(ExpandPath(name)); }

bool ReadDocument(const std::string& name, std::string& text) {
  const std::string path = ExpandPath(name);
  const WholeFile read = ReadWholeFile(path, text);
  switch (read.result) {
    case FileRead::Whole:
    case FileRead::Missing: return true;
    case FileRead::TooLarge: ReportCannotLoad(TooLargeText(path)); return false;
    case FileRead::NotAFile: ReportCannotLoad(ReadFailureText(path, NotAFileReason)); return false;
    case FileRead::Failed: break;
  }
  ReportCannotLoad(ReadFailureText(path, SystemReason(read.error)));
  return false;
}

bool PutDocumentInEditor(const std::string& name, std::string_view text) {
  // An edit control ends its text at a NUL byte, so the file would be saved back cut short.
  if (CurrentEditor != Editor && text.find('\0') != std::string_view::npos) {
    ReportCannotLoad(NulBytesText(ExpandPath(name)));
    return false;
  }
  // The bookmarks of the document left are kept for when it comes back.
  KeepBookmarks(DocumentKey(SaveName));
  const TextEncoding encoding = EncodingForEditor(text);
  KeepBreakpoints(DocumentKey(SaveName));
  LoadResult result = LoadControlText(CurrentEditor, EditorPartOf(text, encoding));
  if (result == LoadResult::Whole) {
    UseDocumentEncoding(encoding);
    RestoreBookmarks(DocumentKey(name));
    RestoreBreakpoints(DocumentKey(name));
    NoteDocumentFile(name, text);
    return true;
  }
  // An emptied editor must not keep the old name: saving would write nothing over that file.
  if (result == LoadResult::Emptied) {
    NameDocument("");
    NoteDocumentFile("", "");
    UseDocumentEncoding(TextEncoding::Ansi);
    SetTitle("New Code");
  }
  ReportCannotLoad(TooLargeText(ExpandPath(name)));
  return false;
}

bool LoadIntoEditor(const std::string& name) {
  std::string text;
  return ReadDocument(name, text) && PutDocumentInEditor(name, text);
}

Outcome NewDocument() {
  if (!MayReplaceDocument("Creating New File")) return Outcome::Stop;
  KeepBookmarks(DocumentKey(SaveName));
  KeepBreakpoints(DocumentKey(SaveName));
  NameDocument("");
  NoteDocumentFile("", "");
  LoadControlText(CurrentEditor, "");
  UseDocumentEncoding(TextEncoding::Ansi);
  RestoreBookmarks("");
  RestoreBreakpoints("");
  SetTitle("New Code");
  return Outcome::Go;
}

Outcome OpenDocument() {
  if (!MayReplaceDocument("Loading Another File")) return Outcome::Stop;
  std::string name = FileDialog(ExpandPath(CurrentFile), false, "");
  // A file that cannot be edited has been reported; the document keeps its name and title.
  if (!name.empty() && !LoadIntoEditor(name)) return Outcome::Go;
  if (!name.empty()) NameDocument(name);
  SetTitle("Loaded " + ShortTitle(name));
  return Outcome::Go;
}

void SaveDocument(int modifier) {
  // Ctrl+S writes over the document's own file: what another program wrote there comes first.
  if (modifier != SaveAsModifier && NoticeOutsideChange(DiskMoment::BeforeSave) == Outcome::Stop) return;
  RecordCaretLine(SaveName);
  ProjectText = GetControlText(FinderBoxes[ProjectBox]);
  SaveProjectBox(ProjectFile);
  std::string name = SaveName;
  if (name.empty() || modifier == SaveAsModifier) {
    std::string chosen = FileDialog(ExpandPath(SaveName), true, "");
    name = WithSourceExtension(chosen);
    if (name.empty() || !MayReplaceWithExtension(chosen, name)) return;
  }
  // A failed write has been reported; the document keeps its old name and title.
  std::string copy, storage;
  const std::string_view text = DocumentFileBytes(ControlTextView(CurrentEditor, copy), storage);
  if (!WriteTextFile(name, text)) return;
  NameDocument(name);
  NoteDocumentFile(name, text);
  SetTitle("Saved " + ShortTitle(name));
}

bool OpenListedFile(const std::string& name) {
  if (!SaveName.empty() && SameText(FullPath(ExpandPath(SaveName)), FullPath(ExpandPath(name)))) return true;
  const std::string path = ExpandPath(name);
  // A file that went away since it was listed is said to be gone, not opened as an empty one.
  if (Api.GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ReportCannotLoad(ReadFailureText(path, SystemReason(Api.GetLastError())));
    return false;
  }
  if (!MayReplaceDocument("Loading Another File") || !LoadIntoEditor(name)) return false;
  NameDocument(name);
  SetTitle("Loaded " + ShortTitle(name));
  return true;
}

Outcome OpenDroppedFile(const std::string& name) {
  if (!MayReplaceDocument("Switching To Another File")) return Outcome::Stop;
  if (!LoadIntoEditor(name)) return Outcome::Stop;
  NameDocument(name);
  WorkDir = EnterDirectoryOf(CurrentFile);
  SetTitle("Loaded " + ShortTitle(name));
  Api.SetFocus(MainWindow);
  Api.SetFocus(CurrentEditor);
  return Outcome::Go;
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

std::string EnterDirectoryOf(const std::string& path) {
  std::string folder = DirPart(ExpandPath(path));
  Api.SetCurrentDirectoryA(FolderToEnter(folder).c_str());
  return folder;
}

Outcome PrepareScratchSource() {
  // F5 and Ctrl+F5 never write over what another program put in the document's file unasked.
  if (NoticeOutsideChange(DiskMoment::BeforeRun) == Outcome::Stop) return Outcome::Stop;
  if (CurrentFile.empty()) CurrentFile = ProgramDir + "\\_.zobas";
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  if (text.empty()) return Outcome::Go;
  return SaveIfChanged(CurrentFile, text, "") == SaveAnswer::Cancel ? Outcome::Stop : Outcome::Go;
}
