// Reading a line of Zorvex Basic into tokens. A ";" separates the items of print and input and
// starts a comment everywhere else, which is why the reader follows where statements start (at
// the line start, behind ":" and behind then and else, as the toolchain's own reader does).
#include "language/LineTokens.h"
#include <algorithm>
#include "base/TextScan.h"
#include "language/CharClasses.h"

namespace {

bool IsOperator(char c) {
  return c != '\0' && std::string_view("+-*/\\=<>()[]{},.&|^!?@%$~").find(c) != std::string_view::npos;
}

class Reader {
 public:
  Reader(std::string_view line, LineRead& read) : s_(line), read_(read) {}

  void Run() {
    bool inComment = read_.startsInComment;
    while (p_ < s_.size()) {
      if (inComment) {
        inComment = BlockComment(p_, p_, false);
        continue;
      }
      const char c = s_[p_];
      if (IsBlank(static_cast<unsigned char>(c))) {
        ++p_;
      } else if (c == '/' && At(p_ + 1) == '*') {
        const bool doc = (At(p_ + 2) == '*' && At(p_ + 3) != '/') || At(p_ + 2) == '!';
        inComment = BlockComment(p_, p_ + 2, doc);  // from behind "/*": "/*/" does not close itself
      } else if (c == '\'' || (c == ';' && !inPrint_) || (c == '/' && At(p_ + 1) == '/')) {
        LineComment();
      } else if (c == '"' || c == '`') {
        Quoted(c);
      } else if (IsNameStart(static_cast<unsigned char>(c))) {
        Name();
      } else if (c == '#') {
        Code(TokenKind::Directive, NameEnd(p_ + 1));
      } else if (IsDigit(static_cast<unsigned char>(c)) || (c == '.' && IsDigit(static_cast<unsigned char>(At(p_ + 1))))) {
        Code(TokenKind::Number, NumberEnd());
      } else if (c == ':') {
        Code(TokenKind::Colon, p_ + 1);
        statementStart_ = true;
        inPrint_ = false;
      } else {
        Code(IsOperator(c) || c == ';' ? TokenKind::Operator : TokenKind::Other, p_ + 1);
      }
    }
    read_.endsInComment = inComment;
  }

 private:
  char At(size_t k) const { return k < s_.size() ? s_[k] : '\0'; }

  void Add(TokenKind kind, size_t end, bool open = false, bool doc = false, bool first = false) {
    read_.tokens.push_back({kind, open, doc, first, static_cast<uint32_t>(p_), static_cast<uint32_t>(end - p_)});
    p_ = end;
  }

  // Code up to end: the statement it may start is under way behind it.
  void Code(TokenKind kind, size_t end) {
    Add(kind, end, false, false, statementStart_);
    statementStart_ = false;
  }

  // A /* */ comment (or its part on this line) from start, its "*/" looked for from search;
  // true when it goes on past the line end.
  bool BlockComment(size_t start, size_t search, bool doc) {
    p_ = start;
    const size_t close = s_.find("*/", std::min(search, s_.size()));
    const bool open = close == std::string_view::npos;
    Add(TokenKind::BlockComment, open ? s_.size() : close + 2, open, doc);
    return open;
  }

  void LineComment() { Add(TokenKind::LineComment, s_.size()); }

  // "..." with "" inside, or `...`; neither goes on past the line end.
  void Quoted(char quote) {
    size_t q = p_ + 1;
    for (; q < s_.size(); ++q) {
      if (s_[q] != quote) continue;
      if (quote == '"' && At(q + 1) == '"') {
        ++q;
        continue;
      }
      break;
    }
    const bool open = q >= s_.size();
    Add(quote == '"' ? TokenKind::String : TokenKind::OtherQuote, open ? s_.size() : q + 1, open, false,
        statementStart_);
    statementStart_ = false;
  }

  size_t NameEnd(size_t from) const {
    while (from < s_.size() && IsNameChar(static_cast<unsigned char>(s_[from]))) ++from;
    return from;
  }

  // A name, or the word rem, which starts a comment wherever it stands. The first word of a
  // statement says whether ";" separates items (print, input); then and else start another.
  void Name() {
    const size_t end = NameEnd(p_);
    const std::string_view word = s_.substr(p_, end - p_);
    if (SameText(word, "rem")) return LineComment();
    if (statementStart_) inPrint_ = SameText(word, "print") || SameText(word, "input");
    Code(TokenKind::Name, end);
    statementStart_ = SameText(word, "then") || SameText(word, "else");
  }

  // Decimal digits with a fraction and an exponent, or "0x" and hexadecimal digits.
  size_t NumberEnd() const {
    size_t q = p_;
    if (s_[q] == '0' && (At(q + 1) == 'x' || At(q + 1) == 'X') && IsHexDigit(static_cast<unsigned char>(At(q + 2)))) {
      for (q += 2; IsHexDigit(static_cast<unsigned char>(At(q)));) ++q;
      return q;
    }
    while (IsDigit(static_cast<unsigned char>(At(q)))) ++q;
    if (At(q) == '.' && (IsDigit(static_cast<unsigned char>(At(q + 1))) || q > p_)) {
      for (++q; IsDigit(static_cast<unsigned char>(At(q)));) ++q;
    }
    if (At(q) == 'e' || At(q) == 'E') {
      size_t e = q + 1;
      if (At(e) == '+' || At(e) == '-') ++e;
      if (IsDigit(static_cast<unsigned char>(At(e)))) {
        for (q = e; IsDigit(static_cast<unsigned char>(At(q)));) ++q;
      }
    }
    return q;
  }

  std::string_view s_;
  LineRead& read_;
  size_t p_ = 0;
  bool statementStart_ = true;
  bool inPrint_ = false;
};

}  // namespace

bool LineRead::EndsInString() const {
  return !tokens.empty() && tokens.back().open &&
         (tokens.back().kind == TokenKind::String || tokens.back().kind == TokenKind::OtherQuote);
}

bool LineRead::IsDirectiveLine() const {
  return !startsInComment && !tokens.empty() && tokens.front().kind == TokenKind::Directive;
}

size_t LineRead::FirstCode() const {
  size_t k = 0;
  while (k < tokens.size() && !tokens[k].IsCode()) ++k;
  return k;
}

void ReadLine(std::string_view line, bool startsInComment, LineRead& read) {
  read.tokens.clear();
  read.startsInComment = startsInComment;
  read.endsInComment = false;
  Reader(line, read).Run();
}

LineRead ReadLine(std::string_view line, bool startsInComment) {
  LineRead read;
  ReadLine(line, startsInComment, read);
  return read;
}
