// Zorvex Basic lexer: classifies source into the style numbers that the editor's colour table
// expects (the same numbers Scintilla's C-family lexers use for the same classes).
//
// Lexical rules of Zorvex Basic, as coloured here:
//   word        starts with a letter, "_", "#" or a byte 128..255 and goes on over letters,
//               digits, "_", "#" and bytes 128..255. A word found in keyword set 0 is a keyword;
//               the match ignores the case of A..Z only ("#else" matches "#ELSE").
//   number      decimal digits with an optional fraction and exponent ("12", "1.5", ".5",
//               "2e10", "1.5E-3"), or "0x" / "0X" and hexadecimal digits.
//   line comment    "'" or ";" or "//" or the word "rem" (any letter case) up to the line end.
//   block comment   "/*" to "*/", across lines; "/**" (but not "/**/") and "/*!" open a
//                   documentation comment.
//   string      '"' up to the next '"'; other quoted text: "`" up to the next "`". Neither
//               crosses a line end: an unclosed one ends with its line.
//   operator    any of + - * / \ = < > ( ) [ ] { } , : . & | ^ ! ? @ % $ ~
//   directive line  a line whose first non-blank character is "#"; comments that start on it
//                   take the directive comment styles (a block comment keeps that style up to
//                   its "*/", even on later lines).
// A line starts in a block comment exactly when the last character before it carries a block
// comment style, so lexing can restart at any line without saved per-line state.
#include <cstdlib>
#include <cassert>
#include <cstring>
#include <string>
#include <string_view>
#include "ILexer.h"
#include "Scintilla.h"
#include "WordList.h"
#include "LexAccessor.h"
#include "Accessor.h"
#include "StyleContext.h"
#include "LexerModule.h"
#include "DefaultLexer.h"
#include "scilexer/FoldZorvex.h"
#include "scilexer/LexZorvex.h"

namespace {

using namespace ZorvexStyles;

char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A byte 128..255, or in a UTF-8 document any character beyond ASCII.
bool IsHighByte(int ch) {
  return ch >= 0x80;
}

bool IsLetter(int ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsDigit(int ch) {
  return ch >= '0' && ch <= '9';
}

bool IsHexDigit(int ch) {
  return IsDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

bool IsWordStart(int ch) {
  return IsLetter(ch) || ch == '_' || ch == '#' || IsHighByte(ch);
}

bool IsWordChar(int ch) {
  return IsWordStart(ch) || IsDigit(ch);
}

bool IsOperator(int ch) {
  return ch > 0 && ch < 0x80 && std::strchr("+-*/\\=<>()[]{},:.&|^!?@%$~", ch) != nullptr;
}

bool IsBlockComment(int style) {
  return style == StyleComment || style == StyleDocComment || style == StyleDirectiveComment ||
         style == StyleDirectiveDocComment;
}

bool IsLineEnd(int ch) {
  return ch == '\r' || ch == '\n';
}

// Whether the line that starts at pos is a directive line (first non-blank is "#").
bool IsDirectiveLine(Lexilla::LexAccessor& styler, Sci_Position pos) {
  char c = styler.SafeGetCharAt(pos, '\n');
  while (c == ' ' || c == '\t') c = styler.SafeGetCharAt(++pos, '\n');
  return c == '#';
}

class LexerZorvex : public Lexilla::DefaultLexer {
 public:
  LexerZorvex() : DefaultLexer("zorvex", ZorvexLexerNumber) {}
  const char* SCI_METHOD DescribeWordListSets() override { return "Keywords"; }
  const char* SCI_METHOD PropertyGet(const char*) override { return ""; }  // no properties
  Sci_Position SCI_METHOD WordListSet(int n, const char* wl) override;
  void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position length, int initStyle,
                      Scintilla::IDocument* doc) override;
  void SCI_METHOD Fold(Sci_PositionU startPos, Sci_Position length, int initStyle,
                       Scintilla::IDocument* doc) override;

 private:
  void StartToken(Lexilla::StyleContext& sc, Lexilla::LexAccessor& styler, bool directiveLine);
  void StartLineComment(Lexilla::StyleContext& sc, bool directiveLine);
  void StartWord(Lexilla::StyleContext& sc, Lexilla::LexAccessor& styler, bool directiveLine);
  void StartNumber(Lexilla::StyleContext& sc);
  void ContinueNumber(Lexilla::StyleContext& sc);
  void ContinueToken(Lexilla::StyleContext& sc);

  Lexilla::WordList keywords;  // set 0, folded to lower case
  std::string listText;        // the folded list as last set, to notice a change
  std::string word;            // the word being classified, folded
  bool hexNumber = false;      // state of the number being read
  bool numberHasDot = false;
  bool numberHasExponent = false;
  bool directiveLineComment = false;  // the directive comment being read ends with its line
};

Sci_Position LexerZorvex::WordListSet(int n, const char* wl) {
  if (n != 0) return -1;
  std::string folded = wl ? wl : "";
  for (char& c : folded) c = FoldCase(c);
  if (folded == listText) return -1;
  listText = std::move(folded);
  keywords.Set(listText.c_str());
  return 0;  // restyle from the start
}

void LexerZorvex::StartLineComment(Lexilla::StyleContext& sc, bool directiveLine) {
  sc.SetState(directiveLine ? StyleDirectiveComment : StyleLineComment);
  directiveLineComment = directiveLine;
}

void LexerZorvex::StartWord(Lexilla::StyleContext& sc, Lexilla::LexAccessor& styler, bool directiveLine) {
  word.clear();
  Sci_PositionU end = sc.currentPos;
  for (char c = styler.SafeGetCharAt(end, ' '); IsWordChar(static_cast<unsigned char>(c));
       c = styler.SafeGetCharAt(++end, ' ')) {
    word.push_back(FoldCase(c));
  }
  if (word == "rem") {
    StartLineComment(sc, directiveLine);
    return;  // the comment goes on from the word's first letter to the line end
  }
  sc.SetState(keywords.InList(word.c_str()) ? StyleKeyword : StyleDefault);
  // Step onto the word's last character (which may be several bytes wide in a UTF-8
  // document); the main loop moves past it and ends the word.
  while (sc.More() && sc.currentPos + sc.width < end) sc.Forward();
}

void LexerZorvex::StartNumber(Lexilla::StyleContext& sc) {
  sc.SetState(StyleNumber);
  hexNumber = sc.ch == '0' && (sc.chNext == 'x' || sc.chNext == 'X');
  numberHasDot = sc.ch == '.';
  numberHasExponent = false;
  if (hexNumber) sc.Forward();
}

void LexerZorvex::ContinueNumber(Lexilla::StyleContext& sc) {
  if (hexNumber) {
    if (!IsHexDigit(sc.ch)) sc.SetState(StyleDefault);
  } else if (IsDigit(sc.ch)) {
  } else if (sc.ch == '.' && !numberHasDot && !numberHasExponent) {
    numberHasDot = true;
  } else if ((sc.ch == 'e' || sc.ch == 'E') && !numberHasExponent &&
             (IsDigit(sc.chNext) ||
              ((sc.chNext == '+' || sc.chNext == '-') && IsDigit(sc.GetRelative(2))))) {
    numberHasExponent = true;
    if (!IsDigit(sc.chNext)) sc.Forward();
  } else {
    sc.SetState(StyleDefault);
  }
}

void LexerZorvex::StartToken(Lexilla::StyleContext& sc, Lexilla::LexAccessor& styler,
                             bool directiveLine) {
  if (sc.Match('/', '*')) {
    const bool doc = (sc.GetRelative(2) == '*' && sc.GetRelative(3) != '/') || sc.GetRelative(2) == '!';
    if (directiveLine) {
      sc.SetState(doc ? StyleDirectiveDocComment : StyleDirectiveComment);
    } else {
      sc.SetState(doc ? StyleDocComment : StyleComment);
    }
    sc.Forward();  // past "*", so "/*/" does not close itself
  } else if (sc.ch == '\'' || sc.ch == ';' || sc.Match('/', '/')) {
    StartLineComment(sc, directiveLine);
  } else if (sc.ch == '"') {
    sc.SetState(StyleString);
  } else if (sc.ch == '`') {
    sc.SetState(StyleOtherQuote);
  } else if (IsDigit(sc.ch) || (sc.ch == '.' && IsDigit(sc.chNext))) {
    StartNumber(sc);
  } else if (IsWordStart(sc.ch)) {
    StartWord(sc, styler, directiveLine);
  } else if (IsOperator(sc.ch)) {
    sc.SetState(StyleOperator);
  }
}

// Goes on with the token in progress, or ends it at the current character.
void LexerZorvex::ContinueToken(Lexilla::StyleContext& sc) {
  switch (sc.state) {
    case StyleComment:
    case StyleDocComment:
    case StyleDirectiveComment:
    case StyleDirectiveDocComment:
      if (directiveLineComment) {
        if (IsLineEnd(sc.ch)) {
          sc.SetState(StyleDefault);
          directiveLineComment = false;
        }
      } else if (sc.Match('*', '/')) {
        sc.Forward();
        sc.ForwardSetState(StyleDefault);
      }
      break;
    case StyleLineComment:
      if (IsLineEnd(sc.ch)) sc.SetState(StyleDefault);
      break;
    case StyleString:
      if (sc.ch == '"') {
        sc.ForwardSetState(StyleDefault);
      } else if (IsLineEnd(sc.ch)) {
        sc.SetState(StyleDefault);
      }
      break;
    case StyleOtherQuote:
      if (sc.ch == '`') {
        sc.ForwardSetState(StyleDefault);
      } else if (IsLineEnd(sc.ch)) {
        sc.SetState(StyleDefault);
      }
      break;
    case StyleNumber:
      ContinueNumber(sc);
      break;
    case StyleKeyword:
    case StyleOperator:
      sc.SetState(StyleDefault);
      break;
  }
}

void LexerZorvex::Lex(Sci_PositionU startPos, Sci_Position length, int initStyle,
                      Scintilla::IDocument* doc) {
  Lexilla::LexAccessor styler(doc);
  // Always begin at a line start, so the directive test sees the whole line.
  const Sci_PositionU lineStart = styler.LineStart(styler.GetLine(startPos));
  if (lineStart < startPos) {
    length += startPos - lineStart;
    startPos = lineStart;
    initStyle = lineStart > 0 ? styler.StyleAt(lineStart - 1) : static_cast<int>(StyleDefault);
  }
  // Only block comments reach across a line end.
  if (!IsBlockComment(initStyle)) initStyle = StyleDefault;

  Lexilla::StyleContext sc(startPos, length, initStyle, styler);
  bool directiveLine = false;
  directiveLineComment = false;
  for (; sc.More(); sc.Forward()) {
    if (sc.atLineStart) {
      directiveLine = sc.state == StyleDefault && IsDirectiveLine(styler, sc.currentPos);
    }
    ContinueToken(sc);
    if (sc.state == StyleDefault) StartToken(sc, styler, directiveLine);
  }
  sc.Complete();
}

void LexerZorvex::Fold(Sci_PositionU startPos, Sci_Position length, int, Scintilla::IDocument* doc) {
  Lexilla::LexAccessor styler(doc);
  FoldZorvex(styler, startPos, length);
}

}  // namespace

Scintilla::ILexer5* CreateZorvexLexer() {
  return new LexerZorvex();
}
