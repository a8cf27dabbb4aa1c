// The editing aids on the Scintilla editor: the platform-free rules of Indentation, Comments
// and BlockMatch, fed with the editor's lines and carried out as the editor's own edits.
#include "editor/Editing_win.h"
#include <windows.h>
#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/BlockMatch.h"
#include "editor/Comments.h"
#include "editor/Indentation.h"
#include "editor/SciMessages.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"

namespace {

// A longer line is read only this far: the aids look at statements, not at data.
constexpr size_t LongestLine = 100000;
// How far up and down the block of the caret's word is looked for.
constexpr int MatchReach = 3000;
constexpr int BlockIndicator = INDICATOR_CONTAINER;

// The editor whose highlight styles are set up; the ranges of block words marked last (start
// and length).
HWND HighlightsSetUpFor = nullptr;
std::vector<std::pair<LRESULT, LRESULT>> MarkedWords;

// The editor's own direct entry: the aids ask many small questions per key, and a window
// message costs some hundred times as much.
using DirectFunction = LRESULT (*)(LPARAM instance, unsigned message, WPARAM wParam, LPARAM lParam);
struct DirectEntry {
  HWND editor = nullptr;
  DirectFunction function = nullptr;
  LPARAM instance = 0;
};
DirectEntry Direct;

// Asked again at the start of every operation, so an editor made anew is never reached through
// an old one's entry. False without the Editor.
bool Connect() {
  Direct = {};
  if (Editor == nullptr) return false;
  Direct.editor = Editor;
  Direct.function = reinterpret_cast<DirectFunction>(Api.SendMessageA(Editor, SCI_GETDIRECTFUNCTION, 0, 0));
  Direct.instance = Api.SendMessageA(Editor, SCI_GETDIRECTPOINTER, 0, 0);
  return true;
}

LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  if (Direct.editor == Editor && Direct.function && Direct.instance)
    return Direct.function(Direct.instance, message, wParam, lParam);
  return Api.SendMessageA(Editor, message, wParam, lParam);
}

LRESULT LineStart(int line) { return Sci(SCI_POSITIONFROMLINE, static_cast<WPARAM>(line)); }
int LineOf(LRESULT position) { return static_cast<int>(Sci(SCI_LINEFROMPOSITION, static_cast<WPARAM>(position))); }

bool IsBlockCommentStyle(LRESULT style) { return style == 1 || style == 3 || style == 23 || style == 24; }

// The editor's lines. Whether a line starts in a /* */ comment comes from the lexer's styles,
// so the lines up to styledLine are styled first where the editor has not styled them yet.
// The line count, the length and the last line starts asked for are kept: the aids read
// neighbouring lines one after the other, and the text does not change while they read.
class EditorLines : public SourceLines {
 public:
  explicit EditorLines(int styledLine)
      : count_(static_cast<int>(Sci(SCI_GETLINECOUNT))), length_(Sci(SCI_GETLENGTH)) {
    const LRESULT needed = LineStart(styledLine);
    const LRESULT styled = Sci(SCI_GETENDSTYLED);
    if (styled < needed) Sci(SCI_COLOURISE, static_cast<WPARAM>(LineStart(LineOf(styled))), needed);
  }
  int Count() const override { return count_; }
  std::string Text(int line) const override {
    const LRESULT start = Start(line);
    const LRESULT end = line + 1 < count_ ? Start(line + 1) : length_;
    size_t length = static_cast<size_t>(std::max<LRESULT>(0, end - start));
    const bool whole = length <= LongestLine;
    length = std::min(length, LongestLine);
    if (length == 0) return {};
    auto* text = reinterpret_cast<const char*>(Sci(SCI_GETRANGEPOINTER, static_cast<WPARAM>(start), static_cast<LPARAM>(length)));
    if (!text) return {};
    while (whole && length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
    return std::string(text, length);
  }
  bool StartsInComment(int line) const override {
    return line > 0 && IsBlockCommentStyle(Sci(SCI_GETSTYLEAT, static_cast<WPARAM>(Start(line) - 1)));
  }

 private:
  LRESULT Start(int line) const {
    for (const auto& [known, start] : starts_)
      if (known == line) return start;
    const LRESULT start = LineStart(line);
    starts_[next_] = {line, start};
    next_ = (next_ + 1) % starts_.size();
    return start;
  }

  int count_;
  LRESULT length_;
  mutable std::array<std::pair<int, LRESULT>, 3> starts_{{{-1, 0}, {-1, 0}, {-1, 0}}};
  mutable size_t next_ = 0;
};

// Makes the edits as one undo step, from the last to the first so each one's place holds.
void MakeEdits(std::vector<LineEdit> edits) {
  std::sort(edits.begin(), edits.end(),
            [](const LineEdit& a, const LineEdit& b) { return a.line != b.line ? a.line > b.line : a.from > b.from; });
  Sci(SCI_BEGINUNDOACTION);
  for (const LineEdit& e : edits) {
    const LRESULT start = LineStart(e.line);
    Sci(SCI_SETTARGETRANGE, static_cast<WPARAM>(start + static_cast<LRESULT>(e.from)), start + static_cast<LRESULT>(e.to));
    Sci(SCI_REPLACETARGET, e.text.size(), reinterpret_cast<LPARAM>(e.text.c_str()));
  }
  Sci(SCI_ENDUNDOACTION);
}

// A position as line and column, and where it goes when its line is edited.
struct Place {
  int line;
  size_t column;
};
Place PlaceOf(LRESULT position) {
  const int line = LineOf(position);
  return {line, static_cast<size_t>(position - LineStart(line))};
}
LRESULT PositionAfter(const Place& place, const std::vector<LineEdit>& edits) {
  return LineStart(place.line) + static_cast<LRESULT>(ColumnAfterEdits(edits, place.line, place.column));
}

// The lines the selection covers: a selection that ends at the start of a line leaves that
// line out. False when the editor has several selections or a rectangular one.
bool SelectedLines(int& first, int& last, Place& anchor, Place& caret) {
  if (Sci(SCI_GETSELECTIONS) > 1 || Sci(SCI_SELECTIONISRECTANGLE)) return false;
  const LRESULT anchorAt = Sci(SCI_GETANCHOR);
  const LRESULT caretAt = Sci(SCI_GETCURRENTPOS);
  anchor = PlaceOf(anchorAt);
  caret = PlaceOf(caretAt);
  const LRESULT end = std::max(anchorAt, caretAt);
  first = std::min(anchor.line, caret.line);
  last = std::max(anchor.line, caret.line);
  if (last > first && end == LineStart(last)) --last;
  return true;
}

// Edits the lines and keeps the selection on the same text.
void EditLines(const std::vector<LineEdit>& edits, const Place& anchor, const Place& caret) {
  if (edits.empty()) return;
  MakeEdits(edits);
  Sci(SCI_SETSEL, static_cast<WPARAM>(PositionAfter(anchor, edits)), PositionAfter(caret, edits));
}

void LineBreakTyped(LRESULT caret) {
  const int line = LineOf(caret);
  if (line == 0 || caret != LineStart(line)) return;
  const EditorLines lines(line - 1);
  const LineBreakIndent indent = IndentAfterLineBreak(lines, line, IndentStep(lines, line));
  if (!indent.edits.empty()) MakeEdits(indent.edits);
  const LRESULT at = LineStart(line) + static_cast<LRESULT>(indent.caretColumn);
  if (at != Sci(SCI_GETCURRENTPOS)) Sci(SCI_SETEMPTYSELECTION, static_cast<WPARAM>(at));
}

void WordEndTyped(LRESULT caret) {
  const Place place = PlaceOf(caret);
  if (place.column == 0) return;
  const EditorLines lines(place.line);
  const std::vector<LineEdit> edits = DedentCompletedWord(lines, place.line, place.column - 1);
  if (edits.empty()) return;
  MakeEdits(edits);
  Sci(SCI_SETEMPTYSELECTION, static_cast<WPARAM>(PositionAfter(place, edits)));
}

void SetUpHighlights() {
  if (HighlightsSetUpFor == Editor) return;
  HighlightsSetUpFor = Editor;
  Sci(SCI_INDICSETSTYLE, BlockIndicator, INDIC_ROUNDBOX);
  Sci(SCI_INDICSETFORE, BlockIndicator, RGB(68, 68, 255));
  Sci(SCI_INDICSETALPHA, BlockIndicator, 40);
  Sci(SCI_INDICSETOUTLINEALPHA, BlockIndicator, 120);
  Sci(SCI_INDICSETUNDER, BlockIndicator, 1);
  // The brace styles draw the bracket in the text's own font and background.
  char face[128] = {};
  if (Sci(SCI_STYLEGETFONT, 0, 0) < static_cast<LRESULT>(sizeof face)) Sci(SCI_STYLEGETFONT, 0, reinterpret_cast<LPARAM>(face));
  const LRESULT size = Sci(SCI_STYLEGETSIZE, 0);
  const LRESULT back = Sci(SCI_STYLEGETBACK, 0);
  for (int style : {STYLE_BRACELIGHT, STYLE_BRACEBAD}) {
    if (face[0]) Sci(SCI_STYLESETFONT, style, reinterpret_cast<LPARAM>(face));
    Sci(SCI_STYLESETSIZE, style, size);
    Sci(SCI_STYLESETBACK, style, back);
    Sci(SCI_STYLESETBOLD, style, 1);
  }
  Sci(SCI_STYLESETFORE, STYLE_BRACELIGHT, RGB(0, 0, 255));
  Sci(SCI_STYLESETFORE, STYLE_BRACEBAD, RGB(255, 0, 0));
}

void HighlightBracket(const EditorLines& lines, int line, LRESULT start, size_t column) {
  const BracketMatch match = MatchBracket(lines.Text(line), lines.StartsInComment(line), column);
  if (!match.found) {
    Sci(SCI_BRACEHIGHLIGHT, static_cast<WPARAM>(-1), -1);
  } else if (match.matched) {
    Sci(SCI_BRACEHIGHLIGHT, static_cast<WPARAM>(start + static_cast<LRESULT>(match.at)), start + static_cast<LRESULT>(match.partner));
  } else {
    Sci(SCI_BRACEBADLIGHT, static_cast<WPARAM>(start + static_cast<LRESULT>(match.at)));
  }
}

void MarkBlockWords(const EditorLines& lines, int line, size_t column, bool textChanged) {
  std::vector<std::pair<LRESULT, LRESULT>> marks;
  for (const LineRange& r : MatchingBlockWords(lines, line, column, MatchReach)) {
    const LRESULT start = LineStart(r.line);
    marks.emplace_back(start + static_cast<LRESULT>(r.from), static_cast<LRESULT>(r.to - r.from));
  }
  if (marks == MarkedWords && !textChanged) return;
  Sci(SCI_SETINDICATORCURRENT, BlockIndicator);
  if (!MarkedWords.empty()) Sci(SCI_INDICATORCLEARRANGE, 0, Sci(SCI_GETLENGTH));
  for (const auto& [from, length] : marks) Sci(SCI_INDICATORFILLRANGE, static_cast<WPARAM>(from), length);
  MarkedWords = std::move(marks);
}

}  // namespace

void EditorCharAdded(int ch) {
  if (!Connect() || Sci(SCI_GETSELECTIONS) > 1) return;
  const LRESULT caret = Sci(SCI_GETCURRENTPOS);
  // A CR LF line break comes as two characters; the LF does the work.
  if (ch == '\n' || (ch == '\r' && Sci(SCI_GETEOLMODE) == SC_EOL_CR)) {
    LineBreakTyped(caret);
  } else if (ch > 0 && ch < 128 && ch != '\r' && !IsWordChar(ch)) {
    WordEndTyped(caret);
  }
}

void EditorUpdateUi(int updated) {
  if ((updated & (SC_UPDATE_CONTENT | SC_UPDATE_SELECTION)) == 0 || !Connect()) return;
  SetUpHighlights();
  const Place caret = PlaceOf(Sci(SCI_GETCURRENTPOS));
  const EditorLines lines(caret.line);
  HighlightBracket(lines, caret.line, LineStart(caret.line), caret.column);
  MarkBlockWords(lines, caret.line, caret.column, (updated & SC_UPDATE_CONTENT) != 0);
}

void ToggleLineComments(bool removeOnly) {
  int first = 0, last = 0;
  Place anchor{}, caret{};
  if (!Connect() || !SelectedLines(first, last, anchor, caret)) return;
  EditLines(ToggleComments(EditorLines(0), first, last, removeOnly), anchor, caret);
}

bool IndentSelectedLines(bool outdent) {
  int first = 0, last = 0;
  Place anchor{}, caret{};
  if (!Connect() || !SelectedLines(first, last, anchor, caret) || anchor.line == caret.line) return false;
  const EditorLines lines(first);
  const int tabWidth = static_cast<int>(Sci(SCI_GETTABWIDTH));
  EditLines(ShiftLines(lines, first, last, IndentStep(lines, first), outdent, tabWidth), anchor, caret);
  return true;
}
