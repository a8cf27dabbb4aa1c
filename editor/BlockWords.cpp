// Reading Zorvex Basic lines for the editing aids: tokens outside strings and comments, and
// the block structure of the statements on a line.
#include "editor/BlockWords.h"
#include <algorithm>

namespace {

bool IsWordStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '#' || c >= 128;
}
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(unsigned char c) { return IsWordStart(c) || IsDigit(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsBracket(char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; }

// Whether text is the lower-case word, ignoring the case of A to Z.
bool IsWord(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t k = 0; k < text.size(); ++k) {
    char c = text[k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[k]) return false;
  }
  return true;
}

// The end of a string that starts at p (behind its closing quote), or npos when the line ends
// first; "" inside a double-quoted string stands for one quote.
size_t StringEnd(std::string_view line, size_t p) {
  const char quote = line[p];
  for (size_t q = p + 1; q < line.size(); ++q) {
    if (line[q] != quote) continue;
    if (quote == '"' && q + 1 < line.size() && line[q + 1] == '"') {
      ++q;
      continue;
    }
    return q + 1;
  }
  return std::string_view::npos;
}

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
    {"else", BlockKind::If, BlockRole::Continue},      {"elseif", BlockKind::If, BlockRole::Continue},
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

template <size_t N>
const WordRole* RoleOf(std::string_view word, const WordRole (&table)[N]) {
  for (const WordRole& r : table)
    if (IsWord(word, r.word)) return &r;
  return nullptr;
}

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
  for (size_t k = 0; k < starts_.size(); ++k) {
    inComment_.push_back(inComment);
    inComment = ScanLine(text_.substr(starts_[k], ends_[k] - starts_[k]), inComment).endsInComment;
  }
}

std::string TextLines::Text(int line) const {
  const size_t k = static_cast<size_t>(line);
  return std::string(text_.substr(starts_[k], ends_[k] - starts_[k]));
}

LineScan ScanLine(std::string_view line, bool startsInComment) {
  LineScan scan;
  bool inComment = startsInComment;
  bool statementStart = true;
  bool inPrint = false;  // a ";" separates the items of print and input
  size_t p = 0;
  const size_t n = line.size();
  auto add = [&](TokenKind kind, size_t start, size_t end) {
    scan.tokens.push_back({kind, start, end - start});
    statementStart = kind == TokenKind::Colon;
    if (statementStart) inPrint = false;
  };
  while (p < n) {
    if (inComment) {
      const size_t close = line.find("*/", p);
      if (close == std::string_view::npos) break;
      inComment = false;
      p = close + 2;
      continue;
    }
    const char c = line[p];
    const char next = p + 1 < n ? line[p + 1] : '\0';
    if (IsBlank(c)) {
      ++p;
    } else if (c == '\'' || (c == ';' && !inPrint) || (c == '/' && next == '/')) {
      break;
    } else if (c == '/' && next == '*') {
      inComment = true;
      p += 2;
    } else if (c == '"' || c == '`') {
      const size_t end = StringEnd(line, p);
      if (end == std::string_view::npos) {
        scan.endsInString = true;
        add(TokenKind::Other, p, n);
        break;
      }
      add(TokenKind::Other, p, end);
      p = end;
    } else if (IsWordStart(static_cast<unsigned char>(c))) {
      size_t end = p;
      while (end < n && IsWordChar(static_cast<unsigned char>(line[end]))) ++end;
      const std::string_view word = line.substr(p, end - p);
      if (IsWord(word, "rem")) break;
      const bool first = statementStart;
      add(TokenKind::Word, p, end);
      if (first) inPrint = IsWord(word, "print") || IsWord(word, "input");
      p = end;
    } else if (IsDigit(static_cast<unsigned char>(c))) {
      size_t end = p;
      while (end < n && (IsWordChar(static_cast<unsigned char>(line[end])) || line[end] == '.')) ++end;
      add(TokenKind::Other, p, end);
      p = end;
    } else {
      add(c == ':' ? TokenKind::Colon : IsBracket(c) ? TokenKind::Bracket : TokenKind::Other, p, p + 1);
      ++p;
    }
  }
  scan.endsInComment = inComment;
  return scan;
}

std::vector<BlockWord> BlockWordsOf(std::string_view line, const LineScan& scan) {
  std::vector<BlockWord> words;
  const std::vector<CodeToken>& t = scan.tokens;
  auto text = [&](size_t k) { return line.substr(t[k].start, t[k].length); };
  auto isWord = [&](size_t k, size_t end) { return k < end && t[k].kind == TokenKind::Word; };
  for (size_t i = 0; i < t.size();) {
    size_t end = i;
    while (end < t.size() && t[end].kind != TokenKind::Colon) ++end;
    if (isWord(i, end)) {
      const std::string_view first = text(i);
      auto add = [&](BlockKind kind, BlockRole role, size_t last) {
        words.push_back({kind, role, t[i].start, t[last].start + t[last].length});
      };
      if (IsWord(first, "if")) {
        size_t then = i + 1;
        while (then < end && !(t[then].kind == TokenKind::Word && IsWord(text(then), "then"))) ++then;
        if (then < end && then + 1 == t.size()) {
          add(BlockKind::If, BlockRole::Open, i);
        } else if (then < end) {
          return words;  // a one-line if: the rest of the line is its own
        }
      } else if (IsWord(first, "end")) {
        const WordRole* r = isWord(i + 1, end) ? RoleOf(text(i + 1), EndWords) : nullptr;
        if (r) add(r->kind, r->role, i + 1);
      } else if (const WordRole* r = RoleOf(first, SingleWords)) {
        add(r->kind, r->role, i);
      }
    }
    i = end + 1;
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
    const std::vector<BlockWord> words = BlockWordsOf(text, ScanLine(text, lines.StartsInComment(l)));
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
