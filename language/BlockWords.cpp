// The block structure of the statements on a line.
#include "language/BlockWords.h"
#include <algorithm>
#include "base/TextScan.h"

namespace {

struct WordRole {
  std::string_view word;
  BlockKind kind;
  BlockRole role;
};
constexpr WordRole SingleWords[] = {
    {"sub", BlockKind::Sub, BlockRole::Open},          {"function", BlockKind::Function, BlockRole::Open},
    {"type", BlockKind::Type, BlockRole::Open},        {"for", BlockKind::For, BlockRole::Open},
    {"while", BlockKind::While, BlockRole::Open},      {"do", BlockKind::Do, BlockRole::Open},
    {"repeat", BlockKind::Repeat, BlockRole::Open},    {"select", BlockKind::Select, BlockRole::Open},
    {"else", BlockKind::If, BlockRole::Continue},
    {"case", BlockKind::Select, BlockRole::Continue},  {"endif", BlockKind::If, BlockRole::Close},
    {"endselect", BlockKind::Select, BlockRole::Close}, {"endwhile", BlockKind::While, BlockRole::Close},
    {"enddo", BlockKind::Do, BlockRole::Close},        {"wend", BlockKind::While, BlockRole::Close},
    {"next", BlockKind::For, BlockRole::Close},        {"until", BlockKind::Repeat, BlockRole::Close},
};
// The words that follow "end" to close a block.
constexpr WordRole EndWords[] = {
    {"if", BlockKind::If, BlockRole::Close},         {"sub", BlockKind::Sub, BlockRole::Close},
    {"function", BlockKind::Function, BlockRole::Close}, {"type", BlockKind::Type, BlockRole::Close},
    {"select", BlockKind::Select, BlockRole::Close}, {"while", BlockKind::While, BlockRole::Close},
    {"do", BlockKind::Do, BlockRole::Close},
};

// The directives that leave a part of the text in or out of a compile.
constexpr WordRole DirectiveWords[] = {
    {"#if", BlockKind::Directive, BlockRole::Open},        {"#ifdef", BlockKind::Directive, BlockRole::Open},
    {"#ifndef", BlockKind::Directive, BlockRole::Open},    {"#else", BlockKind::Directive, BlockRole::Continue},
    {"#elseif", BlockKind::Directive, BlockRole::Continue}, {"#endif", BlockKind::Directive, BlockRole::Close},
};

template <size_t N>
const WordRole* RoleOf(std::string_view word, const WordRole (&table)[N]) {
  for (const WordRole& r : table)
    if (SameText(word, r.word)) return &r;
  return nullptr;
}

// The code tokens of a line, one statement after the other.
class Statements {
 public:
  Statements(std::string_view line, const LineRead& read) : line_(line), t_(read.tokens) {}
  // The code token after k.
  size_t Next(size_t k) const {
    do ++k;
    while (k < t_.size() && !t_[k].IsCode());
    return k;
  }
  bool End(size_t k) const { return k >= t_.size(); }
  // Whether k is a name (a keyword) that is word, ignoring letter case.
  bool IsWord(size_t k, std::string_view word) const {
    return k < t_.size() && t_[k].kind == TokenKind::Name && SameText(Text(k), word);
  }
  std::string_view Text(size_t k) const { return t_[k].In(line_); }
  // The "then" of the if statement that starts at k; End when the statement has none.
  size_t Then(size_t k) const {
    for (k = Next(k); !End(k) && !t_[k].statementStart && t_[k].kind != TokenKind::Colon; k = Next(k))
      if (IsWord(k, "then")) return k;
    return t_.size();
  }
  const LineToken& operator[](size_t k) const { return t_[k]; }

 private:
  std::string_view line_;
  const std::vector<LineToken>& t_;
};

}  // namespace

TextLines::TextLines(std::string_view text) : text_(text) {
  size_t start = 0;
  for (size_t p = 0; p < text.size(); ++p) {
    if (text[p] != '\r' && text[p] != '\n') continue;
    starts_.push_back(start);
    ends_.push_back(p);
    if (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n') ++p;
    start = p + 1;
  }
  starts_.push_back(start);
  ends_.push_back(text.size());
  bool inComment = false;
  LineRead read;
  for (size_t k = 0; k < starts_.size(); ++k) {
    inComment_.push_back(inComment);
    ReadLine(text_.substr(starts_[k], ends_[k] - starts_[k]), inComment, read);
    inComment = read.endsInComment;
  }
}

std::string TextLines::Text(int line) const {
  const size_t k = static_cast<size_t>(line);
  return std::string(text_.substr(starts_[k], ends_[k] - starts_[k]));
}

std::vector<BlockWord> BlockWordsOf(std::string_view line, const LineRead& read, bool directives) {
  std::vector<BlockWord> words;
  const Statements t(line, read);
  auto add = [&](const WordRole& r, size_t first, size_t last) {
    words.push_back({r.kind, r.role, t[first].start, size_t(t[last].start) + t[last].length});
  };
  for (size_t i = read.FirstCode(); !t.End(i); i = t.Next(i)) {
    if (!t[i].statementStart) continue;
    if (t[i].kind == TokenKind::Directive) {
      if (const WordRole* r = directives ? RoleOf(t.Text(i), DirectiveWords) : nullptr) add(*r, i, i);
      continue;
    }
    if (t.IsWord(i, "if") || t.IsWord(i, "elseif")) {
      const size_t then = t.Then(i);
      if (!t.End(then) && !t.End(t.Next(then))) return words;  // a one-line if: the rest of the line is its own
      const bool opens = t.IsWord(i, "if");
      // An if opens a block only with its then; an elseif goes on with the block as it is typed.
      if (!opens || !t.End(then))
        add(WordRole{"", BlockKind::If, opens ? BlockRole::Open : BlockRole::Continue}, i, i);
    } else if (t.IsWord(i, "end")) {
      const size_t second = t.Next(i);
      const WordRole* r = !t.End(second) && t[second].kind == TokenKind::Name && !t[second].statementStart
                              ? RoleOf(t.Text(second), EndWords)
                              : nullptr;
      if (r) add(*r, i, second);
    } else if (const WordRole* r = t[i].kind == TokenKind::Name ? RoleOf(t.Text(i), SingleWords) : nullptr) {
      add(*r, i, i);
    }
  }
  return words;
}

bool OpensBlock(const std::vector<BlockWord>& words) {
  int depth = 0;
  bool continued = false;  // the line goes on with a block opened above it
  for (const BlockWord& w : words) {
    if (w.role == BlockRole::Open) {
      ++depth;
    } else if (w.role == BlockRole::Continue) {
      if (depth == 0) continued = true;
    } else if (depth > 0) {
      --depth;
    } else {
      continued = false;
    }
  }
  return depth > 0 || continued;
}

BlockWordAt FindOpener(const SourceLines& lines, int line, size_t index, BlockKind kind, int maxLines) {
  std::vector<BlockKind> closed;  // blocks closed below, innermost last
  const int last = std::max(0, line - maxLines);
  for (int l = line; l >= last; --l) {
    const std::string text = lines.Text(l);
    const std::vector<BlockWord> words = BlockWordsOf(text, ReadLine(text, lines.StartsInComment(l)));
    for (size_t k = l == line ? std::min(index, words.size()) : words.size(); k-- > 0;) {
      const BlockWord& w = words[k];
      if (w.role == BlockRole::Close) {
        closed.push_back(w.kind);
      } else if (w.role == BlockRole::Open) {
        if (closed.empty()) {
          if (w.kind == kind) return {l, k, w};
        } else if (closed.back() == w.kind) {
          closed.pop_back();
        }
      }
    }
  }
  return {};
}

std::string_view LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
  return line.substr(0, n);
}
