// Reading the editing component's notifications into plain values.
#include "editor/EditorEvents_win.h"
#include <cstdint>
#include "base/SharedState.h"
#include "editor/SciMessages.h"

namespace {
// The mouse resting over the text and moving on (SCN_DWELLSTART, SCN_DWELLEND).
constexpr unsigned ScnDwellStart = 2016;
constexpr unsigned ScnDwellEnd = 2017;
// The notification block the component sends with WM_NOTIFY, up to the last field read here
// (the layout of Scintilla 5.3).
struct SciNotification {
  NMHDR header;
  intptr_t position;
  int ch;
  int modifiers;
  int modificationType;
  const char* text;
  intptr_t length;
  intptr_t linesAdded;
  int message;
  uintptr_t wParam;
  intptr_t lParam;
  intptr_t line;
  int foldLevelNow;
  int foldLevelPrev;
  int margin;
  int listType;
  int x;
  int y;
  int token;
  intptr_t annotationLinesAdded;
  int updated;
};

EditorEvent Modified(const SciNotification& n) {
  if ((n.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) == 0) return {};
  EditorEvent event{EditorEventKind::Modified};
  event.position = static_cast<size_t>(n.position);
  event.linesAdded = static_cast<int>(n.linesAdded);
  return event;
}
}  // namespace

EditorEvent ReadEditorEvent(const NMHDR* header) {
  if (header != nullptr && ListingPanel != nullptr && header->hwndFrom == ListingPanel)
    return {header->code == SCN_DOUBLECLICK ? EditorEventKind::ListingDoubleClick : EditorEventKind::None};
  if (header == nullptr || Editor == nullptr || header->hwndFrom != Editor) return {};
  const auto& n = *reinterpret_cast<const SciNotification*>(header);
  EditorEvent event;
  switch (header->code) {
    case SCN_CHARADDED:
      event.kind = EditorEventKind::CharAdded;
      event.character = n.ch;
      return event;
    case SCN_UPDATEUI:
      event.kind = EditorEventKind::UpdateUi;
      event.updated = n.updated;
      return event;
    case SCN_MODIFIED: return Modified(n);
    case SCN_AUTOCSELECTION:
      event.kind = EditorEventKind::CompletionChosen;
      event.position = static_cast<size_t>(n.position);
      event.text = n.text;
      return event;
    case ScnDwellStart:
      if (n.position < 0) return event;
      event.kind = EditorEventKind::DwellStart;
      event.position = static_cast<size_t>(n.position);
      return event;
    case ScnDwellEnd:
      event.kind = EditorEventKind::DwellEnd;
      return event;
    case SCN_MARGINCLICK:
      event.kind = EditorEventKind::MarginClick;
      event.position = static_cast<size_t>(n.position);
      event.margin = n.margin;
      return event;
    default: return event;
  }
}
