// Matching block words and brackets.
#include "editor/BlockMatch.h"
#include <algorithm>
#include <string>

namespace {

LineRange RangeOf(int line, const BlockWord& w) { return {line, w.start, w.end}; }

// The words of the block whose opener is at line, index, read downwards up to line last.
std::vector<LineRange> BlockFrom(const SourceLines& lines, int line, size_t index, int last) {
  std::vector<LineRange> found;
  std::vector<BlockKind> open;  // blocks opened inside, innermost last
  bool inComment = lines.StartsInComment(line);
  BlockKind kind = BlockKind::Sub;
  for (int l = line; l <= last && l < lines.Count(); ++l) {
    const std::string text = lines.Text(l);
    const LineRead scan = ReadLine(text, inComment);
    inComment = scan.endsInComment;
    const std::vector<BlockWord> words = BlockWordsOf(text, scan);
    for (size_t k = l == line ? index : 0; k < words.size(); ++k) {
      const BlockWord& w = words[k];
      if (found.empty()) {
        kind = w.kind;
        found.push_back(RangeOf(l, w));
        continue;
      }
      if (w.role == BlockRole::Open) {
        open.push_back(w.kind);
        continue;
      }
      if (!open.empty()) {
        if (w.role != BlockRole::Close) continue;
        // A closer of a block opened inside closes it and those left open within it; one of no
        // block opened inside closes an outer block, and the inner ones were never closed.
        auto match = std::find(open.rbegin(), open.rend(), w.kind);
        if (match != open.rend()) {
          open.erase(std::prev(match.base()), open.end());
          continue;
        }
        open.clear();
      }
      if (w.kind == kind) {
        found.push_back(RangeOf(l, w));
        if (w.role == BlockRole::Close) return found;
      } else if (w.role == BlockRole::Close) {
        return found;  // the block around it ends: this one was never closed
      }
    }
  }
  return found;
}

bool IsBracket(char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; }
bool IsOpening(char c) { return c == '(' || c == '[' || c == '{'; }
char PartnerOf(char c) {
  switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    default: return '{';
  }
}

}  // namespace

std::vector<LineRange> MatchingBlockWords(const SourceLines& lines, int line, size_t column, int maxLines) {
  if (line < 0 || line >= lines.Count()) return {};
  const std::string text = lines.Text(line);
  const std::vector<BlockWord> words = BlockWordsOf(text, ReadLine(text, lines.StartsInComment(line)));
  auto on = std::find_if(words.begin(), words.end(),
                         [&](const BlockWord& w) { return w.start <= column && column <= w.end; });
  if (on == words.end()) return {};
  const size_t index = static_cast<size_t>(on - words.begin());
  if (on->role == BlockRole::Open) return BlockFrom(lines, line, index, line + maxLines);
  const BlockWordAt opener = FindOpener(lines, line, index, on->kind, maxLines);
  if (opener.line < 0) return {};
  return BlockFrom(lines, opener.line, opener.index, line + maxLines);
}

BracketMatch MatchBracket(std::string_view line, bool startsInComment, size_t column) {
  BracketMatch match;
  std::vector<size_t> brackets;
  for (const LineToken& t : ReadLine(line, startsInComment).tokens)
    if (t.kind == TokenKind::Operator && IsBracket(line[t.start])) brackets.push_back(t.start);
  auto at = std::find(brackets.begin(), brackets.end(), column - 1);
  if (column == 0 || at == brackets.end()) at = std::find(brackets.begin(), brackets.end(), column);
  if (at == brackets.end()) return match;
  match.found = true;
  match.at = *at;
  const char bracket = line[*at];
  const char partner = PartnerOf(bracket);
  int depth = 0;
  auto step = [&](size_t p) {
    if (line[p] == bracket) ++depth;
    if (line[p] == partner && --depth == 0) {
      match.matched = true;
      match.partner = p;
      return true;
    }
    return false;
  };
  if (IsOpening(bracket)) {
    for (auto k = at; k != brackets.end(); ++k)
      if (step(*k)) break;
  } else {
    for (auto k = at + 1; k-- != brackets.begin();)
      if (step(*k)) break;
  }
  return match;
}
