// The debugger's marks in the editor.
#include "editor/DebugMarks_win.h"
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "editor/EditorState.h"
#include "editor/ScintillaDoor_win.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"

namespace {
constexpr COLORREF Rgb(int r, int g, int b) { return COLORREF(r | (g << 8) | (b << 16)); }
// Marker numbers beside the bookmarks' (2) and below the error's (12) and the fold markers'.
constexpr int BreakpointMarker = 3;
constexpr int StoppedArrowMarker = 4;
constexpr int StoppedLineMarker = 5;
constexpr int DwellMs = 500;

bool TipShown = false;  // the call tip shows a value, not a parameter hint

ScintillaDoor EditorDoor() { return ScintillaDoor(Editor); }

void MarkLines(const std::vector<int>& lines) {
  EditorDoor().MarkerDeleteAll(BreakpointMarker);
  for (int line : lines) EditorDoor().MarkerAdd(line - 1, BreakpointMarker);
}

// The stopped line's arrow and background on the 1-based line; 0 takes them away.
void MarkStoppedLine(int line) {
  const ScintillaDoor editor = EditorDoor();
  editor.MarkerDeleteAll(StoppedArrowMarker);
  editor.MarkerDeleteAll(StoppedLineMarker);
  if (line < 1) return;
  editor.MarkerAdd(line - 1, StoppedArrowMarker);
  editor.MarkerAdd(line - 1, StoppedLineMarker);
}
}  // namespace

void ConfigureDebugMarks(HWND editor) {
  using Scintilla::MarkerSymbol;
  const ScintillaDoor door(editor);
  door.MarkerDefine(BreakpointMarker, MarkerSymbol::Circle);
  door.MarkerSetFore(BreakpointMarker, Rgb(128, 0, 0));
  door.MarkerSetBack(BreakpointMarker, Rgb(224, 0, 0));
  door.MarkerDefine(StoppedArrowMarker, MarkerSymbol::ShortArrow);
  door.MarkerSetFore(StoppedArrowMarker, Rgb(96, 64, 0));
  door.MarkerSetBack(StoppedArrowMarker, Rgb(255, 220, 0));
  door.MarkerDefine(StoppedLineMarker, MarkerSymbol::Background);
  door.MarkerSetBack(StoppedLineMarker, Rgb(255, 250, 170));
  door.SetMouseDwellTime(DwellMs);
}

std::string NameAtPosition(size_t position) {
  if (Editor == nullptr) return {};
  const int line = LineOfPosition(position);
  const std::string text = EditorLineText(line);
  int p = int(position - size_t(EditorDoor().LineStart(line - 1))) + 1, end = 0, length = 0;
  std::string word = WordAt(text, p, end, length);
  if (word.empty() || !IsWordChar(static_cast<unsigned char>(word[0])) || (word[0] >= '0' && word[0] <= '9')) return {};
  return word;
}

void ClipPanelToBoxesAbove() {
  if (ListingPanel == nullptr) return;
  const LONG style = Api.GetWindowLongA(ListingPanel, GWL_STYLE);
  if (!(style & WS_CLIPSIBLINGS)) Api.SetWindowLongA(ListingPanel, GWL_STYLE, style | WS_CLIPSIBLINGS);
}

void ShowValueTip(size_t position, const std::string& text) {
  if (Editor == nullptr) return;
  EditorDoor().CallTipShow(ScintillaDoor::Position(position), text);
  TipShown = true;
}

void HideValueTip() {
  if (Editor == nullptr || !TipShown) return;
  EditorDoor().CallTipCancel();
  TipShown = false;
}

void ToggleBreakpoint(int line) {
  if (Editor == nullptr || line < 1) return;
  if (EditorDoor().MarkerGet(line - 1) & (1 << BreakpointMarker)) EditorDoor().MarkerDelete(line - 1, BreakpointMarker);
  else EditorDoor().MarkerAdd(line - 1, BreakpointMarker);
}

std::vector<int> BreakpointLines() {
  std::vector<int> lines;
  if (Editor == nullptr) return lines;
  for (ScintillaDoor::Line at = EditorDoor().MarkerNext(0, 1 << BreakpointMarker); at >= 0;
       at = EditorDoor().MarkerNext(at + 1, 1 << BreakpointMarker))
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
  MarkStoppedLine(!key.empty() && SameText(key, KeptStop.key) ? KeptStop.line : 0);
}

void KeepStop(const std::string& key, int line) { KeptStop = {key, line}; }

std::vector<KeptMarks> AllBreakpoints(const std::string& currentKey) {
  std::vector<KeptMarks> all;
  for (const BookmarkStore::FileMarks& file : KeptBreakpoints.Files())
    if (currentKey.empty() || LowerText(file.path) != LowerText(currentKey)) all.push_back({file.path, file.lines});
  all.push_back({currentKey, BreakpointLines()});
  return all;
}

void ShowStoppedLine(int line) {
  if (Editor == nullptr) return;
  MarkStoppedLine(line);
  if (line < 1) return;
  const ScintillaDoor editor = EditorDoor();
  editor.EnsureVisibleEnforcePolicy(line - 1);
  editor.GotoPos(editor.LineStart(line - 1));
  editor.ScrollCaret();
}

