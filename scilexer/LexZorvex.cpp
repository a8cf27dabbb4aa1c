// Zorvex Basic lexer: colours each line by the tokens the language's line reader finds in it
// (LineTokens), so colouring and the editing aids read strings and comments alike, and sets the
// fold levels from the same tokens. The style numbers are the ones the editor's colour table
// expects (Scintilla's C-family lexers use the same numbers for the same classes).
//
// As coloured: a name found in keyword set 0 is a keyword, and so is a directive word ("#else");
// the match ignores the case of A..Z only. Comments that start on a directive line (one whose
// first non-blank character is "#") take the directive comment styles; a block comment keeps
// its style up to its "*/", even on later lines, and "/**" (but not "/**/") and "/*!" open a
// documentation comment. A line starts in a block comment exactly when the line break before it
// carries a block comment style, so lexing can restart at any line without saved per-line state.
#include <cassert>
#include <cstring>
#include <string>
#include <string_view>
#include "ILexer.h"
#include "Scintilla.h"
#include "WordList.h"
#include "LexAccessor.h"
#include "LexerModule.h"
#include "DefaultLexer.h"
#include "language/CharClasses.h"
#include "language/LineTokens.h"
#include "scilexer/FoldZorvex.h"
#include "scilexer/LexZorvex.h"

namespace {

using namespace ZorvexStyles;

class LexerZorvex : public Lexilla::DefaultLexer {
 public:
  LexerZorvex() : DefaultLexer("zorvex", ZorvexLexerNumber) {}
  const char* SCI_METHOD DescribeWordListSets() override { return "Keywords"; }
  const char* SCI_METHOD PropertyGet(const char*) override { return ""; }  // no properties
  Sci_Position SCI_METHOD WordListSet(int n, const char* wl) override;
  void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position length, int initStyle,
                      Scintilla::IDocument* doc) override;
  // The folds are set as each line is coloured, from the same tokens.
  void SCI_METHOD Fold(Sci_PositionU, Sci_Position, int, Scintilla::IDocument*) override {}

 private:
  int StyleOf(const LineToken& token, std::string_view line, bool directiveLine, int continued);

  Lexilla::WordList keywords;  // set 0, folded to lower case
  std::string listText;        // the folded list as last set, to notice a change
  std::string word;            // the word being classified, folded
  std::string text;            // the line being coloured, with its line break
  LineRead read;
};

Sci_Position LexerZorvex::WordListSet(int n, const char* wl) {
  if (n != 0) return -1;
  std::string folded = wl ? wl : "";
  for (char& c : folded) c = LowerLetter(c);
  if (folded == listText) return -1;
  listText = std::move(folded);
  keywords.Set(listText.c_str());
  return 0;  // restyle from the start
}

// continued is the style of a block comment the line began in.
// Whether the nearest line above line at depth open or below heads a branch.
bool ClosesABranch(Lexilla::LexAccessor& styler, Sci_Position line, int open) {
  for (Sci_Position above = line - 1; above >= 0; --above) {
    const int level = styler.LevelAt(above);
    if ((level & SC_FOLDLEVELNUMBERMASK) <= open) return (level & BranchFlag) != 0;
  }
  return false;
}

int LexerZorvex::StyleOf(const LineToken& token, std::string_view line, bool directiveLine, int continued) {
  switch (token.kind) {
    case TokenKind::Name:
    case TokenKind::Directive:
      word.assign(token.In(line));
      for (char& c : word) c = LowerLetter(c);
      return keywords.InList(word.c_str()) ? StyleKeyword : StyleDefault;
    case TokenKind::Number: return StyleNumber;
    case TokenKind::String: return StyleString;
    case TokenKind::OtherQuote: return StyleOtherQuote;
    case TokenKind::Operator:
    case TokenKind::Colon: return StyleOperator;
    case TokenKind::LineComment: return directiveLine ? StyleDirectiveComment : StyleLineComment;
    case TokenKind::BlockComment:
      if (token.start == 0 && read.startsInComment) return continued;
      if (directiveLine) return token.doc ? StyleDirectiveDocComment : StyleDirectiveComment;
      return token.doc ? StyleDocComment : StyleComment;
    case TokenKind::Other: return StyleDefault;
  }
  return StyleDefault;
}

void LexerZorvex::Lex(Sci_PositionU startPos, Sci_Position length, int, Scintilla::IDocument* doc) {
  Lexilla::LexAccessor styler(doc);
  const Sci_Position end = static_cast<Sci_Position>(startPos) + length;
  const Sci_Position textLength = styler.Length();
  // Always a whole line at a time, from the state the line above left: its line break's style
  // and the depth of the blocks open after it.
  Sci_Position line = styler.GetLine(static_cast<Sci_Position>(startPos));
  Sci_Position lineStart = styler.LineStart(line);
  int continued = lineStart > 0 ? static_cast<int>(styler.StyleAt(lineStart - 1)) : static_cast<int>(StyleDefault);
  if (!IsBlockCommentStyle(continued)) continued = StyleDefault;
  int open = line > 0 ? (styler.LevelAt(line - 1) >> 16) & SC_FOLDLEVELNUMBERMASK : SC_FOLDLEVELBASE;
  if (open < SC_FOLDLEVELBASE) open = SC_FOLDLEVELBASE;  // a line never folded yet
  styler.StartAt(static_cast<Sci_PositionU>(lineStart));
  styler.StartSegment(static_cast<Sci_PositionU>(lineStart));
  while (lineStart < end) {
    const Sci_Position next = styler.LineStart(line + 1);
    text.resize(static_cast<size_t>(next - lineStart));
    if (!text.empty()) doc->GetCharRange(text.data(), lineStart, next - lineStart);
    std::string_view code(text);
    while (!code.empty() && IsLineBreak(static_cast<unsigned char>(code.back()))) code.remove_suffix(1);
    ReadLine(code, continued != StyleDefault, read);
    const bool directiveLine = read.IsDirectiveLine();
    int last = StyleDefault;  // the style of the line's last block comment
    for (const LineToken& token : read.tokens) {
      if (token.start > 0) styler.ColourTo(static_cast<Sci_PositionU>(lineStart + token.start - 1), StyleDefault);
      last = StyleOf(token, code, directiveLine, continued);
      styler.ColourTo(static_cast<Sci_PositionU>(lineStart + token.start + token.length - 1), last);
    }
    // The line break carries the style of a comment that goes on past it.
    continued = read.endsInComment ? last : StyleDefault;
    if (next > lineStart) styler.ColourTo(static_cast<Sci_PositionU>(next - 1), code.size() < text.size() ? continued : StyleDefault);
    int level = FoldLevelOf(code, read, code.size() < text.size(), open);
    if (ClosesBlocks(level, open) && ClosesABranch(styler, line, open)) level = TrailingLevel(open);
    if (styler.LevelAt(line) != level) styler.SetLevel(line, level);
    // The empty line after a final line break belongs to whatever is still open.
    if (next == textLength && code.size() < text.size() && styler.LevelAt(line + 1) != TrailingLevel(open))
      styler.SetLevel(line + 1, TrailingLevel(open));
    if (next <= lineStart) break;
    lineStart = next;
    ++line;
  }
  styler.Flush();
}

}  // namespace

Scintilla::ILexer5* CreateZorvexLexer() {
  return new LexerZorvex();
}
