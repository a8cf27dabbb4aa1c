// The debugger's marks in the editor (declared in DebugMarks_win.h).
#include "editor/DebugMarks_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "editor/EditorState.h"
#include "editor/SciMessages.h"
#include "editor/WordAt.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
// Marker numbers beside the bookmarks' (2) and below the error's (12) and the fold markers'.
constexpr int BreakpointMarker = 3;
constexpr int StoppedArrowMarker = 4;
constexpr int StoppedLineMarker = 5;
constexpr int MarkShortArrow = 4;  // SC_MARK_SHORTARROW
constexpr unsigned SetMouseDwellTime = 2264;  // SCI_SETMOUSEDWELLTIME
constexpr int DwellMs = 500;

bool TipShown = false;  // the call tip shows a value, not a parameter hint

LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return Api.SendMessageA(Editor, message, wParam, lParam); }

void MarkLines(const std::vector<int>& lines) {
  Sci(SCI_MARKERDELETEALL, BreakpointMarker);
  for (int line : lines) Sci(SCI_MARKERADD, line - 1, BreakpointMarker);
}
}  // namespace

void ConfigureDebugMarks(HWND editor) {
  Api.SendMessageA(editor, SCI_MARKERDEFINE, BreakpointMarker, SC_MARK_CIRCLE);
  Api.SendMessageA(editor, SCI_MARKERSETFORE, BreakpointMarker, Rgb(128, 0, 0));
  Api.SendMessageA(editor, SCI_MARKERSETBACK, BreakpointMarker, Rgb(224, 0, 0));
  Api.SendMessageA(editor, SCI_MARKERDEFINE, StoppedArrowMarker, MarkShortArrow);
  Api.SendMessageA(editor, SCI_MARKERSETFORE, StoppedArrowMarker, Rgb(96, 64, 0));
  Api.SendMessageA(editor, SCI_MARKERSETBACK, StoppedArrowMarker, Rgb(255, 220, 0));
  Api.SendMessageA(editor, SCI_MARKERDEFINE, StoppedLineMarker, SC_MARK_BACKGROUND);
  Api.SendMessageA(editor, SCI_MARKERSETBACK, StoppedLineMarker, Rgb(255, 250, 170));
  Api.SendMessageA(editor, SetMouseDwellTime, DwellMs, 0);
}

std::string NameAtPosition(size_t position) {
  if (Editor == nullptr) return {};
  const int line = LineOfPosition(position);
  const std::string text = EditorLineText(line);
  int p = int(position - size_t(Sci(SCI_POSITIONFROMLINE, line - 1))) + 1, end = 0, length = 0;
  std::string word = WordAt(text, p, end, length);
  if (word.empty() || !IsWordCode(static_cast<unsigned char>(word[0])) || (word[0] >= '0' && word[0] <= '9')) return {};
  return word;
}

void ClipPanelToBoxesAbove() {
  if (ListingPanel == nullptr) return;
  const LONG style = Api.GetWindowLongA(ListingPanel, GWL_STYLE);
  if (!(style & WS_CLIPSIBLINGS)) Api.SetWindowLongA(ListingPanel, GWL_STYLE, style | WS_CLIPSIBLINGS);
}

void ShowValueTip(size_t position, const std::string& text) {
  if (Editor == nullptr) return;
  Sci(SCI_CALLTIPSHOW, position, reinterpret_cast<LPARAM>(text.c_str()));
  TipShown = true;
}

void HideValueTip() {
  if (Editor == nullptr || !TipShown) return;
  Sci(SCI_CALLTIPCANCEL);
  TipShown = false;
}

void ToggleBreakpoint(int line) {
  if (Editor == nullptr || line < 1) return;
  if (Sci(SCI_MARKERGET, line - 1) & (1 << BreakpointMarker)) Sci(SCI_MARKERDELETE, line - 1, BreakpointMarker);
  else Sci(SCI_MARKERADD, line - 1, BreakpointMarker);
}

std::vector<int> BreakpointLines() {
  std::vector<int> lines;
  if (Editor == nullptr) return lines;
  for (LRESULT at = Sci(SCI_MARKERNEXT, 0, 1 << BreakpointMarker); at >= 0;
       at = Sci(SCI_MARKERNEXT, at + 1, 1 << BreakpointMarker))
    lines.push_back(int(at) + 1);
  return lines;
}

void KeepBreakpoints(const std::string& key) {
  if (Editor == nullptr || key.empty()) return;
  KeptBreakpoints.Keep(key, BreakpointLines());
}

void RestoreBreakpoints(const std::string& key) {
  if (Editor == nullptr) return;
  MarkLines(key.empty() ? std::vector<int>{} : KeptBreakpoints.LinesOf(key));
}

std::vector<KeptMarks> AllBreakpoints(const std::string& currentKey) {
  std::vector<KeptMarks> all;
  for (const BookmarkStore::FileMarks& file : KeptBreakpoints.Files())
    if (currentKey.empty() || LowerText(file.path) != LowerText(currentKey)) all.push_back({file.path, file.lines});
  all.push_back({currentKey, BreakpointLines()});
  return all;
}

void ShowStoppedLine(int line) {
  if (Editor == nullptr) return;
  Sci(SCI_MARKERDELETEALL, StoppedArrowMarker);
  Sci(SCI_MARKERDELETEALL, StoppedLineMarker);
  if (line < 1) return;
  Sci(SCI_MARKERADD, line - 1, StoppedArrowMarker);
  Sci(SCI_MARKERADD, line - 1, StoppedLineMarker);
  Sci(SCI_ENSUREVISIBLEENFORCEPOLICY, line - 1);
  Sci(SCI_GOTOPOS, Sci(SCI_POSITIONFROMLINE, line - 1));
  Sci(SCI_SCROLLCARET);
}

