// Tests of lib/SciLexer.dll: a real Scintilla control under Wine, its Zorvex Basic lexer
// (lexer 200), the lexer-selection message and the edit-control messages the program relies on.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "EditingComponent.h"
#include "Scintilla.h"
#include "scilexer/ZorvexStyles.h"

namespace {

// Keyword set 0 as the program hands it over: CR LF line ends, mixed case, "#" words.
const char Keywords[] =
    "\r\n### #alert #define\r\n#ELSE #ELSEIF #ENDIF #IF #ifdef\r\n\r\n"
    "abs as COS dim double end function if print 'q9 return string while WEND \r\n";

// One letter per style in the expected-style strings of the tables below.
char StyleLetter(int style) {
  switch (style) {
    case 0: return '.';
    case 1: return 'c';   // block comment
    case 2: return 'l';   // line comment
    case 3: return 'd';   // documentation comment
    case 4: return 'n';   // number
    case 5: return 'k';   // keyword
    case 6: return 's';   // double-quoted string
    case 7: return 'q';   // other quoted text
    case 10: return 'o';  // operator
    case 23: return 'p';  // comment on a directive line
    case 24: return 'P';  // documentation comment on a directive line
    default: return '?';
  }
}

class ScintillaControl : public testing::Test {
 protected:
  static void SetUpTestSuite() { parent = ControlsWindow("scintilla tests", 640, 480, false); }
  static void TearDownTestSuite() { DestroyWindow(parent); }
  void SetUp() override {
    ASSERT_NE(EditingComponent(), nullptr) << "lib/SciLexer.dll does not load";
    ASSERT_NE(parent, nullptr);
    editor = NewEditingControl(parent, 600, 400, WS_VSCROLL);
    ASSERT_NE(editor, nullptr) << "no window of class Scintilla";
  }
  void TearDown() override {
    if (editor) DestroyWindow(editor);
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(editor, message, wParam, lParam);
  }
  void SetText(const std::string& text) {
    Send(SCI_SETTEXT, text.size(), reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::string Text() {
    const LRESULT length = Send(SCI_GETTEXTLENGTH);
    std::string text(static_cast<size_t>(length) + 1, 'X');
    const LRESULT got = Send(SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(got, length);
    text.resize(static_cast<size_t>(length));
    return text;
  }
  void UseZorvexLexer() {
    Send(SetLexerMessage, ZorvexLexerNumber);
    Send(SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(Keywords));
  }
  // Styles of every byte as letters, after colouring the whole text.
  std::string StylesOf(const std::string& text) {
    SetText(text);
    Send(SCI_COLOURISE, 0, -1);
    return Styles(0, text.size());
  }
  std::string Styles(size_t from, size_t to) {
    std::string letters;
    for (size_t pos = from; pos < to; pos++) letters += StyleLetter(static_cast<int>(Send(SCI_GETSTYLEAT, pos)));
    return letters;
  }
  size_t LineStart(int line) { return static_cast<size_t>(Send(SCI_POSITIONFROMLINE, line)); }

  inline static HWND parent = nullptr;
  HWND editor = nullptr;
};

struct StyleCase {
  const char* what;
  const char* source;
  const char* styles;
};

const StyleCase LexicalClasses[] = {
    {"keyword, identifier, operator, number", "dim x = 12", "kkk...o.nn"},
    {"keywords ignore letter case", "DIM Dim cos WeNd Cos", "kkk.kkk.kkk.kkkk.kkk"},
    {"words that contain a keyword are not keywords", "dimension printer xdim dim_x dim2",
     "................................."},
    {"words beginning with # are keywords; a # goes with the name behind it only", "#else #ELSE #define ### #elsex",
     "kkkkk.kkkkk.kkkkkkk..........."},
    {"line comment with an apostrophe", "x ' dim", "..lllll"},
    {"line comment with a semicolon", "x ; dim", "..lllll"},
    {"line comment with two slashes", "x // dim", "..llllll"},
    {"a line comment ends with its line", "' a\r\ndim", "lll..kkk"},
    {"block comment", "a /* dim */ b", "..ccccccccc.."},
    {"empty block comment is not documentation", "/**/ x", "cccc.."},
    {"documentation comments", "/** d */ /*! e */", "dddddddd.dddddddd"},
    {"block comment across lines", "/* a\r\nb */ if", "cccccccccc.kk"},
    {"numbers: decimal, fraction, exponent, hexadecimal",
     "7 1.5 .25 2e10 1.5E-3 0x1F 0XaB", "n.nnn.nnn.nnnn.nnnnnn.nnnn.nnnn"},
    {"digits inside a word belong to the word", "x2 q9h", "......"},
    {"double-quoted string", "s = \"a ' b\"", "..o.sssssss"},
    {"back-quoted text", "`a ; b` + 1", "qqqqqqq.o.n"},
    {"comment starts inside strings are text", "\"/* x\" `//`", "ssssss.qqqq"},
    {"an unclosed string ends with its line", "\"ab\r\nif", "sss..kk"},
    {"operators", "a+b*(c)<=d", ".o.oo.ooo."},
    {"directive line: line comment", "#define X 1 ' c", "kkkkkkk...n.ppp"},
    {"directive line: block and documentation comments", "#IF /* a */ /** b */",
     "kkk.ppppppp.PPPPPPPP"},
    {"indented directive line", "  #ifdef x ; c", "..kkkkkk...ppp"},
    {"directive block comment keeps its style on later lines", "#if /* a\r\nb */ x",
     "kkk.pppppppppp.."},
    {"a # word later in a line does not make a directive line", "x #if ' c", "..kkk.lll"},
    {"bytes 128..255 are no name characters, as the toolchain reads names", "\xe4" "dim dim\xe4", ".kkk.kkk."},
};

TEST_F(ScintillaControl, ZorvexLexerColoursEachLexicalClass) {
  UseZorvexLexer();
  for (const StyleCase& c : LexicalClasses) {
    EXPECT_EQ(StylesOf(c.source), c.styles) << c.what << ": " << c.source;
  }
}

TEST_F(ScintillaControl, StartsInTheAnsiCodePageAndReadsNamesOfAUtf8TextAsTheToolchainDoes) {
  EXPECT_EQ(Send(SCI_GETCODEPAGE), 0);
  UseZorvexLexer();
  Send(SCI_SETCODEPAGE, 65001);
  EXPECT_EQ(StylesOf("\xc3\xa4" "dim dim \xc3\xa4"), "..kkk.kkk...");
}

TEST_F(ScintillaControl, ClosingABlockCommentEarlyRestylesTheLinesBelow) {
  UseZorvexLexer();
  SetText("a /* one\r\ntwo\r\nthree\r\nfour */ dim\r\nif\r\n");
  Send(SCI_COLOURISE, 0, -1);
  EXPECT_EQ(Styles(LineStart(1), LineStart(2)), "ccccc");
  EXPECT_EQ(Styles(LineStart(3), LineStart(4)), "ccccccc.kkk..");

  Send(SCI_INSERTTEXT, LineStart(1), reinterpret_cast<LPARAM>("*/ "));
  const LRESULT endStyled = Send(SCI_GETENDSTYLED);
  EXPECT_EQ(static_cast<size_t>(endStyled), LineStart(1)) << "styling is kept above the edit";
  Send(SCI_COLOURISE, endStyled, -1);

  EXPECT_EQ(Styles(0, LineStart(1)), "..cccccccc");
  EXPECT_EQ(Styles(LineStart(1), LineStart(2)), "cc......");
  EXPECT_EQ(Styles(LineStart(2), LineStart(3)), ".......");
  EXPECT_EQ(Styles(LineStart(3), LineStart(4)), ".....oo.kkk..");
  EXPECT_EQ(Styles(LineStart(4), LineStart(5)), "kk..");
}

TEST_F(ScintillaControl, RestylingFromAnyLineOrMidLineMatchesAFullPass) {
  UseZorvexLexer();
  const std::string source =
      "#define A 1 /* directive\r\ncomment */ dim s = \"x\" ' c\r\n"
      "/** doc\r\n  more\r\n*/ function f(x as double) ; c\r\n"
      "  return 0x1F + 1.5e3 // c\r\n/* a */ /* b\r\nc */ WEND\r\n`q` end";
  const std::string full = StylesOf(source);
  const int lines = static_cast<int>(Send(SCI_GETLINECOUNT));
  for (int line = 0; line < lines; line++) {
    for (size_t offset : {size_t{0}, size_t{3}}) {
      const size_t from = std::min(LineStart(line) + offset, source.size());
      Send(SCI_STARTSTYLING, from);
      Send(SCI_SETSTYLING, source.size() - from, 0);
      Send(SCI_COLOURISE, from, -1);
      EXPECT_EQ(Styles(0, source.size()), full) << "restyled from line " << line << " + " << offset;
    }
  }
}

TEST_F(ScintillaControl, SetLexer200AttachesTheZorvexLexer) {
  EXPECT_EQ(Send(SetLexerMessage, ZorvexLexerNumber), 0);
  EXPECT_EQ(Send(SCI_GETLEXER), 200);
  Send(SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(Keywords));
  EXPECT_EQ(StylesOf("print 1"), "kkkkk.n");
  Send(SetLexerMessage, ZorvexLexerNumber);  // sent again: the lexer and its keywords stay
  EXPECT_EQ(StylesOf("print 1"), "kkkkk.n");
}

TEST_F(ScintillaControl, SetLexer0LeavesTheTextUnstyledAndOtherNumbersChangeNothing) {
  UseZorvexLexer();
  EXPECT_EQ(StylesOf("print 1"), "kkkkk.n");
  EXPECT_EQ(Send(SetLexerMessage, 57), 0);
  EXPECT_EQ(Send(SCI_GETLEXER), 200);
  EXPECT_EQ(Styles(0, 7), "kkkkk.n");
  EXPECT_EQ(Send(SetLexerMessage, 0), 0);
  EXPECT_EQ(Send(SCI_GETLEXER), 0);
  EXPECT_EQ(Styles(0, 7), ".......");
  EXPECT_EQ(StylesOf("print 1 ' c"), "...........");
}

TEST_F(ScintillaControl, ControlEditsAndUndoesWithoutALexer) {
  SetText("abc");
  Send(SCI_INSERTTEXT, 1, reinterpret_cast<LPARAM>("XY"));
  EXPECT_EQ(Text(), "aXYbc");
  Send(SCI_UNDO);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(Styles(0, 3), "...");
}

TEST_F(ScintillaControl, TextWithNulBytesKeepsEveryByte) {
  UseZorvexLexer();
  const std::string text("a\0b\0\0dim \"\0\"\r\n\0", 15);
  SetText(text);
  EXPECT_EQ(Send(SCI_GETTEXTLENGTH), 15);
  EXPECT_EQ(Text(), text);
  Send(SCI_COLOURISE, 0, -1);
  EXPECT_EQ(Text(), text);
}

TEST_F(ScintillaControl, SetTextWithALengthIsOneUndoStepAndMovesTheCaretHome) {
  SetText("first text");
  Send(SCI_SETSEL, 2, 6);
  SetText(std::string("x\0y", 3));
  EXPECT_EQ(Send(SCI_GETCURRENTPOS), 0);
  EXPECT_EQ(Send(SCI_GETANCHOR), 0);
  Send(SCI_UNDO);
  EXPECT_EQ(Text(), "first text");
}

TEST_F(ScintillaControl, SetTextWithoutALengthReadsUpToTheTerminator) {
  Send(SCI_SETTEXT, 0, reinterpret_cast<LPARAM>("plain\0hidden"));
  EXPECT_EQ(Text(), "plain");
}

struct SelectionCase {
  const char* what;
  UINT message;  // EM_SETSEL or SCI_SETSEL
  int first, second;
  int start, end;           // EM_GETSEL's answer
  int anchor, caret;
};

const SelectionCase Selections[] = {
    {"EM_SETSEL start before end", EM_SETSEL, 2, 7, 2, 7, 2, 7},
    {"EM_SETSEL start after end puts the caret at the end", EM_SETSEL, 8, 3, 3, 8, 8, 3},
    {"EM_SETSEL 0, -1 selects everything", EM_SETSEL, 0, -1, 0, 20, 0, 20},
    {"EM_SETSEL empty", EM_SETSEL, 5, 5, 5, 5, 5, 5},
    {"anchor before the caret", SCI_SETSEL, 4, 9, 4, 9, 4, 9},
    {"anchor after the caret", SCI_SETSEL, 9, 4, 4, 9, 9, 4},
};

TEST_F(ScintillaControl, EditSelectionMessagesAnswerLikeAnEditControl) {
  SetText("0123456789\r\nabcdefgh");
  for (const SelectionCase& c : Selections) {
    Send(c.message, static_cast<WPARAM>(c.first), c.second);
    DWORD start = 111, end = 111;
    const LRESULT packed = Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(c.start)) << c.what;
    EXPECT_EQ(end, static_cast<DWORD>(c.end)) << c.what;
    EXPECT_EQ(packed, MAKELRESULT(c.start, c.end)) << c.what;
    EXPECT_EQ(Send(SCI_GETANCHOR), c.anchor) << c.what;
    EXPECT_EQ(Send(SCI_GETCURRENTPOS), c.caret) << c.what;
  }
}

TEST_F(ScintillaControl, EmGetSelGivesFullPositionsBeyond64K) {
  SetText(std::string(100000, 'x'));
  Send(EM_SETSEL, 70000, 99000);
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 70000u);
  EXPECT_EQ(end, 99000u);
}

TEST_F(ScintillaControl, EmLineFromCharGivesTheLineOfAPosition) {
  SetText("ab\r\ncd\r\n\r\nef");
  const std::vector<std::pair<int, int>> positionToLine = {
      {0, 0}, {2, 0}, {3, 0}, {4, 1}, {7, 1}, {8, 2}, {10, 3}, {12, 3}};
  for (const auto& [position, line] : positionToLine) {
    EXPECT_EQ(Send(EM_LINEFROMCHAR, position), line) << "position " << position;
  }
  Send(EM_SETSEL, 9, 5);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), 1) << "-1 is the selection start";
}

TEST_F(ScintillaControl, EmScrollCaretBringsTheCaretIntoView) {
  std::string text;
  for (int i = 0; i < 500; i++) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  Send(SCI_SETEMPTYSELECTION, LineStart(400));
  ASSERT_EQ(Send(SCI_GETFIRSTVISIBLELINE), 0) << "moving the caret alone does not scroll";
  Send(EM_SCROLLCARET);
  const LRESULT first = Send(SCI_GETFIRSTVISIBLELINE);
  EXPECT_LE(first, 400);
  EXPECT_GT(first + Send(SCI_LINESONSCREEN), 400);
}

}  // namespace
