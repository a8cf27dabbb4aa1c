// The one door to the editor and the edit boxes: every text read, text write, selection and
// editing command goes through these operations. The editor is recognised by comparing a
// handle with Editor; without Scintilla (Editor null) every control gets edit-control messages.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

// The whole text of the control, exactly as long as the control reports (NUL bytes included
// for the Editor).
std::string GetControlText(HWND control);
// The whole text without copying it where the control lends its own buffer (the Editor); a
// box's text is copied into storage. The view is valid until the control's text next changes.
std::string_view ControlTextView(HWND control, std::string& storage);
// Replaces the whole text. The Editor receives every byte, NULs included, as one undo step
// with the caret at the start; a box keeps its text up to a first NUL, as edit controls do.
void SetControlText(HWND control, std::string_view text);
// Replaces the characters from 0-based from up to to by text as one undo step, leaving the rest
// of the text and the view alone; the caret goes behind the new text.
void ReplaceRange(HWND control, size_t from, size_t to, std::string_view text);
// The control's selection, 0-based start and end.
void ControlSelection(HWND control, size_t& start, size_t& end);
// The control's selection as the program's 1-based string positions (start = end for a caret).
struct TextSpan {
  int start = 1;
  int end = 1;
};
TextSpan SelectionSpan(HWND control);
// The 1-based line of the control's selection start.
int CaretLine(HWND control);
// Selects 0-based from..to, the caret at to.
void SelectRange(HWND control, size_t from, size_t to);
// Puts the caret at the 0-based position without selecting anything.
void PlaceCaret(HWND control, size_t at);
// Lets a box hold a text of any length (edit boxes stop at about 32 K characters by default).
void LiftTextLimit(HWND box);
// Selects 0-based from..to and scrolls it into view.
void SelectAndShow(HWND control, size_t from, size_t to);
// How a load into a control ended: the text is in whole; it was refused and the old text
// stays; or the editor failed while taking it and is now empty.
enum class LoadResult { Whole, Refused, Emptied };
// Gives the control a newly loaded document: the text replaces the old one with no way back by
// undo (an undo never crosses a load), the caret at the start and the start in view.
LoadResult LoadControlText(HWND control, std::string_view text);
// Focuses the control and selects its whole text.
void FocusSelectAll(HWND control);
// Creates one font and gives it to the first count controls; the caller deletes it.
HFONT ApplyFont(HWND const* controls, int count, int height, int width, int weight, const std::string& face);
// Writes the 1-based line of the editor's selection start into box.
void ShowLineNumber(HWND editor, HWND box);
// Moves the caret to the 1-based line (nothing for 0 or less), then focuses the editor.
void GoToLine(HWND editor, int line);
// Reads a line number from box (ReadNumber) and goes to it.
void GoToLineFromBox(HWND editor, HWND box);
// The Edit menu's commands on CurrentEditor; Cut, Copy and Paste do nothing on a plain box.
void EditorUndo();
void EditorCut();
void EditorCopy();
void EditorPaste();
