// What the editing component and the edit boxes tell their parent window (WM_NOTIFY and the
// notices of WM_COMMAND), read into plain values, so the main window can pass each event to the
// operation that owns it without knowing the component's own notification layout.
#pragma once
#include <windows.h>
#include <cstddef>

enum class EditorEventKind {
  None,         // not from the Editor, or nothing the IDE acts on
  CharAdded,    // a character was typed into the text
  UpdateUi,     // the text, the caret or the selection may have changed since the last one
  Modified,     // text was inserted or deleted
  MarginClick,  // a click in one of the margins
  ListingDoubleClick,  // a double-click in the listing panel (which sends no WM_LBUTTONDBLCLK)
  CompletionChosen,    // a name of the completion list is about to be put in
  DwellStart,          // the mouse rests over the text (position: the character under it)
  DwellEnd,            // the mouse moved on after resting
};

struct EditorEvent {
  EditorEventKind kind = EditorEventKind::None;
  int character = 0;              // CharAdded: the character typed
  size_t position = 0;            // Modified: where the change starts; MarginClick: the line's start;
                                  // DwellStart: the character under the mouse
  int linesAdded = 0;             // Modified: lines added (negative when removed)
  int margin = 0;                 // MarginClick: which margin, 0 the line numbers
  bool textChanged = false;       // UpdateUi: the text or its styles changed
  bool selectionChanged = false;  // UpdateUi: the caret or the selection moved
  const char* text = nullptr;     // CompletionChosen: the name (valid while the event is handled);
                                  // position: the start of the letters it replaces
};

// The event a WM_NOTIFY message carries; None unless it comes from the Editor or is the listing
// panel's double-click.
EditorEvent ReadEditorEvent(const NMHDR* header);
// The editor or edit box that a WM_COMMAND says has just received the focus; null when the
// message says nothing of the kind.
HWND ControlGainingFocus(WPARAM wParam, LPARAM lParam);
