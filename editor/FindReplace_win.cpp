// Find and replace on the editor's own text: the search runs on the editor's buffer and a
// replacement changes only the range it replaces, so a step costs little in a big document.
// The boxes' text (ANSI) is taken in the document's code page, and a selection goes back so.
#include "editor/FindReplace_win.h"
#include <string>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/CodePage_win.h"
#include "editor/EditorAccess_win.h"
#include "editor/Search.h"

namespace {
// Ctrl: the selected text becomes the search text (and the replacement, with a replacement
// box, where the focus then ends); the selection itself stays.
int TakeSelection(HWND editor, HWND searchBox, HWND replaceBox, std::string_view text, size_t start, size_t end) {
  if (start == end) {
    FocusSelectAll(searchBox);
    return -1;
  }
  std::string selected(text.substr(start, end - start));
  SetBoxTextFromEditor(searchBox, selected);
  FocusSelectAll(searchBox);
  if (replaceBox) {
    SetBoxTextFromEditor(replaceBox, selected);
    FocusSelectAll(replaceBox);
  } else {
    SetControlText(FinderBoxes[ReplaceBox], "");
  }
  SelectRange(editor, start, end);
  return -1;
}
}  // namespace

int FindStep(HWND editor, HWND searchBox, int flags, HWND replaceBox) {
  std::string copy;
  std::string_view text = ControlTextView(editor, copy);
  size_t selStart = 0, selEnd = 0;
  ControlSelection(editor, selStart, selEnd);
  if (flags & FindTakeSelection) return TakeSelection(editor, searchBox, replaceBox, text, selStart, selEnd);
  const std::string what = BoxTextForEditor(searchBox);
  Api.SetFocus(editor);
  if (what.empty()) return 0;
  const bool backward = (flags & FindBackward) != 0;
  int s = static_cast<int>(selStart) + 1;
  int p = SearchText(s, text, what, backward);
  if (p != 0 && p == s) {
    size_t step = what.size();
    if (replaceBox) {
      const std::string with = BoxTextForEditor(replaceBox);
      ReplaceRange(editor, static_cast<size_t>(s - 1), static_cast<size_t>(s - 1) + what.size(), with);
      text = ControlTextView(editor, copy);
      step = with.size();
    }
    s = backward ? (s > 1 ? s - 1 : 1) : s + static_cast<int>(step);
    p = SearchText(s, text, what, backward);
  }
  if (p != 0) SelectAndShow(editor, static_cast<size_t>(p - 1), static_cast<size_t>(p - 1) + what.size());
  return p;
}

int ReplaceInSelection(HWND editor, HWND searchBox, HWND replaceBox) {
  std::string copy;
  std::string_view text = ControlTextView(editor, copy);
  size_t selStart = 0, selEnd = 0;
  ControlSelection(editor, selStart, selEnd);
  if (selStart == selEnd) return 0;
  const std::string what = BoxTextForEditor(searchBox);
  if (what.empty() || text.size() < what.size()) return 0;
  const std::string with = BoxTextForEditor(replaceBox);
  RangeReplacement change = ReplaceInRange(text, static_cast<int>(selStart) + 1, static_cast<int>(selEnd) + 1, what, with);
  if (change.count == 0) return -1;
  // The selection keeps its start and ends where its text ends now (at the end of the last
  // replacement when that occurrence reached beyond the selection).
  const size_t replacedEnd = static_cast<size_t>(change.to - 1);
  const size_t newReplacedEnd = static_cast<size_t>(change.from - 1) + change.text.size();
  size_t newEnd = selEnd >= replacedEnd ? selEnd - replacedEnd + newReplacedEnd : newReplacedEnd;
  ReplaceRange(editor, static_cast<size_t>(change.from - 1), static_cast<size_t>(change.to - 1), change.text);
  SelectRange(editor, selStart, newEnd);
  return -1;
}
