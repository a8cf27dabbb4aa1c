// Turns source text into tokens: names and keywords, numbers, strings, operators and
// statement ends; comments and blanks are skipped.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

enum class Tok : uint8_t { Name, Int, Float, Str, Op, End, Eof, Bad };

// Keywords; None for a plain name.
enum class Kw : uint8_t {
  None, And, As, Bool, Break, Byref, Byval, Byte, Call, Case, Const, Continue, Dim, Do, Double,
  Dword, Else, Elseif, End, Enddo, Endif, Endselect, Endwhile, Exit, False, Float, For, Function,
  Gosub, Goto, If, Input, Int, Integer, Let, Long, Mbox, Mod, Msgbox, Next, Not, Or, Print, Redim,
  Repeat, Return, Select, Shl, Shr, Single, Step, String, Sub, Terminate, Then, To, True, Type,
  Until, Wend, While, Word, Xor,
};

Kw KeywordOf(std::string_view name);
// Every keyword in lower case, in the order of Kw (index 0 is empty).
std::string_view KeywordText(Kw k);

// Two-character operators are coded as single letters.
constexpr char OpNe = 'N', OpLe = 'L', OpGe = 'G';

struct Token {
  Tok kind = Tok::Eof;
  Kw kw = Kw::None;
  char op = 0;
  bool colon = false;  // End: a ':' rather than a line break
  int line = 0;        // 0-based line of the text
  uint32_t pos = 0, len = 0;
  int64_t i = 0;
  double f = 0;
  std::string s;  // string literal's value, or a Bad token's message
};

class Lexer {
 public:
  // rawDirectives: '#' followed by letters reads as one name ("#define"), for scanning the
  // user's own text; otherwise a line starting with '#' is skipped whole.
  Lexer(std::string_view text, bool rawDirectives = false, bool inBlockComment = false);
  Token Next();
  bool InBlockComment() const { return inBlock_; }
  std::string_view Text(const Token& t) const { return text_.substr(t.pos, t.len); }

 private:
  bool SkipBlanksAndComments(Token& end);
  void SkipLineComment();
  bool SkipBlockComment();
  Token Number();
  Token Quoted(char quote);
  Token Make(Tok kind, size_t start);

  std::string_view text_;
  size_t p_ = 0;
  int line_ = 0;
  bool raw_;
  bool inBlock_;
  bool stmtStart_ = true;
  bool lineStart_ = true;
  bool inPrint_ = false;
};

// Whether a block comment is still open at the end of one line, given the state at its start.
bool EndsInBlockComment(std::string_view line, bool inBlockComment);

}  // namespace zb
