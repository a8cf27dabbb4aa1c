// MainWindow's closing step and the end of the Windows session: the project list, the save
// prompt, the settings file, the end of the loop, and the copy of unsaved text that a forced
// end of the session leaves for the next start.
#include <windows.h>
#include "auxwin/Console.h"
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/Boxes_win.h"
#include "base/TextScan.h"
#include "compiler/Debugger_win.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/Encoding_win.h"
#include "documents/Project.h"
#include "documents/ProjectText.h"
#include "editor/EditorAccess_win.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/Painting_win.h"
#include "shell/Scaling_win.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/StartupText.h"

namespace {
// The last WM_QUERYENDSESSION let the session end: the user has settled the document then.
bool SessionEndAgreed = false;

std::string EmergencyNotePath() { return ProgramDir + "\\" + EmergencyNoteFile; }

// The session ends though the IDE refused it (a box was up, or the user chose to stay): the
// text that differs from its file is written beside the document, or into the program folder
// for an untitled one or where the document's folder takes no file, and the program folder's
// note names the copy for the next start. The document itself is left as it is.
void KeepEmergencyCopy() {
  std::string copy, storage;
  std::string_view text = DocumentFileBytes(ControlTextView(CurrentEditor, copy), storage);
  if (FileHolds(SaveName, text)) return;  // saved, or untitled and empty
  const std::string document = SaveName.empty() ? std::string() : ExpandPath(SaveName);
  const std::string inProgramFolder =
      EmergencyCopyName(ProgramDir + "\\" + (document.empty() ? std::string("untitled.zobas") : NamePart(document)));
  for (const std::string& name : {document.empty() ? inProgramFolder : EmergencyCopyName(document), inProgramFolder}) {
    if (!TryWriteTextFile(name, text).empty()) continue;
    const std::string note = EmergencyNotePath();
    TryWriteTextFile(note, ReadTextFile(note) + FullPath(name) + "\r\n");
    return;
  }
}

// The project list is written to its file; where that fails, the user may leave it unsaved
// (a read-only project file would otherwise keep the IDE from ever closing). False: stay.
bool ProjectListSettled() {
  std::string failure = TrySaveProjectBox(ProjectFile);
  if (failure.empty()) return true;
  return ShowBox(CloseWithoutListText(failure), "Closing Zorvexide", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
         IDYES;
}

// What closing and the end of the session do before the program may end: the project list,
// the save prompt about the document and the settings file. False when the user chose to stay.
bool SaveWorkBeforeEnd() {
  if (!ProjectListSettled() || NoticeOutsideChange(DiskMoment::BeforeLeaving) == Outcome::Stop) return false;
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  if (SaveIfChanged(SaveName, text, "Closing Zorvexide") == SaveAnswer::Cancel) return false;
  size_t selectionStart = 0, selectionEnd = 0;
  ControlSelection(CurrentEditor, selectionStart, selectionEnd);
  // A settings file that cannot be written is reported, and closing goes on.
  WriteTextFile(ProgramDir + "\\zorvexIde.cfg", ComposeSettings(SettingsAtClosing(CurrentDirectory(), int(selectionEnd))));
  return true;
}
}  // namespace

void OnClose() {
  // Staying open, the focus is where the question left it: back in the control that had it.
  if (!SaveWorkBeforeEnd()) return;
  Api.SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

LRESULT OnQueryEndSession() {
  SessionEndAgreed = false;
  // A question or a file dialog of the IDE is up: the user is in the middle of answering it and
  // the text is not saved yet, so the session may not end now.
  if (!Api.IsWindowEnabled(MainWindow)) return FALSE;
  // Another program may still refuse the end of the session, and the IDE then goes on: the
  // document keeps the name that writing the settings clears.
  const std::string name = SaveName;
  const bool agreed = SaveWorkBeforeEnd();
  SaveName = name;
  SessionEndAgreed = agreed;
  return agreed ? TRUE : FALSE;
}

void OnEndSession(bool ending) {
  const bool agreed = SessionEndAgreed;
  SessionEndAgreed = false;
  if (!ending) return;
  if (!agreed) KeepEmergencyCopy();
  Api.SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

void ReportEmergencyCopy() {
  const std::string note = EmergencyNotePath();
  const std::string copies = ReadTextFile(note);
  if (copies.empty()) return;
  // One name a line, as many as forced ends came since the last start.
  for (size_t at = 0, end; at < copies.size(); at = end + 1) {
    end = copies.find_first_of("\r\n", at);
    if (end == std::string::npos) end = copies.size();
    if (end > at) ConsoleWrite(EmergencyCopyLine(copies.substr(at, end - at)));
  }
  Api.DeleteFileA(note.c_str());
}

void OnDestroy() {
  EndDebugSession();
  ReleaseScaledParts();
  ReleasePaintBrushes();
  Api.PostQuitMessage(0);
}
