// The shared scanners and path helpers on the cases that go wrong: the end of the text,
// positions outside it, unmatched quotes and brackets, nesting, comments and 255 pairs.
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>
#include "base/TextScan.h"
#include "shell/ShellState.h"
#include "zorbasic/Source.h"

TEST(TextScan, PositionsOutsideTheTextReadAsZero) {
  EXPECT_EQ(CodeAt("ab", 0), 0);
  EXPECT_EQ(CodeAt("ab", -5), 0);
  EXPECT_EQ(CodeAt("ab", 3), 0);
  EXPECT_EQ(CodeAt("a\xff", 2), 255);
}

TEST(SkipBlanks, StopsOnClosingParenthesisAndAtTheEnd) {
  int pos = 1;
  EXPECT_EQ(SkipBlanks("  )x", pos), 41);
  EXPECT_EQ(pos, 3);
  pos = 1;
  EXPECT_EQ(SkipBlanks(" \t\r\n", pos), 0);
  EXPECT_EQ(pos, 5);
  pos = 9;
  EXPECT_EQ(SkipBlanks("ab", pos), 0);
  EXPECT_EQ(pos, 9);
}

TEST(LineStartAndEnd, MoveToTheLineEdges) {
  std::string text = "ab\r\ncd\r\nef";
  int pos = 6;
  LineStart(text, pos);
  EXPECT_EQ(pos, 5);
  pos = 4;  // on the LF: ends one past it
  LineStart(text, pos);
  EXPECT_EQ(pos, 5);
  pos = 2;
  LineStart(text, pos);
  EXPECT_EQ(pos, 1);
  pos = 5;
  LineEnd(text, pos);
  EXPECT_EQ(pos, 7);
  pos = 9;
  LineEnd(text, pos);
  EXPECT_EQ(pos, 11);
}

TEST(NextListLine, ReturnsOnlyTerminatedItems) {
  std::string text = "one\r\n\r\ntwo\r\nlast";
  int pos = 0;
  EXPECT_EQ(NextListLine(text, pos), "one");
  EXPECT_EQ(pos, 6);
  EXPECT_EQ(NextListLine(text, pos), "");
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(NextListLine(text, pos), "two");
  int before = pos;
  EXPECT_EQ(NextListLine(text, pos), "");
  EXPECT_EQ(pos, before);
  pos = 100;
  EXPECT_EQ(NextListLine(text, pos), "");
  EXPECT_EQ(pos, 100);
}

TEST(SameText, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameText("Print", "pRINT"));
  EXPECT_FALSE(SameText("Print", "Prin"));
  EXPECT_FALSE(SameText("\xc4", "\xe4"));  // bytes above 127 are not folded
  EXPECT_TRUE(SameText("", ""));
  EXPECT_EQ(LowerText("AZaz@[\xc4"), "azaz@[\xc4");
}

TEST(ReadWord, SplitsWordsPunctuationAndQuotes) {
  struct Case { std::string text; std::vector<std::string> words; };
  const Case cases[] = {
      {"a,b", {"a", ",", "b"}},
      {"f(x) , y", {"f", "(", "x", ")", ",", "y"}},
      {"\"C:\\Program Files\\ide.exe\" a.zobas", {"\"C:\\Program Files\\ide.exe\"", "a.zobas"}},
      {"; comment words\r\nPrint x", {"Print", "x"}},
      {"  ;only a comment", {}},
      {"say 'it is' `back`", {"say", "'it is'", "`back`"}},
      {"\"unclosed rest", {"\"unclosed rest"}},
      {"ab\xff" "cd", {"ab", "\xff" "c", "d"}},
      {"x\xff", {"x", "\xff"}},
      {"a'b'c", {"a", "'b'", "c"}},
  };
  for (const Case& c : cases) {
    int pos = 1;
    std::vector<std::string> words;
    for (std::string w = ReadWord(c.text, pos); !w.empty(); w = ReadWord(c.text, pos)) words.push_back(w);
    EXPECT_EQ(words, c.words) << c.text;
    EXPECT_LE(pos, static_cast<int>(c.text.size()) + 1) << c.text;
  }
}

TEST(ReadWord, QuotedPathLeavesPositionBehindClosingQuote) {
  std::string line = "\"C:\\a b\\ide.exe\"   \"x.zobas\"";
  int pos = 1;
  EXPECT_EQ(ReadWord(line, pos), "\"C:\\a b\\ide.exe\"");
  EXPECT_EQ(pos, 17);
}

TEST(ReadWord, LeavesPositionOnTheComma) {
  int pos = 1;
  EXPECT_EQ(ReadWord("a,b", pos), "a");
  EXPECT_EQ(pos, 2);
}

TEST(Unquote, RemovesOnlyOneMatchingPair) {
  EXPECT_EQ(Unquote("\"a b\""), "a b");
  EXPECT_EQ(Unquote("'x'"), "x");
  EXPECT_EQ(Unquote("\"\"x\"\""), "\"x\"");
  EXPECT_EQ(Unquote("\""), "");
  EXPECT_EQ(Unquote("''"), "");
  EXPECT_EQ(Unquote("\"a'"), "\"a'");
  EXPECT_EQ(Unquote("abc"), "abc");
  EXPECT_EQ(Unquote(""), "");
}

TEST(ReadGroup, ReadsBracketGroupsAndUnbracketedValues) {
  struct Case { std::string text; std::string value; int pos; };
  const Case cases[] = {
      {"[C:\\x]rest", "C:\\x", 7},
      {"  [a [b] c] next", "a [b] c", 13},
      {"[a (b] c", "a (b", 8},
      {"(a(b)c)", "a(b)c", 8},
      {"<x>", "x", 4},
      {"{a\r\nb}", "a\r\nb", 7},
      {"[never closed", "never closed", 14},
      {"[]  ", "", 5},
      {"12 34\r\nmore", "12 34\r\nmore", 12},
      {") x", ") x", 4},
      {"   ", "", 4},
      {"", "", 1},
  };
  for (const Case& c : cases) {
    int pos = 1;
    EXPECT_EQ(ReadGroup(c.text, pos), c.value) << c.text;
    EXPECT_EQ(pos, c.pos) << c.text;
  }
}

TEST(ValueAfterKey, FindsTheFirstKeyAtOrAfterStart) {
  std::string text = "$dir [C:\\a]\r\n$pos [12]\r\n$main [m.zobas]\r\n";
  EXPECT_EQ(ValueAfterKey(text, "$pos "), "12");
  EXPECT_EQ(ValueAfterKey(text, "$main "), "m.zobas");
  EXPECT_EQ(ValueAfterKey(text, "$none "), "");
  EXPECT_EQ(ValueAfterKey(text, "$dir ", 2), "");
  EXPECT_EQ(ValueAfterKey(text, "$dir ", 500), "");
  EXPECT_EQ(ValueAfterKey("$pos 12\r\n$x [1]", "$pos "), "12\r\n$x [1]");
  EXPECT_EQ(ValueAfterKey("$POS [1]", "$pos "), "");
}

TEST(BracketAt, FindsTheItemAroundStart) {
  std::string text = "x [abc] y [de";
  int start = 5, end = 0, length = 0;
  EXPECT_EQ(BracketAt(text, start, end, length), "abc");
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 7);
  EXPECT_EQ(length, 3);

  start = 12;  // inside the unclosed item: it runs to the end
  EXPECT_EQ(BracketAt(text, start, end, length), "de");
  EXPECT_EQ(start, 12);
  EXPECT_EQ(end, 14);
  EXPECT_EQ(length, 2);

  start = 3;  // on the "[" itself
  EXPECT_EQ(BracketAt(text, start, end, length), "abc");
}

TEST(BracketAt, LeavesPositionsUnchangedWhenNothingIsFound) {
  for (int at : {1, 0, -3, 50}) {
    int start = at, end = 77, length = 88;
    EXPECT_EQ(BracketAt("ab [c", start, end, length), "") << at;
    EXPECT_EQ(start, at);
    EXPECT_EQ(end, 77);
    EXPECT_EQ(length, 88);
  }
}

TEST(LabelTarget, ReturnsThePathBehindALabel) {
  std::string text = "<[Main]> [src\\main.zobas] <[Bad]> x [y";
  EXPECT_EQ(LabelTarget(text, 4, 0), "src\\main.zobas");
  EXPECT_EQ(LabelTarget(text, 12, 0), "");  // the path item is no label
  EXPECT_EQ(LabelTarget(text, 29, 0), "");  // no "]" behind the next "["
  EXPECT_EQ(LabelTarget("<[a]>", 3, 0), "");
  EXPECT_EQ(LabelTarget("plain", 3, 0), "");
}

TEST(InsertText, InsertsAtOneBasedPositions) {
  struct Case { int p; std::string result; };
  for (const Case& c : {Case{0, "XYabc"}, Case{1, "XYabc"}, Case{2, "aXYbc"}, Case{4, "abcXY"},
                        Case{9, "abcXY"}, Case{-4, "XYabc"}}) {
    std::string s = "abc";
    InsertText(s, c.p, "XY");
    EXPECT_EQ(s, c.result) << c.p;
  }
}

TEST(PathParts, SplitFromTheEnd) {
  struct Case { std::string path, dir, name, ext, stripped; };
  const Case cases[] = {
      {"C:\\src\\a.zobas", "C:\\src", "a.zobas", ".zobas", "C:\\src\\a"},
      {"a.zobas", "a.zobas", "a.zobas", ".zobas", "a"},
      {"noext", "noext", "noext", "", "noext"},
      {"C:\\my.dir\\file", "C:\\my.dir", "file", ".dir\\file", "C:\\my"},
      {"x/y\\z.b.c", "x/y", "z.b.c", ".c", "x/y\\z.b"},
      {"dir\\", "dir", "", "", "dir\\"},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DirPart(c.path), c.dir) << c.path;
    EXPECT_EQ(NamePart(c.path), c.name) << c.path;
    EXPECT_EQ(ExtPart(c.path), c.ext) << c.path;
    EXPECT_EQ(StripExt(c.path), c.stripped) << c.path;
  }
}

TEST(FolderToEnter, ABareDriveIsEnteredAtItsRoot) {
  EXPECT_EQ(FolderToEnter("C:"), "C:\\");  // the folder of a program at the drive's root
  EXPECT_EQ(FolderToEnter("C:\\ide"), "C:\\ide");
}

TEST(ExpandPath, ExpandsOnlyALeadingDollar) {
  std::string saved = ProgramDir;
  ProgramDir = "C:\\ide";
  EXPECT_EQ(ExpandPath("$\\inf\\x.chm"), "C:\\ide\\inf\\x.chm");
  EXPECT_EQ(ExpandPath("$"), "C:\\ide");
  EXPECT_EQ(ExpandPath("C:\\$x"), "C:\\$x");
  EXPECT_EQ(ExpandPath(""), "");
  ProgramDir = saved;
}

// The IDE and the compile tool tell files apart alike: each row is one file however written.
TEST(FileNameKey, NamesOfOneFileGiveOneKeyInTheIdeAndTheToolchain) {
  struct Case { std::string path, normal, key; };
  const Case cases[] = {
      {"C:\\w\\lib0\\..\\defs.zobas", "C:\\w\\defs.zobas", "c:\\w\\defs.zobas"},
      {"C:/w/lib1/../Defs.ZOBAS", "C:\\w\\Defs.ZOBAS", "c:\\w\\defs.zobas"},
      {"C:\\w\\.\\lib\\\\x.inc", "C:\\w\\lib\\x.inc", "c:\\w\\lib\\x.inc"},
      {"C:\\w\\x.inc. ", "C:\\w\\x.inc", "c:\\w\\x.inc"},        // trailing dots and blanks of the name
      {"C:\\w.\\lib \\...\\x.inc\\.", "C:\\w\\lib\\x.inc", "c:\\w\\lib\\x.inc"},  // ... and of every part
      {"C:\\..\\..\\x.inc", "C:\\x.inc", "c:\\x.inc"},               // no higher than the root
      {"\\\\srv\\share\\a\\..\\..\\b.inc", "\\\\srv\\share\\b.inc", "\\\\srv\\share\\b.inc"},
      {"C:\\W\\\xC4RGER\\\x8A.inc", "C:\\W\\\xC4RGER\\\x8A.inc", "c:\\w\\\xE4rger\\\x9A.inc"},  // code page 1252 letters
      {"C:\\w\\\xDF\xD7.inc", "C:\\w\\\xDF\xD7.inc", "c:\\w\\\xDF\xD7.inc"},  // sharp s and the sign of times have no other case
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormalPath(c.path), c.normal) << c.path;
    EXPECT_EQ(FileNameKey(c.path), c.key) << c.path;
    EXPECT_EQ(zb::FileKey(c.path), c.key) << c.path;
  }
  // A relative name keeps what it cannot resolve; the toolchain takes it in the current folder.
  EXPECT_EQ(NormalPath("lib/../../x.inc"), "..\\x.inc");
  EXPECT_EQ(NormalPath("lib\\..\\main.zobas"), "main.zobas");
  EXPECT_EQ(zb::FileKey("lib/../main.zobas"), zb::FileKey("./main.zobas"));
}

TEST(DocumentSourcePath, AnUntitledDocumentIsTheScratchSourceAndDollarIsExpanded) {
  std::string saved = ProgramDir;
  ProgramDir = "C:\\ide";
  EXPECT_EQ(DocumentSourcePath(""), "C:\\ide\\_.zobas");
  EXPECT_EQ(DocumentSourcePath("$\\samples\\x.zobas"), "C:\\ide\\samples\\x.zobas");
  EXPECT_EQ(DocumentSourcePath("D:\\w\\x.zobas"), "D:\\w\\x.zobas");
  ProgramDir = saved;
}

TEST(ReadNumber, RoundsHalvesToEven) {
  struct Case { std::string text; int value; };
  const Case cases[] = {
      {"12", 12},     {"  42", 42},   {"\t+7", 7},      {"-3", -3},      {"2.5", 2},
      {"3.5", 4},     {"0.5", 0},     {"-2.5", -2},     {"-3.5", -4},    {"2.51", 3},
      {"2.4999", 2},  {"2.50001", 3}, {"1.500", 2},     {".5", 0},       {"12abc", 12},
      {"7.", 7},      {"abc", 0},     {"", 0},          {"-", 0},        {"   ", 0},
      {"- 5", 0},     {"99999999999999", 2147483647},   {"-99999999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << c.text;
}

TEST(RoundHalfEven, RoundsToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.49), 2);
  EXPECT_EQ(RoundHalfEven(-2.51), -3);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}
