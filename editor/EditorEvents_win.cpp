// Reading the editing component's notifications into plain values, from the layout Scintilla's
// own header gives them.
#include "editor/EditorEvents_win.h"
#include "base/SharedState.h"
#include "editor/ScintillaDoor_win.h"

namespace {
using Scintilla::Notification;

EditorEvent Modified(const Scintilla::NotificationData& n) {
  using Scintilla::ModificationFlags;
  if (!FlagSet(n.modificationType, ModificationFlags::InsertText | ModificationFlags::DeleteText)) return {};
  EditorEvent event{EditorEventKind::Modified};
  event.position = static_cast<size_t>(n.position);
  event.linesAdded = static_cast<int>(n.linesAdded);
  return event;
}

bool Is(const NMHDR* header, Notification code) { return header->code == static_cast<UINT>(code); }
}  // namespace

EditorEvent ReadEditorEvent(const NMHDR* header) {
  if (header != nullptr && ListingPanel != nullptr && header->hwndFrom == ListingPanel)
    return {Is(header, Notification::DoubleClick) ? EditorEventKind::ListingDoubleClick : EditorEventKind::None};
  if (header == nullptr || Editor == nullptr || header->hwndFrom != Editor) return {};
  const auto& n = *reinterpret_cast<const Scintilla::NotificationData*>(header);
  EditorEvent event;
  switch (static_cast<Notification>(header->code)) {
    case Notification::CharAdded:
      event.kind = EditorEventKind::CharAdded;
      event.character = n.ch;
      return event;
    case Notification::UpdateUI:
      event.kind = EditorEventKind::UpdateUi;
      event.textChanged = FlagSet(n.updated, Scintilla::Update::Content);
      event.selectionChanged = FlagSet(n.updated, Scintilla::Update::Selection);
      return event;
    case Notification::Modified: return Modified(n);
    case Notification::AutoCSelection:
      event.kind = EditorEventKind::CompletionChosen;
      event.position = static_cast<size_t>(n.position);
      event.text = n.text;
      return event;
    case Notification::DwellStart:
      if (n.position < 0) return event;
      event.kind = EditorEventKind::DwellStart;
      event.position = static_cast<size_t>(n.position);
      return event;
    case Notification::DwellEnd:
      event.kind = EditorEventKind::DwellEnd;
      return event;
    case Notification::MarginClick:
      event.kind = EditorEventKind::MarginClick;
      event.position = static_cast<size_t>(n.position);
      event.margin = n.margin;
      return event;
    default: return event;
  }
}

HWND ControlGainingFocus(WPARAM wParam, LPARAM lParam) {
  const WORD code = HIWORD(wParam);
  if (code != EN_SETFOCUS && code != static_cast<WORD>(Scintilla::FocusChange::Setfocus)) return nullptr;
  return reinterpret_cast<HWND>(lParam);
}
