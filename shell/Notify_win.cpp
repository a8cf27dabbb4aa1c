// WM_NOTIFY: each event of the editor goes to the operation that owns it.
#include <windows.h>
#include "editor/EditorEvents_win.h"
#include "editor/Marks_win.h"
#include "navigation/Navigation_win.h"
#include "shell/MainWindowSteps_win.h"

void OnNotify(const NMHDR* header) {
  const EditorEvent event = ReadEditorEvent(header);
  switch (event.kind) {
    case EditorEventKind::CharAdded: break;
    case EditorEventKind::UpdateUi: break;
    case EditorEventKind::Modified: break;
    case EditorEventKind::MarginClick:
      if (event.margin == BookmarkMargin) ToggleBookmarkAtPosition(event.position);
      break;
    case EditorEventKind::None: break;
  }
}
