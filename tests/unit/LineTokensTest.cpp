// The one reader of Basic lines, on the lines its readers used to read each its own way: the
// colouring lexer, the block words of the editing aids, the name finder and the toolchain.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "editor/Comments.h"
#include "language/BlockWords.h"
#include "language/LineTokens.h"
#include "language/Names.h"
#include "zorbasic/Lexer.h"

namespace {

// The tokens of a line, each as a letter and its text; "^" before a token that starts a
// statement, "+" behind one that goes on past the line end.
std::string Shown(std::string_view line, bool startsInComment = false) {
  std::string shown;
  for (const LineToken& t : ReadLine(line, startsInComment).tokens) {
    static const char letters[] = "n#9s`o:lc?";  // Name, Directive, Number, String, OtherQuote ... Other
    if (!shown.empty()) shown += ' ';
    if (t.statementStart) shown += '^';
    shown += letters[static_cast<int>(t.kind)];
    shown += '[' + std::string(t.In(line)) + ']';
    if (t.open) shown += '+';
  }
  return shown;
}

struct Row {
  const char* what;
  const char* line;
  const char* tokens;
};

}  // namespace

TEST(LineTokens, ReadsEveryKindOfToken) {
  const Row rows[] = {
      {"names, numbers and operators", "x1 = .5 + 3. * 2e10 - 0x1F",
       "^n[x1] o[=] 9[.5] o[+] 9[3.] o[*] 9[2e10] o[-] 9[0x1F]"},
      {"a number ends where the toolchain ends it", "y = 12abc + 1e", "^n[y] o[=] 9[12] n[abc] o[+] 9[1] n[e]"},
      {"strings with doubled quotes, and back quotes", "s = \"a \"\"b\"\"\" + `c`",
       "^n[s] o[=] s[\"a \"\"b\"\"\"] o[+] `[`c`]"},
      {"an unclosed string ends with its line", "print \"abc", "^n[print] s[\"abc]+"},
      {"every line comment", "a ' b", "^n[a] l[' b]"},
      {"// and rem", "a // b : rem", "^n[a] l[// b : rem]"},
      {"rem of any case ends a statement's code", "x = 1 REM note", "^n[x] o[=] 9[1] l[REM note]"},
      {"a longer word is a name", "remark = 1", "^n[remark] o[=] 9[1]"},
      {"block comments, documentation ones too", "a /** d */ b /*! e", "^n[a] c[/** d */] n[b] c[/*! e]+"},
      {"/*/ does not close itself", "/*/ x */ y", "c[/*/ x */] ^n[y]"},
      {"a line that starts in a comment", "still */ x", "c[still */] ^n[x]"},
      {"directives", "#include \"a.inc\"", "^#[#include] s[\"a.inc\"]"},
      {"statements after : then and else", "if a then b : c else d", "^n[if] n[a] n[then] ^n[b] :[:] ^n[c] n[else] ^n[d]"},
      {"bytes of another alphabet are no name characters", "x\xe9y", "^n[x] ?[\xe9] n[y]"},
  };
  for (const Row& r : rows) {
    const bool inComment = std::string_view(r.what) == "a line that starts in a comment";
    EXPECT_EQ(Shown(r.line, inComment), r.tokens) << r.what;
  }
}

// Where the readers disagreed, each row the way the toolchain reads the line: the colouring
// lexer took every ";" for a comment, the block words started no statement behind then and
// took "12abc" and "rem#x" for one word each, the name finder read "# include" as an include.
TEST(LineTokens, ReadsTheLinesItsReadersDisagreedOnAsTheToolchainDoes) {
  const Row rows[] = {
      {"; between print items is code, and a for behind it opens a block", "print a; : for i = 1 to 3",
       "^n[print] n[a] o[;] :[:] ^n[for] n[i] o[=] 9[1] n[to] 9[3]"},
      {"; starts a comment outside print and input", "x = 1 ; for i = 1 to 3", "^n[x] o[=] 9[1] l[; for i = 1 to 3]"},
      {"a print behind then separates its items too", "if a then print x; y", "^n[if] n[a] n[then] ^n[print] n[x] o[;] n[y]"},
      {"rem ends where a name ends", "x = 1 rem#note", "^n[x] o[=] 9[1] l[rem#note]"},
      {"a # apart from its name is no directive word", "# include \"a.inc\"", "^#[#] n[include] s[\"a.inc\"]"},
  };
  for (const Row& r : rows) EXPECT_EQ(Shown(r.line), r.tokens) << r.what;
  // What the readers made of them: the block words and the folds see the for, the comment
  // marks see the ";", the name finder no include.
  const std::string printed = "print a; : for i = 1 to 3";
  EXPECT_EQ(BlockWordsOf(printed, ReadLine(printed, false)).size(), 1u);
  EXPECT_EQ(CommentMarkLength("  ; x"), 2u);
  EXPECT_EQ(CommentMarkLength("print a; b"), 0u);
  EXPECT_EQ(CommentMarkLength("rem#x"), 3u);
  NameIndex index;
  ScanNames(index, "# include \"a.inc\"\r\n#include \"b.inc\"\r\n");
  ASSERT_EQ(IncludesOf(index).size(), 1u);
  EXPECT_EQ(IncludesOf(index)[0].name, "b.inc");
}

// The names, numbers and strings the IDE reads on a line are the ones the toolchain reads.
TEST(LineTokens, FindsTheNamesNumbersAndStringsTheToolchainFinds) {
  auto ide = [](std::string_view line) {
    std::vector<std::string> found;
    for (const LineToken& t : ReadLine(line, false).tokens)
      if (t.kind == TokenKind::Name || t.kind == TokenKind::Directive || t.kind == TokenKind::Number ||
          t.kind == TokenKind::String || t.kind == TokenKind::OtherQuote)
        found.emplace_back(t.In(line));
    return found;
  };
  auto toolchain = [](std::string_view line) {
    std::vector<std::string> found;
    zb::Lexer lexer(line, true);
    for (zb::Token t = lexer.Next(); t.kind != zb::Tok::Eof; t = lexer.Next())
      if (t.kind == zb::Tok::Name || t.kind == zb::Tok::Int || t.kind == zb::Tok::Float || t.kind == zb::Tok::Str)
        found.emplace_back(lexer.Text(t));
    return found;
  };
  for (const char* line : {"print a; b : for i = 1 to 3 ' c", "x = 12abc + .5e3 ; y", "if a then print x; y",
                           "s = \"a\"\"b\" + `c` rem d", "z = 1 rem#note", "dim q /* r */ as int // s",
                           "#define N 0x1F", "v = 3.x + 2e+ + 7E-2", "remark = rem"})
    EXPECT_EQ(ide(line), toolchain(line)) << line;
}
