// WM_NOTIFY: each event of the editor goes to the operation that owns it.
#include <windows.h>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "compiler/Debugger_win.h"
#include "compiler/ErrorCheck.h"
#include "editor/Completing_win.h"
#include "editor/DebugMarks_win.h"
#include "editor/EditorEvents_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/Editing_win.h"
#include "editor/Folding_win.h"
#include "editor/Marks_win.h"
#include "navigation/Navigation_win.h"
#include "shell/MainWindowSteps_win.h"

void OnNotify(const NMHDR* header) {
  const EditorEvent event = ReadEditorEvent(header);
  switch (event.kind) {
    case EditorEventKind::CharAdded:
      EditorCharAdded(event.character);
      CompletionCharAdded(event.character);
      break;
    case EditorEventKind::UpdateUi:
      EditorUpdateUi(event.textChanged, event.selectionChanged);
      CompletionUpdateUi(event.selectionChanged);
      ShowErrorAtCaret();
      break;
    case EditorEventKind::Modified:
      CompletionTextChanged(event.position, event.linesAdded);
      if (event.linesAdded != 0) UpdateLineNumberWidth();
      NoteEditorChange();
      break;
    case EditorEventKind::MarginClick:
      if (event.margin == BookmarkMargin) ToggleBookmarkAtPosition(event.position);
      EditorMarginClick(event.margin, event.position);
      break;
    case EditorEventKind::CompletionChosen: CompletionChosen(event.position, event.text); break;
    case EditorEventKind::ListingDoubleClick:
      if (!DebugPanelJump()) JumpFromListingCaret();
      Api.SetFocus(CurrentEditor);
      break;
    case EditorEventKind::DwellStart: DebugHover(event.position); break;
    case EditorEventKind::DwellEnd: HideValueTip(); break;
    case EditorEventKind::None: break;
  }
}
