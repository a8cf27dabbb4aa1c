// Control access: the editor is reached through its door, the edit boxes by edit-control messages.
#include "editor/EditorAccess_win.h"
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "editor/EditorSetup_win.h"
#include "editor/ScintillaDoor_win.h"

namespace {

bool IsEditor(HWND control) { return control != nullptr && control == Editor; }

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return Api.SendMessageA(control, message, wParam, lParam);
}

// Unfolds whatever hides the line holding the 0-based position, and scrolls to it.
void UnfoldLineAt(const ScintillaDoor& editor, size_t position) {
  editor.EnsureVisibleEnforcePolicy(editor.LineFromPosition(ScintillaDoor::Position(position)));
}

size_t BoxTextLength(HWND box) { return size_t(std::max<LRESULT>(0, Send(box, WM_GETTEXTLENGTH, 0, 0))); }

}  // namespace

std::string GetControlText(HWND control) {
  if (IsEditor(control)) return std::string(ScintillaDoor(control).Text());
  const size_t length = BoxTextLength(control);
  if (length == 0) return {};
  std::string text(length + 1, '\0');
  LRESULT got = Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::min<size_t>(size_t(std::max<LRESULT>(got, 0)), length));
  return text;
}

std::string_view ControlTextView(HWND control, std::string& storage) {
  if (IsEditor(control)) return ScintillaDoor(control).Text();
  storage = GetControlText(control);
  return storage;
}

void ReplaceRange(HWND control, size_t from, size_t to, std::string_view text) {
  if (IsEditor(control)) {
    const ScintillaDoor editor(control);
    editor.BeginUndoAction();
    editor.SetTargetRange(ScintillaDoor::Position(from), ScintillaDoor::Position(to));
    editor.ReplaceTarget(text);
    editor.EndUndoAction();
    editor.SetEmptySelection(ScintillaDoor::Position(from + text.size()));
    return;
  }
  std::string terminated(text);  // EM_REPLACESEL takes a terminated string
  Send(control, EM_SETSEL, from, to);
  Send(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

void ControlSelection(HWND control, size_t& start, size_t& end) {
  if (IsEditor(control)) {
    const ScintillaDoor editor(control);
    start = size_t(editor.SelectionStart());
    end = size_t(editor.SelectionEnd());
    return;
  }
  DWORD s = 0, e = 0;
  Send(control, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = s;
  end = e;
}

TextSpan SelectionSpan(HWND control) {
  size_t start = 0, end = 0;
  ControlSelection(control, start, end);
  return {static_cast<int>(start) + 1, static_cast<int>(end) + 1};
}

int CaretLine(HWND control) {
  size_t start = 0, end = 0;
  ControlSelection(control, start, end);
  if (IsEditor(control)) return int(ScintillaDoor(control).LineFromPosition(ScintillaDoor::Position(start))) + 1;
  return static_cast<int>(Send(control, EM_LINEFROMCHAR, start, 0)) + 1;
}

void SelectRange(HWND control, size_t from, size_t to) {
  if (IsEditor(control)) ScintillaDoor(control).SetSel(ScintillaDoor::Position(from), ScintillaDoor::Position(to));
  else Send(control, EM_SETSEL, from, to);
}

void PlaceCaret(HWND control, size_t at) { SelectRange(control, at, at); }

void LiftTextLimit(HWND box) { Send(box, EM_SETLIMITTEXT, 0, 0); }

void SelectAndShow(HWND control, size_t from, size_t to) {
  SelectRange(control, from, to);
  if (!IsEditor(control)) {
    Send(control, EM_SCROLLCARET, 0, 0);
    return;
  }
  const ScintillaDoor editor(control);
  UnfoldLineAt(editor, from);
  UnfoldLineAt(editor, to);
  editor.ScrollCaret();
}

LoadResult LoadControlText(HWND control, std::string_view text) {
  if (!IsEditor(control)) {
    SetControlText(control, text);
    Send(control, EM_EMPTYUNDOBUFFER, 0, 0);
    return LoadResult::Whole;
  }
  using Scintilla::Status;
  const ScintillaDoor editor(control);
  // Room for the whole text first (one byte more, so the insertion does not grow it again):
  // when that fails the old text is still there.
  editor.SetStatus(Status::Ok);
  editor.Allocate(ScintillaDoor::Position(text.size() + 1));
  if (editor.Status() != Status::Ok) {
    editor.SetStatus(Status::Ok);
    return LoadResult::Refused;
  }
  // Without undo collection the old text is not kept for undo, which also spares a copy of
  // the whole document while it loads.
  editor.SetUndoCollection(false);
  editor.SetText(text);
  const bool whole = editor.Status() == Status::Ok && size_t(editor.Length()) == text.size();
  if (!whole) {
    editor.ClearAll();
    editor.SetStatus(Status::Ok);
  }
  editor.SetUndoCollection(true);
  editor.EmptyUndoBuffer();
  editor.ScrollCaret();
  UpdateLineNumberWidth();
  return whole ? LoadResult::Whole : LoadResult::Emptied;
}

void SetControlText(HWND control, std::string_view text) {
  if (IsEditor(control)) {
    ScintillaDoor(control).SetText(text);
    return;
  }
  std::string terminated(text);  // WM_SETTEXT needs a terminated string
  Send(control, WM_SETTEXT, terminated.size(), reinterpret_cast<LPARAM>(terminated.c_str()));
}

void FocusSelectAll(HWND control) {
  Api.SetFocus(control);
  SelectRange(control, 0, IsEditor(control) ? size_t(ScintillaDoor(control).Length()) : BoxTextLength(control));
}

HFONT ApplyFont(HWND const* controls, int count, int height, int width, int weight, const std::string& face) {
  HFONT font = Api.CreateFontA(height, width, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face.c_str());
  for (int i = 0; i < count; ++i) Send(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  return font;
}

void ShowLineNumber(HWND editor, HWND box) { SetControlText(box, std::to_string(CaretLine(editor))); }

void GoToLine(HWND editor, int line) {
  if (line > 0) {
    if (IsEditor(editor)) {
      const ScintillaDoor door(editor);
      door.GotoLine(line - 1);
      UnfoldLineAt(door, size_t(door.CurrentPos()));
    } else {
      LRESULT at = Send(editor, EM_LINEINDEX, line - 1, 0);
      // A line beyond the end goes to the end of the text, as the editor does.
      if (at < 0) at = Send(editor, WM_GETTEXTLENGTH, 0, 0);
      Send(editor, EM_SETSEL, at, at);
      Send(editor, EM_SCROLLCARET, 0, 0);
    }
  }
  Api.SetFocus(editor);
}

void GoToLineFromBox(HWND editor, HWND box) {
  std::string text(24, '\0');  // a line number needs no more than 23 characters
  LRESULT got = Send(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? std::min<size_t>(static_cast<size_t>(got), 23) : 0);
  GoToLine(editor, ReadNumber(text));
}

void EditorUndo() {
  if (IsEditor(CurrentEditor)) ScintillaDoor(CurrentEditor).Undo();
  else Send(CurrentEditor, EM_UNDO, 0, 0);
}
// Cut, Copy and Paste act on the Editor only: a plain box takes its own keys for them.
void EditorCut() { if (IsEditor(CurrentEditor)) ScintillaDoor(CurrentEditor).Cut(); }
void EditorCopy() { if (IsEditor(CurrentEditor)) ScintillaDoor(CurrentEditor).Copy(); }
void EditorPaste() { if (IsEditor(CurrentEditor)) ScintillaDoor(CurrentEditor).Paste(); }
