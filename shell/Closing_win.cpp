// MainWindow's closing step: the save prompt, the settings file and the end of the loop.
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
}  // namespace

void OnClose() {
  std::string copy;
  std::string_view text = ControlTextView(CurrentEditor, copy);
  // A document that could not be saved keeps the window open, as Cancel does.
  if (!ProjectListSettled() || SaveIfChanged(SaveName, text, "Closing Zorvexide") == SaveAnswer::Cancel) {
    Api.SetFocus(CurrentEditor);
    return;
  }
  DWORD selectionStart = 0, selectionEnd = 0;
  Api.SendMessageA(CurrentEditor, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                   reinterpret_cast<LPARAM>(&selectionEnd));
  // A settings file that cannot be written is reported, and closing goes on.
  WriteTextFile(ProgramDir + "\\zorvexIde.cfg", ComposeSettings(SettingsAtClosing(CurrentDirectory(), int(selectionEnd))));
  Api.SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

void OnDestroy() {
  if (FinderFont) Api.DeleteObject(FinderFont);
  if (PlainEditorFont) Api.DeleteObject(PlainEditorFont);
  FinderFont = PlainEditorFont = nullptr;
  ReleasePaintBrushes();
  Api.PostQuitMessage(0);
}
