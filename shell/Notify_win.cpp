// WM_NOTIFY: each event of the editor goes to the operation that owns it.
#include <windows.h>
#include "build/ErrorCheck.h"
#include "editor/EditorEvents_win.h"
#include "shell/MainWindowSteps_win.h"

void OnNotify(const NMHDR* header) {
  const EditorEvent event = ReadEditorEvent(header);
  switch (event.kind) {
    case EditorEventKind::CharAdded: break;
    case EditorEventKind::UpdateUi: ShowErrorAtCaret(); break;
    case EditorEventKind::Modified: NoteEditorChange(); break;
    case EditorEventKind::MarginClick: break;
    case EditorEventKind::None: break;
  }
}
