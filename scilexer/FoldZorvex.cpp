// Folding of Zorvex Basic: blocks of statements, "#ifdef"/"#ifndef"/"#if" ... "#endif" and
// block comments over several lines.
//
// Each line's fold level is the depth of blocks open at its start; a line that closes a block
// and opens one ("else", "elseif ... then", "#else", "end if : if x then") takes the lower
// depth, so it heads a fold of its own and the branch above it folds on its own too. The depth
// after the line is kept in the upper 16 bits of its level, where the next line reads it.
// Only words and operators that the lexer left as code count: nothing in strings or comments.
#include "scilexer/FoldZorvex.h"
#include <string_view>
#include "Scintilla.h"
#include "scilexer/ZorvexStyles.h"

namespace {

using namespace ZorvexStyles;

// How a word at the start of a statement changes the depth.
enum class Effect { None, Open, Close, Branch, End, If, ElseIf };

struct WordEffect {
  std::string_view word;
  Effect effect;
};

constexpr WordEffect StatementWords[] = {
    {"sub", Effect::Open},         {"function", Effect::Open},   {"type", Effect::Open},
    {"for", Effect::Open},         {"while", Effect::Open},      {"do", Effect::Open},
    {"repeat", Effect::Open},      {"select", Effect::Open},     {"#ifdef", Effect::Open},
    {"#ifndef", Effect::Open},     {"#if", Effect::Open},        {"next", Effect::Close},
    {"wend", Effect::Close},       {"endwhile", Effect::Close},  {"enddo", Effect::Close},
    {"until", Effect::Close},      {"endif", Effect::Close},     {"endselect", Effect::Close},
    {"#endif", Effect::Close},     {"else", Effect::Branch},     {"#else", Effect::Branch},
    {"#elseif", Effect::Branch},   {"end", Effect::End},         {"if", Effect::If},
    {"elseif", Effect::ElseIf},
};

// Words that "end" closes a block with ("end sub"); a lone "end" stops the program.
constexpr std::string_view EndedBlocks[] = {"sub", "function", "type", "if", "while", "do", "select"};

Effect EffectOf(std::string_view word) {
  for (const WordEffect& w : StatementWords) {
    if (w.word == word) return w.effect;
  }
  return Effect::None;
}

bool EndsABlock(std::string_view word) {
  for (std::string_view w : EndedBlocks) {
    if (w == word) return true;
  }
  return false;
}

bool IsWordStart(unsigned char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' || ch == '#' || ch >= 0x80;
}

bool IsWordChar(unsigned char ch) {
  return IsWordStart(ch) || (ch >= '0' && ch <= '9');
}

bool IsBlank(unsigned char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f' || ch == '\v';
}

bool IsBlockCommentStyle(int style) {
  return style == StyleComment || style == StyleDocComment || style == StyleDirectiveComment ||
         style == StyleDirectiveDocComment;
}

// Text the lexer left as code: words, operators and anything unclassified.
bool IsCodeStyle(int style) {
  return style == StyleDefault || style == StyleKeyword || style == StyleOperator;
}

constexpr int DeepestLevel = SC_FOLDLEVELNUMBERMASK;
// Marks a line that heads a branch ("else", "elseif ... then", "#else"), above the depth after
// the line; the line that closes the block then ends the branch's fold before itself.
constexpr int BranchFlag = 0x10000000;

// The depths of one line while it is read.
struct LineDepth {
  int lowest;   // lowest depth before an opener of the line
  int after;    // open blocks after the part read so far
  bool branched = false;  // a branch began on the line

  void Open() {
    if (lowest > after) lowest = after;
    if (after < DeepestLevel) ++after;
  }
  // A closer without an open block is ignored, so a stray one leaves the blocks below alone.
  void Close() {
    if (after > SC_FOLDLEVELBASE) --after;
  }
  // "else" and the like end one branch and begin the next, inside an open block only.
  void Branch() {
    if (after == SC_FOLDLEVELBASE) return;
    --after;
    Open();
    branched = true;
  }
  int Level() const {
    const int header = lowest < after ? SC_FOLDLEVELHEADERFLAG : 0;
    const int branch = header && branched ? BranchFlag : 0;
    return lowest | header | branch | (after << 16);
  }
};

// Reads the statements of one line word by word and applies their effects to its depth.
class StatementReader {
 public:
  explicit StatementReader(LineDepth& depth) : depth_(depth) {}
  void Word(std::string_view word);
  void Separator();  // ":" between statements
  void OtherCode();  // an operator, number or string
  void LineEnd();

 private:
  enum class IfState { None, AwaitThen, AfterThen };
  LineDepth& depth_;
  bool statementStart_ = true;
  bool afterEnd_ = false;       // the statement began with "end"
  IfState if_ = IfState::None;
  bool elseIf_ = false;         // the "if" being read is an "elseif"
  bool done_ = false;           // the rest of the line is a one-line if's statement
};

void StatementReader::Word(std::string_view word) {
  if (done_) return;
  if (if_ == IfState::AfterThen) {
    done_ = true;  // "if c then statement": nothing opens
    return;
  }
  if (afterEnd_) {
    afterEnd_ = false;
    if (EndsABlock(word)) depth_.Close();
    return;
  }
  if (if_ == IfState::AwaitThen) {
    if (word == "then") if_ = IfState::AfterThen;
    return;
  }
  if (!statementStart_) return;
  statementStart_ = false;
  switch (EffectOf(word)) {
    case Effect::Open: depth_.Open(); break;
    case Effect::Close: depth_.Close(); break;
    case Effect::Branch: depth_.Branch(); break;
    case Effect::End: afterEnd_ = true; break;
    case Effect::If: if_ = IfState::AwaitThen; elseIf_ = false; break;
    case Effect::ElseIf: if_ = IfState::AwaitThen; elseIf_ = true; break;
    case Effect::None: break;
  }
}

void StatementReader::Separator() {
  if (if_ == IfState::AfterThen) done_ = true;
  if (done_) return;
  statementStart_ = true;
  afterEnd_ = false;
  if_ = IfState::None;
}

void StatementReader::OtherCode() {
  if (if_ == IfState::AfterThen) done_ = true;
  statementStart_ = false;
  afterEnd_ = false;
}

void StatementReader::LineEnd() {
  if (done_ || if_ != IfState::AfterThen) return;
  if (elseIf_) {
    depth_.Branch();
  } else {
    depth_.Open();
  }
}

int StyleAt(Lexilla::LexAccessor& styler, Sci_PositionU pos) {
  return static_cast<unsigned char>(styler.StyleAt(static_cast<Sci_Position>(pos)));
}

unsigned char CharAt(Lexilla::LexAccessor& styler, Sci_PositionU pos) {
  return static_cast<unsigned char>(styler.SafeGetCharAt(static_cast<Sci_Position>(pos), ' '));
}

char Lower(unsigned char ch) {
  return static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
}

// Hands the word of code at pos to reader, folded to lower case (a word longer than any that
// folds goes as an empty word), and returns the position after it.
Sci_PositionU ReadWord(Lexilla::LexAccessor& styler, Sci_PositionU pos, Sci_PositionU end,
                       StatementReader& reader) {
  char word[12];
  size_t length = 0;
  for (; pos < end && IsWordChar(CharAt(styler, pos)) && IsCodeStyle(StyleAt(styler, pos)); ++pos) {
    if (length < sizeof word) word[length] = Lower(CharAt(styler, pos));
    ++length;
  }
  reader.Word(length <= sizeof word ? std::string_view(word, length) : std::string_view());
  return pos;
}

bool IsLineBreak(unsigned char ch) {
  return ch == '\r' || ch == '\n';
}

// Whether the block comment in progress at the end of the line from lineStart to lineEnd goes
// on past its line break (the break then carries the comment's style).
bool CommentGoesOn(Lexilla::LexAccessor& styler, Sci_PositionU lineStart, Sci_PositionU lineEnd) {
  return lineEnd > lineStart && IsLineBreak(CharAt(styler, lineEnd - 1)) &&
         IsBlockCommentStyle(StyleAt(styler, lineEnd - 1));
}

// Applies the line from lineStart up to lineEnd (the next line's start) to depth. A block
// comment over several lines folds from the line it starts on to the line it ends on.
void FoldLine(Lexilla::LexAccessor& styler, Sci_PositionU lineStart, Sci_PositionU lineEnd,
              LineDepth& depth) {
  const bool commentBefore = lineStart > 0 && IsBlockCommentStyle(StyleAt(styler, lineStart - 1));
  const bool commentAfter = CommentGoesOn(styler, lineStart, lineEnd);
  if (commentBefore && !commentAfter) depth.Close();
  StatementReader reader(depth);
  for (Sci_PositionU pos = lineStart; pos < lineEnd;) {
    const int style = StyleAt(styler, pos);
    const unsigned char ch = CharAt(styler, pos);
    if (IsCodeStyle(style) && IsWordStart(ch)) {
      pos = ReadWord(styler, pos, lineEnd, reader);
      continue;
    }
    if (style == StyleOperator && ch == ':') {
      reader.Separator();
    } else if (IsCodeStyle(style) || style == StyleNumber || style == StyleString || style == StyleOtherQuote) {
      if (!IsBlank(ch)) reader.OtherCode();
    }
    ++pos;
  }
  reader.LineEnd();
  if (commentAfter && !commentBefore) depth.Open();
}

// Whether the block that a line closing down to depth after ends was in a branch: the nearest
// line above at that depth or below heads it. The closing line then stands at that depth
// itself, so the branch's fold ends before it ("end if" stays in view below a folded "else").
bool ClosesABranch(Lexilla::LexAccessor& styler, Sci_Position line, int after) {
  for (Sci_Position above = line - 1; above >= 0; --above) {
    const int level = styler.LevelAt(above);
    if ((level & SC_FOLDLEVELNUMBERMASK) <= after) return (level & BranchFlag) != 0;
  }
  return false;
}

}  // namespace

void FoldZorvex(Lexilla::LexAccessor& styler, Sci_PositionU startPos, Sci_Position length) {
  const Sci_PositionU end = startPos + static_cast<Sci_PositionU>(length);
  const Sci_PositionU textLength = static_cast<Sci_PositionU>(styler.Length());
  Sci_Position line = styler.GetLine(static_cast<Sci_Position>(startPos));
  int open = line > 0 ? (styler.LevelAt(line - 1) >> 16) & SC_FOLDLEVELNUMBERMASK : SC_FOLDLEVELBASE;
  if (open < SC_FOLDLEVELBASE) open = SC_FOLDLEVELBASE;  // a line never folded yet
  for (Sci_PositionU lineStart = static_cast<Sci_PositionU>(styler.LineStart(line)); lineStart < end; ++line) {
    const Sci_PositionU lineEnd = static_cast<Sci_PositionU>(styler.LineStart(line + 1));
    LineDepth depth{open, open};
    FoldLine(styler, lineStart, lineEnd, depth);
    if (depth.lowest > depth.after && ClosesABranch(styler, line, depth.after)) depth.lowest = depth.after;
    const int level = depth.Level();
    if (styler.LevelAt(line) != level) styler.SetLevel(line, level);
    open = depth.after;
    // The empty line after a final line break belongs to whatever is still open.
    if (lineEnd == textLength && lineEnd > lineStart && IsLineBreak(CharAt(styler, lineEnd - 1))) {
      const int last = open | (open << 16);
      if (styler.LevelAt(line + 1) != last) styler.SetLevel(line + 1, last);
    }
    if (lineEnd <= lineStart) break;
    lineStart = lineEnd;
  }
}
