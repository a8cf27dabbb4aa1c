// MainWindow's closing step and the end of the Windows session: the project list, the save
// prompt, the settings file and the end of the loop.
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/Project.h"
#include "documents/ProjectText.h"
#include "editor/EditorAccess_win.h"
#include "shell/MainWindowSteps_win.h"
#include "shell/Painting_win.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"

namespace {
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
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  if (!ProjectListSettled() || SaveIfChanged(SaveName, text, "Closing Zorvexide") == SaveAnswer::Cancel) return false;
  size_t selectionStart = 0, selectionEnd = 0;
  ControlSelection(CurrentEditor, selectionStart, selectionEnd);
  // A settings file that cannot be written is reported, and closing goes on.
  WriteTextFile(ProgramDir + "\\zorvexIde.cfg", ComposeSettings(SettingsAtClosing(CurrentDirectory(), int(selectionEnd))));
  return true;
}
}  // namespace

void OnClose() {
  if (!SaveWorkBeforeEnd()) {
    Api.SetFocus(CurrentEditor);
    return;
  }
  Api.SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

LRESULT OnQueryEndSession() {
  // A question or a file dialog of the IDE is up: the user is in the middle of answering it and
  // the text is not saved yet, so the session may not end now.
  if (!Api.IsWindowEnabled(MainWindow)) return FALSE;
  // Another program may still refuse the end of the session, and the IDE then goes on: the
  // document keeps the name that writing the settings clears.
  const std::string name = SaveName;
  const bool agreed = SaveWorkBeforeEnd();
  SaveName = name;
  if (!agreed) Api.SetFocus(CurrentEditor);
  return agreed ? TRUE : FALSE;
}

void OnEndSession(bool ending) {
  if (ending) Api.SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

void OnDestroy() {
  if (FinderFont) Api.DeleteObject(FinderFont);
  if (PlainEditorFont) Api.DeleteObject(PlainEditorFont);
  FinderFont = PlainEditorFont = nullptr;
  ReleasePaintBrushes();
  Api.PostQuitMessage(0);
}
