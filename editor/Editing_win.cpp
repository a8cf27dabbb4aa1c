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
#include "editor/ScintillaDoor_win.h"
#include "editor/UndoSteps.h"
#include "scilexer/ZorvexStyles.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"

namespace {

// A longer line is read only this far: the aids look at statements, not at data.
constexpr size_t LongestLine = 100000;
// How far up and down the block of the caret's word is looked for.
constexpr int MatchReach = 3000;
constexpr int BlockIndicator = static_cast<int>(Scintilla::IndicatorNumbers::Container);
constexpr int BraceLightStyle = static_cast<int>(Scintilla::StylesCommon::BraceLight);
constexpr int BraceBadStyle = static_cast<int>(Scintilla::StylesCommon::BraceBad);

// The editor whose highlight styles are set up; the ranges of block words marked last (start
// and length).
HWND HighlightsSetUpFor = nullptr;
std::vector<std::pair<LRESULT, LRESULT>> MarkedWords;

// The door to the Editor for the operation under way, through the editor's direct entry.
ScintillaDoor Door;

// Asked again at the start of every operation, so an editor made anew is never reached through
// an old one's entry. False without the Editor.
bool Connect() {
  Door = ScintillaDoor::Direct(Editor);
  return Door.Exists();
}

LRESULT LineStart(int line) { return Door.LineStart(line); }
int LineOf(LRESULT position) { return static_cast<int>(Door.LineFromPosition(position)); }

// The editor's lines. Whether a line starts in a /* */ comment comes from the lexer's styles,
// so the lines up to styledLine are styled first where the editor has not styled them yet.
// The line count, the length and the last line starts asked for are kept: the aids read
// neighbouring lines one after the other, and the text does not change while they read.
class EditorLines : public SourceLines {
 public:
  explicit EditorLines(int styledLine)
      : count_(static_cast<int>(Door.LineCount())), length_(Door.Length()) {
    const LRESULT needed = LineStart(styledLine);
    const LRESULT styled = Door.EndStyled();
    if (styled < needed) Door.Colourise(static_cast<WPARAM>(LineStart(LineOf(styled))), needed);
  }
  int Count() const override { return count_; }
  std::string Text(int line) const override {
    const LRESULT start = Start(line);
    const LRESULT end = line + 1 < count_ ? Start(line + 1) : length_;
    size_t length = static_cast<size_t>(std::max<LRESULT>(0, end - start));
    const bool whole = length <= LongestLine;
    length = std::min(length, LongestLine);
    if (length == 0) return {};
    std::string_view text = Door.Range(start, start + static_cast<LRESULT>(length));
    while (whole && !text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    return std::string(text);
  }
  bool StartsInComment(int line) const override {
    return line > 0 && ZorvexStyles::IsBlockCommentStyle(Door.StyleAt(Start(line) - 1));
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
  Door.BeginUndoAction();
  for (const LineEdit& e : edits) {
    const LRESULT start = LineStart(e.line);
    Door.SetTargetRange(start + static_cast<LRESULT>(e.from), start + static_cast<LRESULT>(e.to));
    Door.ReplaceTarget(e.text);
  }
  Door.EndUndoAction();
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
  if (Door.Selections() > 1 || Door.SelectionIsRectangle()) return false;
  const LRESULT anchorAt = Door.Anchor();
  const LRESULT caretAt = Door.CurrentPos();
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
  Door.SetSel(PositionAfter(anchor, edits), PositionAfter(caret, edits));
}

void LineBreakTyped(LRESULT caret) {
  const int line = LineOf(caret);
  if (line == 0 || caret != LineStart(line)) return;
  const EditorLines lines(line - 1);
  const LineBreakIndent indent = IndentAfterLineBreak(lines, line, IndentStep(lines, line));
  if (!indent.edits.empty()) MakeEdits(indent.edits);
  const LRESULT at = LineStart(line) + static_cast<LRESULT>(indent.caretColumn);
  if (at != Door.CurrentPos()) Door.SetEmptySelection(at);
}

void WordEndTyped(LRESULT caret) {
  const Place place = PlaceOf(caret);
  if (place.column == 0) return;
  const EditorLines lines(place.line);
  const std::vector<LineEdit> edits = DedentCompletedWord(lines, place.line, place.column - 1);
  if (edits.empty()) return;
  MakeEdits(edits);
  Door.SetEmptySelection(PositionAfter(place, edits));
}

void SetUpHighlights() {
  if (HighlightsSetUpFor == Editor) return;
  HighlightsSetUpFor = Editor;
  Door.IndicSetStyle(BlockIndicator, Scintilla::IndicatorStyle::RoundBox);
  Door.IndicSetFore(BlockIndicator, RGB(68, 68, 255));
  Door.IndicSetAlpha(BlockIndicator, 40);
  Door.IndicSetOutlineAlpha(BlockIndicator, 120);
  Door.IndicSetUnder(BlockIndicator, true);
  // The brace styles draw the bracket in the text's own font and background.
  const std::string face = Door.StyleGetFont(0);
  const int size = Door.StyleGetSize(0);
  const ScintillaDoor::Colour back = Door.StyleGetBack(0);
  for (int style : {BraceLightStyle, BraceBadStyle}) {
    if (!face.empty()) Door.StyleSetFont(style, face);
    Door.StyleSetSize(style, size);
    Door.StyleSetBack(style, back);
    Door.StyleSetBold(style, true);
  }
  Door.StyleSetFore(BraceLightStyle, RGB(0, 0, 255));
  Door.StyleSetFore(BraceBadStyle, RGB(255, 0, 0));
}

void HighlightBracket(const EditorLines& lines, int line, LRESULT start, size_t column) {
  const BracketMatch match = MatchBracket(lines.Text(line), lines.StartsInComment(line), column);
  if (!match.found) {
    Door.BraceHighlight(Scintilla::InvalidPosition, Scintilla::InvalidPosition);
  } else if (match.matched) {
    Door.BraceHighlight(start + static_cast<LRESULT>(match.at), start + static_cast<LRESULT>(match.partner));
  } else {
    Door.BraceBadLight(start + static_cast<LRESULT>(match.at));
  }
}

void MarkBlockWords(const EditorLines& lines, int line, size_t column, bool textChanged) {
  std::vector<std::pair<LRESULT, LRESULT>> marks;
  for (const LineRange& r : MatchingBlockWords(lines, line, column, MatchReach)) {
    const LRESULT start = LineStart(r.line);
    marks.emplace_back(start + static_cast<LRESULT>(r.from), static_cast<LRESULT>(r.to - r.from));
  }
  if (marks == MarkedWords && !textChanged) return;
  Door.SetIndicatorCurrent(BlockIndicator);
  if (!MarkedWords.empty()) Door.IndicatorClearRange(0, Door.Length());
  for (const auto& [from, length] : marks) Door.IndicatorFillRange(from, length);
  MarkedWords = std::move(marks);
}

}  // namespace

void EditorCharAdded(int ch) {
  if (!Connect() || Door.Selections() > 1) return;
  const LRESULT caret = Door.CurrentPos();
  // A CR LF line break comes as two characters; the LF does the work.
  if (ch == '\n' || (ch == '\r' && Door.EOLMode() == Scintilla::EndOfLine::Cr)) {
    LineBreakTyped(caret);
  } else if (ch > 0 && ch < 128 && ch != '\r' && !IsWordChar(ch)) {
    WordEndTyped(caret);
  }
}

void EditorUpdateUi(bool textChanged, bool selectionChanged) {
  if ((!textChanged && !selectionChanged) || !Connect()) return;
  SetUpHighlights();
  const Place caret = PlaceOf(Door.CurrentPos());
  const EditorLines lines(caret.line);
  HighlightBracket(lines, caret.line, LineStart(caret.line), caret.column);
  MarkBlockWords(lines, caret.line, caret.column, textChanged);
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
  const int tabWidth = static_cast<int>(Door.TabWidth());
  EditLines(ShiftLines(lines, first, last, IndentStep(lines, first), outdent, tabWidth), anchor, caret);
  return true;
}

bool TypingMovesWordAtCaret(int ch) {
  if (!Connect() || ch <= 0 || ch >= 128 || Door.Selections() > 1) return false;
  const auto anchor = Door.Anchor();
  const auto caret = Door.CurrentPos();
  if (anchor != caret) return false;
  const Place place = PlaceOf(caret);
  return TypingMovesClosingWord(EditorLines(place.line), place.line, place.column, static_cast<char>(ch));
}
