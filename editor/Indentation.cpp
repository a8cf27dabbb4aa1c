// Indentation rules of the editor for Zorvex Basic.
#include "editor/Indentation.h"
#include <algorithm>

namespace {

// How many lines the step is looked for in, at the top and above the caret.
constexpr int StepReach = 1000;

bool IsBlankLine(std::string_view text) { return LeadingBlanks(text).size() == text.size(); }

// A step seen on lines first..end: the indentation that the first non-blank line below an
// opener adds to the opener's. The line being indented (skip) shows none.
std::string StepIn(const SourceLines& lines, int first, int end, int skip) {
  bool inComment = lines.StartsInComment(first);
  for (int l = first; l < end; ++l) {
    const std::string text = lines.Text(l);
    const LineRead scan = ReadLine(text, inComment);
    inComment = scan.endsInComment;
    if (!OpensBlock(BlockWordsOf(text, scan))) continue;
    int below = l + 1;
    std::string next;
    while (below < end && IsBlankLine(next = lines.Text(below))) ++below;
    if (below >= end) break;
    if (below == skip) continue;
    const std::string_view outer = LeadingBlanks(text);
    const std::string_view inner = LeadingBlanks(next);
    if (inner.size() <= outer.size() || inner.substr(0, outer.size()) != outer) continue;
    const std::string_view extra = inner.substr(outer.size());
    if (extra == "\t" || (extra.size() <= 8 && extra.find('\t') == std::string_view::npos))
      return std::string(extra);
  }
  return {};
}

// The block word a line starts with when it closes or continues a block, else null.
const BlockWord* LeadingCloser(const LineRead& scan, const std::vector<BlockWord>& words) {
  const size_t first = scan.FirstCode();
  if (words.empty() || words[0].role == BlockRole::Open || first >= scan.tokens.size()) return nullptr;
  return scan.tokens[first].start == words[0].start ? &words[0] : nullptr;
}

// Sets indent to that of the opener of the block that word (on line, at index) closes or
// continues; false when the opener is out of reach.
bool OpenerIndent(const SourceLines& lines, int line, size_t index, const BlockWord& word, std::string& indent) {
  const BlockWordAt opener = FindOpener(lines, line, index, word.kind, OpenerReach);
  if (opener.line < 0) return false;
  indent = std::string(LeadingBlanks(lines.Text(opener.line)));
  return true;
}

// The indentation a line below line gets from it: its own, one step more when it opens a block.
std::string IndentBelow(const SourceLines& lines, int line, std::string_view step) {
  const std::string text = lines.Text(line);
  const LineRead scan = ReadLine(text, lines.StartsInComment(line));
  return std::string(LeadingBlanks(text)) + (OpensBlock(BlockWordsOf(text, scan)) ? std::string(step) : std::string());
}

// An empty line holds no indentation of its own: a new line below it is indented as below the
// nearest line above that holds any text (within reach), none at the top.
std::string IndentBelowEmptyLines(const SourceLines& lines, int empty, std::string_view step) {
  for (int line = empty - 1; line >= 0 && line >= empty - OpenerReach; --line)
    if (!IsBlankLine(lines.Text(line))) return IndentBelow(lines, line, step);
  return {};
}

}  // namespace

std::string IndentStep(const SourceLines& lines, int nearLine) {
  const int count = lines.Count();
  const int top = std::min(count, StepReach);
  std::string step = StepIn(lines, 0, top, nearLine);
  const int from = std::max(top, nearLine - StepReach);
  if (step.empty() && from < std::min(nearLine, count)) step = StepIn(lines, from, std::min(nearLine, count), nearLine);
  return step.empty() ? std::string("  ") : step;
}

LineBreakIndent IndentAfterLineBreak(const SourceLines& lines, int line, std::string_view step) {
  LineBreakIndent result;
  if (line <= 0 || line >= lines.Count()) return result;
  const int above = line - 1;
  const std::string aboveText = lines.Text(above);
  const LineRead aboveScan = ReadLine(aboveText, lines.StartsInComment(above));
  if (aboveScan.EndsInString()) return result;
  const std::vector<BlockWord> aboveWords = BlockWordsOf(aboveText, aboveScan);
  std::string aboveIndent(LeadingBlanks(aboveText));
  // The line break completed a closing word that ends the line above.
  const BlockWord* closer = LeadingCloser(aboveScan, aboveWords);
  std::string indent;
  if (closer && closer->end == aboveText.size() && OpenerIndent(lines, above, 0, *closer, indent) &&
      indent != aboveIndent) {
    result.edits.push_back({above, 0, aboveIndent.size(), indent});
    aboveIndent = indent;
  }
  const std::string text = lines.Text(line);
  const LineRead scan = ReadLine(text, aboveScan.endsInComment);
  const std::vector<BlockWord> words = BlockWordsOf(text, scan);
  closer = LeadingCloser(scan, words);
  const size_t blanks = LeadingBlanks(text).size();
  const bool toOpener = closer && OpenerIndent(lines, above, aboveWords.size(), *closer, indent);
  if (!toOpener && aboveText.empty() && IsBlankLine(text)) {
    indent = IndentBelowEmptyLines(lines, above, step);  // Enter on an empty line
  } else if (!toOpener && IsBlankLine(aboveText)) {
    indent = aboveText + text.substr(0, blanks);  // the break went into the indentation: all of it stays
  } else if (!toOpener) {
    indent = aboveIndent + (OpensBlock(aboveWords) ? std::string(step) : std::string());
  }
  if (text.substr(0, blanks) != indent) result.edits.push_back({line, 0, blanks, indent});
  result.caretColumn = indent.size();
  return result;
}

std::vector<LineEdit> DedentCompletedWord(const SourceLines& lines, int line, size_t column) {
  if (line < 0 || line >= lines.Count()) return {};
  const std::string text = lines.Text(line);
  if (column >= text.size()) return {};
  const LineRead scan = ReadLine(text, lines.StartsInComment(line));
  const std::vector<BlockWord> words = BlockWordsOf(text, scan);
  const BlockWord* closer = LeadingCloser(scan, words);
  std::string indent;
  if (!closer || closer->end != column || !OpenerIndent(lines, line, 0, *closer, indent)) return {};
  const size_t blanks = LeadingBlanks(text).size();
  if (text.substr(0, blanks) == indent) return {};
  return {{line, 0, blanks, indent}};
}

std::vector<LineEdit> ShiftLines(const SourceLines& lines, int first, int last, std::string_view step,
                                 bool outdent, int tabWidth) {
  std::vector<LineEdit> edits;
  const size_t width = step == "\t" ? static_cast<size_t>(std::max(1, tabWidth)) : step.size();
  for (int l = std::max(0, first); l <= last && l < lines.Count(); ++l) {
    const std::string text = lines.Text(l);
    if (IsBlankLine(text)) continue;
    if (!outdent) {
      edits.push_back({l, 0, 0, std::string(step)});
      continue;
    }
    const std::string_view lead = LeadingBlanks(text);
    size_t cut = 0;
    if (!step.empty() && lead.substr(0, step.size()) == step) {
      cut = step.size();
    } else if (!lead.empty() && lead[0] == '\t') {
      cut = 1;
    } else {
      while (cut < lead.size() && cut < width && lead[cut] == ' ') ++cut;
    }
    if (cut > 0) edits.push_back({l, 0, cut, ""});
  }
  return edits;
}
