// The tokenizer. A ';' separates items in print and input statements and starts a comment
// everywhere else, which is why the lexer follows where each statement starts. The word rem
// starts a comment wherever it stands.
#include "zorbasic/Lexer.h"

#include <array>
#include <charconv>
#include <cstring>

#include "language/CharClasses.h"
#include "zorbasic/Source.h"

namespace zb {

namespace {

constexpr std::string_view Keywords[] = {
    "", "and", "as", "bool", "break", "byref", "byval", "byte", "call", "case", "const", "continue",
    "dim", "do", "double", "dword", "else", "elseif", "end", "enddo", "endif", "endselect",
    "endwhile", "exit", "false", "float", "for", "function", "gosub", "goto", "if", "input", "int",
    "integer", "let", "long", "mbox", "mod", "msgbox", "next", "not", "or", "print", "redim",
    "repeat", "return", "select", "shl", "shr", "single", "step", "string", "sub", "terminate",
    "then", "to", "true", "type", "until", "wend", "while", "word", "xor",
};


bool IsOperator(unsigned char c) {
  static const auto table = [] {
    std::array<bool, 256> t{};
    for (unsigned char op : std::string_view("+-*/\\^&=<>(),;.")) t[op] = true;
    return t;
  }();
  return table[c];
}

}  // namespace

Kw KeywordOf(std::string_view name) {
  if (name.size() < 2 || name.size() > 9) return Kw::None;
  char low[10];
  for (size_t k = 0; k < name.size(); ++k) {
    char c = name[k];
    low[k] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  }
  std::string_view w(low, name.size());
  // The keywords are in alphabetical order: only those with the same first letter are compared.
  static const auto firsts = [] {
    std::array<uint8_t, 27> at{};
    for (size_t k = std::size(Keywords); k-- > 1;) at[Keywords[k][0] - 'a'] = static_cast<uint8_t>(k);
    return at;
  }();
  if (w[0] < 'a' || w[0] > 'z') return Kw::None;
  size_t k = firsts[w[0] - 'a'];
  if (k == 0) return Kw::None;
  for (; k < std::size(Keywords) && Keywords[k][0] == w[0]; ++k)
    if (Keywords[k] == w) return static_cast<Kw>(k);
  return Kw::None;
}

std::string_view KeywordText(Kw k) { return Keywords[static_cast<size_t>(k)]; }

Lexer::Lexer(std::string_view text, bool rawDirectives, bool inBlockComment)
    : text_(text), raw_(rawDirectives), inBlock_(inBlockComment) {}

Token Lexer::Make(Tok kind, size_t start) {
  Token t;
  t.kind = kind;
  t.line = line_;
  t.pos = static_cast<uint32_t>(start);
  t.len = static_cast<uint32_t>(p_ - start);
  return t;
}

void Lexer::SkipLineComment() {
  while (p_ < text_.size() && text_[p_] != '\n' && text_[p_] != '\r') ++p_;
}

// Skips to the end of a block comment; true when it held a line break.
bool Lexer::SkipBlockComment() {
  bool broke = false;
  while (p_ < text_.size()) {
    char c = text_[p_];
    if (c == '*' && p_ + 1 < text_.size() && text_[p_ + 1] == '/') {
      p_ += 2;
      inBlock_ = false;
      return broke;
    }
    if (c == '\n' || c == '\r') {
      if (c == '\r' && p_ + 1 < text_.size() && text_[p_ + 1] == '\n') ++p_;
      ++line_;
      broke = true;
    }
    ++p_;
  }
  return broke;
}

// Skips blanks and comments. Returns true with end set when a line break ended the statement
// inside a block comment.
bool Lexer::SkipBlanksAndComments(Token& end) {
  for (;;) {
    if (inBlock_) {
      size_t start = p_;
      int line = line_;
      if (SkipBlockComment()) {
        end = Make(Tok::End, start);
        end.line = line;
        stmtStart_ = lineStart_ = true;
        inPrint_ = false;
        return true;
      }
      if (inBlock_) return false;  // the text ended inside the comment
      continue;
    }
    if (p_ >= text_.size()) return false;
    unsigned char c = static_cast<unsigned char>(text_[p_]);
    if (IsBlank(c)) {
      ++p_;
    } else if (c == '\'') {
      SkipLineComment();
    } else if (c == ';' && !inPrint_) {
      SkipLineComment();
    } else if (c == '/' && p_ + 1 < text_.size() && text_[p_ + 1] == '/') {
      SkipLineComment();
    } else if (c == '/' && p_ + 1 < text_.size() && text_[p_ + 1] == '*') {
      p_ += 2;
      inBlock_ = true;
    } else if (c == '#' && lineStart_ && !raw_) {
      SkipLineComment();  // a directive line the preprocessor has dealt with
    } else {
      return false;
    }
  }
}

Token Lexer::Number() {
  size_t start = p_;
  if (text_[p_] == '0' && p_ + 2 < text_.size() && (text_[p_ + 1] == 'x' || text_[p_ + 1] == 'X') &&
      IsHexDigit(static_cast<unsigned char>(text_[p_ + 2]))) {
    p_ += 2;
    uint64_t v = 0;
    bool over = false;
    while (p_ < text_.size() && IsHexDigit(static_cast<unsigned char>(text_[p_]))) {
      char c = text_[p_++];
      int d = IsDigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 32) - 'a' + 10;
      if (v >> 60) over = true;
      v = v * 16 + static_cast<uint64_t>(d);
    }
    Token t = Make(Tok::Int, start);
    t.i = static_cast<int64_t>(v);
    if (over || v > static_cast<uint64_t>(INT64_MAX)) {
      t.kind = Tok::Bad;
      t.s = "hexadecimal number too large";
    }
    return t;
  }
  bool isFloat = false;
  while (p_ < text_.size() && IsDigit(static_cast<unsigned char>(text_[p_]))) ++p_;
  if (p_ + 1 < text_.size() && text_[p_] == '.' && IsDigit(static_cast<unsigned char>(text_[p_ + 1]))) {
    isFloat = true;
    ++p_;
    while (p_ < text_.size() && IsDigit(static_cast<unsigned char>(text_[p_]))) ++p_;
  } else if (p_ < text_.size() && text_[p_] == '.' && p_ > start) {
    isFloat = true;  // "3." reads as 3
    ++p_;
  }
  if (p_ < text_.size() && (text_[p_] == 'e' || text_[p_] == 'E')) {
    size_t q = p_ + 1;
    if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) ++q;
    if (q < text_.size() && IsDigit(static_cast<unsigned char>(text_[q]))) {
      isFloat = true;
      p_ = q;
      while (p_ < text_.size() && IsDigit(static_cast<unsigned char>(text_[p_]))) ++p_;
    }
  }
  Token t = Make(Tok::Int, start);
  if (raw_) return t;  // scanning the user's text needs no values
  const char* b = text_.data() + start;
  const char* e = text_.data() + p_;
  if (!isFloat) {
    auto r = std::from_chars(b, e, t.i);
    if (r.ec == std::errc()) return t;
  }
  t.kind = Tok::Float;
  auto r = std::from_chars(b, e, t.f);
  if (r.ec == std::errc::result_out_of_range) {
    t.kind = Tok::Bad;
    t.s = "number out of range";
  }
  return t;
}

Token Lexer::Quoted(char quote) {
  size_t start = p_++;
  std::string value;
  for (;;) {
    if (p_ >= text_.size() || text_[p_] == '\n' || text_[p_] == '\r') {
      Token t = Make(Tok::Bad, start);
      t.s = "unterminated string";
      return t;
    }
    char c = text_[p_++];
    if (c == quote) {
      if (quote == '"' && p_ < text_.size() && text_[p_] == '"') {
        value += '"';
        ++p_;
        continue;
      }
      break;
    }
    value += c;
  }
  Token t = Make(Tok::Str, start);
  t.s = std::move(value);
  return t;
}

Token Lexer::Next() {
  Token end;
  if (SkipBlanksAndComments(end)) return end;
  if (p_ >= text_.size()) {
    Token t = Make(Tok::Eof, p_);
    return t;
  }
  size_t start = p_;
  unsigned char c = static_cast<unsigned char>(text_[p_]);
  bool wasStart = stmtStart_;
  stmtStart_ = false;
  lineStart_ = false;
  if (c == '\n' || c == '\r') {
    ++p_;
    if (c == '\r' && p_ < text_.size() && text_[p_] == '\n') ++p_;
    Token t = Make(Tok::End, start);
    ++line_;
    stmtStart_ = lineStart_ = true;
    inPrint_ = false;
    return t;
  }
  if (c == ':') {
    ++p_;
    Token t = Make(Tok::End, start);
    t.colon = true;
    stmtStart_ = true;
    inPrint_ = false;
    return t;
  }
  if (IsNameStart(c) || (c == '#' && raw_ && p_ + 1 < text_.size() && IsNameStart(static_cast<unsigned char>(text_[p_ + 1])))) {
    ++p_;
    while (p_ < text_.size() && IsNameChar(static_cast<unsigned char>(text_[p_]))) ++p_;
    Token t = Make(Tok::Name, start);
    if (t.len == 3 && SameWord(Text(t), "rem")) {
      // The word rem starts a comment, as ' does; the line break after it still ends the statement.
      SkipLineComment();
      stmtStart_ = wasStart;
      return Next();
    }
    t.kw = c == '#' ? Kw::None : KeywordOf(Text(t));
    if (wasStart) inPrint_ = t.kw == Kw::Print || t.kw == Kw::Input;
    if (t.kw == Kw::Then || t.kw == Kw::Else) stmtStart_ = true;
    return t;
  }
  if (IsDigit(c) || (c == '.' && p_ + 1 < text_.size() && IsDigit(static_cast<unsigned char>(text_[p_ + 1])))) {
    return Number();
  }
  if (c == '"' || c == '`') return Quoted(static_cast<char>(c));
  ++p_;
  char op = static_cast<char>(c);
  if (c == '<' && p_ < text_.size() && text_[p_] == '>') op = OpNe, ++p_;
  else if (c == '<' && p_ < text_.size() && text_[p_] == '=') op = OpLe, ++p_;
  else if (c == '>' && p_ < text_.size() && text_[p_] == '=') op = OpGe, ++p_;
  else if (!IsOperator(c)) {
    Token t = Make(Tok::Bad, start);
    t.s = "unexpected character";
    return t;
  }
  Token t = Make(Tok::Op, start);
  t.op = op;
  return t;
}

bool EndsInBlockComment(std::string_view line, bool inBlockComment) {
  if (!inBlockComment && line.find('/') == std::string_view::npos) return false;
  Lexer lex(line, true, inBlockComment);
  for (;;) {
    Token t = lex.Next();
    if (t.kind == Tok::Eof) return lex.InBlockComment();
  }
}

}  // namespace zb
