// Control access: the editor gets Scintilla messages, the edit boxes edit-control messages.
#include "editor/EditorAccess_win.h"
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "editor/EditorSend_win.h"
#include "editor/EditorSetup_win.h"
#include "editor/SciMessages.h"

namespace {

bool IsEditor(HWND control) { return control != nullptr && control == Editor; }

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return Api.SendMessageA(control, message, wParam, lParam);
}

// The editing component takes a text of the given length, NUL bytes included, as one undo step
// (a plain SCI_SETTEXT would stop at the first NUL).
void SetEditorText(HWND editor, std::string_view text) {
  static const char empty = '\0';
  Send(editor, SCI_SETTEXT, text.size(), reinterpret_cast<LPARAM>(text.empty() ? &empty : text.data()));
}

// Unfolds whatever hides the line holding the 0-based position, and scrolls to it.
void UnfoldLineAt(HWND editor, size_t position) {
  Send(editor, SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<WPARAM>(Send(editor, SCI_LINEFROMPOSITION, position, 0)), 0);
}

}  // namespace

LRESULT EditorSend(HWND control, UINT boxMessage, UINT sciMessage, WPARAM wParam, LPARAM lParam) {
  UINT message = IsEditor(control) ? sciMessage : boxMessage;
  if (message == 0) return 0;
  return Send(control, message, wParam, lParam);
}

std::string GetControlText(HWND control) {
  LRESULT length = EditorSend(control, WM_GETTEXTLENGTH, SCI_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = EditorSend(control, WM_GETTEXT, SCI_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (got < 0) got = 0;
  text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(length)));
  return text;
}

std::string_view ControlTextView(HWND control, std::string& storage) {
  if (IsEditor(control)) {
    LRESULT length = Send(control, SCI_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    auto* text = reinterpret_cast<const char*>(Send(control, SCI_GETCHARACTERPOINTER, 0, 0));
    if (text) return std::string_view(text, static_cast<size_t>(length));
  }
  storage = GetControlText(control);
  return storage;
}

void ReplaceRange(HWND control, size_t from, size_t to, std::string_view text) {
  if (IsEditor(control)) {
    Send(control, SCI_BEGINUNDOACTION, 0, 0);
    Send(control, SCI_SETTARGETRANGE, from, to);
    Send(control, SCI_REPLACETARGET, text.size(), reinterpret_cast<LPARAM>(text.data()));
    Send(control, SCI_ENDUNDOACTION, 0, 0);
    Send(control, SCI_SETEMPTYSELECTION, from + text.size(), 0);
    return;
  }
  std::string terminated(text);  // EM_REPLACESEL takes a terminated string
  Send(control, EM_SETSEL, from, to);
  Send(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

void ControlSelection(HWND control, size_t& start, size_t& end) {
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
  return static_cast<int>(Send(control, EM_LINEFROMCHAR, start, 0)) + 1;
}

void PlaceCaret(HWND control, size_t at) { Send(control, EM_SETSEL, at, at); }

void LiftTextLimit(HWND box) { Send(box, EM_SETLIMITTEXT, 0, 0); }

void SelectAndShow(HWND control, size_t from, size_t to) {
  Send(control, EM_SETSEL, from, to);
  if (IsEditor(control)) {
    UnfoldLineAt(control, from);
    UnfoldLineAt(control, to);
  }
  Send(control, EM_SCROLLCARET, 0, 0);
}

LoadResult LoadControlText(HWND control, std::string_view text) {
  if (!IsEditor(control)) {
    SetControlText(control, text);
    Send(control, EM_EMPTYUNDOBUFFER, 0, 0);
    return LoadResult::Whole;
  }
  // Room for the whole text first (one byte more, so the insertion does not grow it again):
  // when that fails the old text is still there.
  Send(control, SCI_SETSTATUS, 0, 0);
  Send(control, SCI_ALLOCATE, text.size() + 1, 0);
  if (Send(control, SCI_GETSTATUS, 0, 0) != 0) {
    Send(control, SCI_SETSTATUS, 0, 0);
    return LoadResult::Refused;
  }
  // Without undo collection the old text is not kept for undo, which also spares a copy of
  // the whole document while it loads.
  Send(control, SCI_SETUNDOCOLLECTION, 0, 0);
  SetEditorText(control, text);
  bool whole = Send(control, SCI_GETSTATUS, 0, 0) == 0 &&
               static_cast<size_t>(Send(control, SCI_GETTEXTLENGTH, 0, 0)) == text.size();
  if (!whole) {
    Send(control, SCI_CLEARALL, 0, 0);
    Send(control, SCI_SETSTATUS, 0, 0);
  }
  Send(control, SCI_SETUNDOCOLLECTION, 1, 0);
  Send(control, SCI_EMPTYUNDOBUFFER, 0, 0);
  Send(control, SCI_SCROLLCARET, 0, 0);
  UpdateLineNumberWidth();
  return whole ? LoadResult::Whole : LoadResult::Emptied;
}

void SetControlText(HWND control, std::string_view text) {
  if (IsEditor(control)) {
    SetEditorText(control, text);
    return;
  }
  std::string terminated(text);  // WM_SETTEXT needs a terminated string
  Send(control, WM_SETTEXT, terminated.size(), reinterpret_cast<LPARAM>(terminated.c_str()));
}

std::string StatusShown() {
  if (StatusBar == nullptr) return "";
  std::string text(static_cast<size_t>(Api.GetWindowTextLengthA(StatusBar)) + 1, '\0');
  text.resize(static_cast<size_t>(Api.GetWindowTextA(StatusBar, text.data(), static_cast<int>(text.size()))));
  return text;
}

void FocusSelectAll(HWND control) {
  Api.SetFocus(control);
  LRESULT length = EditorSend(control, WM_GETTEXTLENGTH, SCI_GETTEXTLENGTH, 0, 0);
  EditorSend(control, EM_SETSEL, SCI_SETSEL, 0, length);
}

HFONT ApplyFont(HWND const* controls, int count, int height, int width, int weight, const std::string& face) {
  HFONT font = Api.CreateFontA(height, width, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face.c_str());
  for (int i = 0; i < count; ++i) Send(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  return font;
}

void ShowLineNumber(HWND editor, HWND box) { SetControlText(box, std::to_string(CaretLine(editor))); }

void GoToLine(HWND editor, int line) {
  if (line > 0) {
    if (Editor != nullptr) {
      Send(editor, SCI_GOTOLINE, line - 1, 0);
      UnfoldLineAt(editor, static_cast<size_t>(Send(editor, SCI_GETCURRENTPOS, 0, 0)));
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

void EditorUndo() { EditorSend(CurrentEditor, EM_UNDO, SCI_UNDO, 0, 0); }
void EditorCut() { EditorSend(CurrentEditor, 0, SCI_CUT, 0, 0); }
void EditorCopy() { EditorSend(CurrentEditor, 0, SCI_COPY, 0, 0); }
void EditorPaste() { EditorSend(CurrentEditor, 0, SCI_PASTE, 0, 0); }
