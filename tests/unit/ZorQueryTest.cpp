// The compiler library's answers to the IDE's queries, on query texts made the way the IDE
// makes them: the directive inserted after the caret's line (#list, #recordof) or at its
// start (#show).
#include <gtest/gtest.h>

#include "zorbasic/Query.h"

namespace {

// The IDE's insertion: mode 0 #list, 1 #recordof after the caret's line; 2 #show at its start.
std::string QueryText(const std::string& text, size_t caret, int mode, const std::string& word) {
  std::string t = text;
  if (mode == 2) {
    size_t s = caret;
    while (s > 0 && t[s - 1] != '\r' && t[s - 1] != '\n') --s;
    return t.insert(s, "#show \"C:\\ide\\_.txt\" ");
  }
  size_t e = t.find_first_of("\r\n\v\f", caret);
  if (e == std::string::npos) e = t.size();
  size_t at = e + 2;  // the IDE's 1-based position e + 2 is 0-based e + 2 when e is 0-based
  if (at > t.size()) t.append(at - t.size(), ' ');
  return t.insert(at, std::string("\r\n") + (mode == 0 ? "#list" : "#recordof") + " \"C:\\ide\\_.txt\" " + word + "\r\n");
}

std::string Answer(const std::string& text, size_t caret, int mode, const std::string& word) {
  zb::QueryAnswer a = zb::AnswerQuery(QueryText(text, caret, mode, word));
  EXPECT_TRUE(a.write);
  EXPECT_EQ(a.file, "C:\\ide\\_.txt");
  return a.text;
}

const char* Program =
    "' totals\r\n"
    "dim total as int\r\n"
    "type point\r\n"
    "  x as int\r\n"
    "  y as float\r\n"
    "end type\r\n"
    "const limit = 2 * 5\r\n"
    "sub add(byref t as int, n as int)\r\n"
    "  t = t + n ' total is not counted here\r\n"
    "end sub\r\n"
    "print \"total\"; total /* total */\r\n"
    "ADD Total, limit\r\n";

TEST(ZorQuery, ListNamesEveryLineOfTheWordWithTheEditorsLineNumbers) {
  // The caret on line 2, 8 and the last line: the line numbers never move.
  for (size_t caret : {size_t(12), std::string(Program).find("sub add"), std::string(Program).size() - 3}) {
    EXPECT_EQ(Answer(Program, caret, 0, "total"),
              "total: variable total as int, line 2\r\n"
              "line 2: dim total as int\r\n"
              "line 11: print \"total\"; total /* total */\r\n"
              "line 12: ADD Total, limit\r\n"
              "3 lines\r\n")
        << caret;
  }
  EXPECT_EQ(Answer(Program, 0, 0, "print"), "print: keyword\r\nline 11: print \"total\"; total /* total */\r\n1 line\r\n");
  EXPECT_EQ(Answer(Program, 0, 0, "len"), "len: built-in function len(s as string) as int\r\nno line holds len\r\n");
  EXPECT_EQ(Answer(Program, 0, 0, "nothing"),
            "nothing: not a keyword, a built-in function or a name declared in this program\r\nno line holds nothing\r\n");
}

TEST(ZorQuery, LineNumbersHoldForLfAndCrSourcesAndAtTheEndOfTheText) {
  const char* sources[] = {"a = 1\nprint a\n\nprint a", "a = 1\rprint a\r\rprint a", "a = 1\r\nprint a\r\n\r\nprint a"};
  for (const char* src : sources) {
    for (size_t caret : {size_t(0), size_t(7), std::string(src).size()}) {
      EXPECT_EQ(Answer(src, caret, 0, "a"),
                "a: variable a as float (declared by its first assignment), line 1\r\n"
                "line 1: a = 1\r\nline 2: print a\r\nline 4: print a\r\n3 lines\r\n")
          << src << " caret " << caret;
    }
  }
}

TEST(ZorQuery, RecordofGivesEachKindOfDeclaration) {
  const std::pair<const char*, const char*> cases[] = {
      {"total", "variable total as int\r\nline 2: dim total as int\r\n"},
      {"point", "type point\r\n  x as int\r\n  y as float\r\nend type\r\nline 3: type point\r\n"},
      {"add", "sub add(byref t as int, n as int)\r\nline 8: sub add(byref t as int, n as int)\r\n"},
      {"limit", "const limit = 10\r\nline 7: const limit = 2 * 5\r\n"},
      {"n", "n as int, parameter of sub add\r\nline 8: sub add(byref t as int, n as int)\r\n"},
      {"y", "y as float, field of type point\r\nline 5: y as float\r\n"},
      {"mid", "built-in function mid(s as string, start as int [, n as int]) as string\r\n"},
      {"unknown", "unknown: not declared in this program\r\n"},
  };
  for (const auto& [word, expected] : cases) EXPECT_EQ(Answer(Program, 30, 1, word), expected) << word;
  EXPECT_EQ(Answer("function twice(s as string) as string\n  return s & s\nend function", 0, 1, "TWICE"),
            "function twice(s as string) as string\r\nline 1: function twice(s as string) as string\r\n");
}

TEST(ZorQuery, ShowTellsWhatEachWordOfTheLineIs) {
  std::string text = "dim total as int\r\ntotal = len(\"x y\") + total2 ' a comment\r\n";
  EXPECT_EQ(Answer(text, 20, 2, ""),
            "total: variable total as int, line 1\r\n"
            "len: built-in function len(s as string) as int\r\n"
            "total2: not a keyword, a built-in function or a name declared in this program\r\n"
            "first error: line 2: unknown name total2\r\n");
  EXPECT_EQ(Answer("print 1\r\n\r\n", 9, 2, ""), "the line holds no words\r\n");
}

TEST(ZorQuery, ProgramsWithErrorsAreAnsweredAsFarAsTheyCanBeRead) {
  std::string text = "dim a as int\nif a then\nprint a +\nsub s(q as string)\nend sub\n#define WIDTH 80\nprint WIDTH";
  EXPECT_EQ(Answer(text, 0, 0, "a"),
            "a: variable a as int, line 1\r\nline 1: dim a as int\r\nline 2: if a then\r\nline 3: print a +\r\n3 lines\r\n"
            "first error: line 2: if without end if\r\n");
  EXPECT_EQ(Answer(text, 0, 1, "s"), "sub s(q as string)\r\nline 4: sub s(q as string)\r\nfirst error: line 2: if without end if\r\n");
  EXPECT_EQ(Answer(text, 0, 1, "width"), "#define WIDTH\r\nline 6: #define WIDTH 80\r\nfirst error: line 2: if without end if\r\n");
}

TEST(ZorQuery, TextsWithoutADirectiveAndHostileTextsAreSafe) {
  EXPECT_FALSE(zb::AnswerQuery("print 1\r\n").write);
  EXPECT_FALSE(zb::AnswerQuery("").write);
  EXPECT_FALSE(zb::AnswerQuery("#list no quotes\r\n").write);
  std::string deep = "x = " + std::string(50000, '(') + "\r\n" + std::string(20000, '\x01') + "\"unterminated /* comment";
  zb::QueryAnswer a = zb::AnswerQuery(QueryText(deep, 0, 0, "x"));
  EXPECT_TRUE(a.write);
  EXPECT_NE(a.text.find("first error: line 1: expected a value"), std::string::npos) << a.text.substr(0, 300);
}

}  // namespace
