// Indentation as the user types, the comment toggle, Tab on lines and matching block words
// and brackets, each on whole texts before and after. A "|" in a text is the caret.
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>
#include "editor/BlockMatch.h"
#include "editor/Comments.h"
#include "editor/Indentation.h"
#include "language/LanguageWords.h"
#include "editor/UndoSteps.h"

namespace {

int LineOf(const TextLines& lines, size_t position) {
  int line = 0;
  while (line + 1 < lines.Count() && lines.Start(line + 1) <= position) ++line;
  return line;
}

// Makes the edits on text, the way the editor makes them: from the last to the first.
std::string Applied(const std::string& text, std::vector<LineEdit> edits) {
  const TextLines lines(text);
  std::sort(edits.begin(), edits.end(),
            [](const LineEdit& a, const LineEdit& b) { return a.line != b.line ? a.line > b.line : a.from > b.from; });
  std::string out = text;
  for (const LineEdit& e : edits) out.replace(lines.Start(e.line) + e.from, e.to - e.from, e.text);
  return out;
}

// Types keys at the caret as the editor does: each key goes in, then a line break asks for the
// new line's indentation and any other character that ends a word for a completed closer's.
std::string Typed(std::string text, const std::string& keys) {
  size_t caret = text.find('|');
  text.erase(caret, 1);
  for (char key : keys) {
    text.insert(caret++, 1, key);
    if (key == '\r') continue;  // the \n of the CR LF does the work
    const TextLines lines(text);
    const int line = LineOf(lines, caret);
    if (key == '\n') {
      const LineBreakIndent indent = IndentAfterLineBreak(lines, line, IndentStep(lines, line));
      text = Applied(text, indent.edits);
      caret = TextLines(text).Start(line) + indent.caretColumn;
    } else if (!std::isalnum(static_cast<unsigned char>(key)) && key != '_') {
      const size_t column = caret - lines.Start(line);
      const std::vector<LineEdit> edits = DedentCompletedWord(lines, line, column - 1);
      text = Applied(text, edits);
      caret = TextLines(text).Start(line) + ColumnAfterEdits(edits, line, column);
    }
  }
  return text.insert(caret, "|");
}

}  // namespace

TEST(Indentation, TypingKeepsAndStepsTheIndentation) {
  struct Case { const char* before; const char* keys; const char* after; };
  const Case cases[] = {
      {"  print 1|", "\n", "  print 1\n  |"},
      {"\tprint 1|", "\n", "\tprint 1\n\t|"},
      {"sub a()|", "\n", "sub a()\n  |"},
      {"function f() as int|", "\nreturn 1", "function f() as int\n  return 1|"},
      {"type point|", "\n", "type point\n  |"},
      {"sub a()\n    print 1\nend sub\nfor i = 1 to 3|", "\n", "sub a()\n    print 1\nend sub\nfor i = 1 to 3\n    |"},
      {"sub a()\n\tprint\nend sub\nwhile x|", "\n", "sub a()\n\tprint\nend sub\nwhile x\n\t|"},
      {"  if x then|", "\n", "  if x then\n    |"},
      {"if x then ' look|", "\n", "if x then ' look\n  |"},
      {"if x then print 1|", "\n", "if x then print 1\n|"},
      {"if x then : y = 1|", "\n", "if x then : y = 1\n|"},
      {"  exit for|", "\n", "  exit for\n  |"},
      {"print \"for\"|", "\n", "print \"for\"\n|"},
      {"' for each line|", "\n", "' for each line\n|"},
      {"rem for x|", "\n", "rem for x\n|"},
      {"; do it|", "\n", "; do it\n|"},
      {"/*\n  for x|", "\n", "/*\n  for x\n  |"},
      {"  print \"ab|cd\"", "\n", "  print \"ab\n|cd\""},
      {"do|", "\n", "do\n  |"},
      {"repeat : x = 1|", "\n", "repeat : x = 1\n  |"},
      {"for i = 1 to 3 : next|", "\n", "for i = 1 to 3 : next\n|"},
      {"for i = 1 to 2|   print", "\n", "for i = 1 to 2\n  |print"},
      {"sub a()\n  |print 1", "\n", "sub a()\n  \n  |print 1"},
      {"  |  print", "\n", "  \n    |print"},
      {"|  print", "\n", "\n  |print"},
      {"    |", "\n", "    \n    |"},
      // Enter on an empty line indents as below the nearest line with text
      {"sub a()\n  print 1\n|", "\n", "sub a()\n  print 1\n\n  |"},
      {"sub a()\n|", "\n", "sub a()\n\n  |"},
      {"sub a()\n  if x then\n\n\n|", "\n", "sub a()\n  if x then\n\n\n\n    |"},
      {"sub a()\n  print 1\nend sub\n|", "\n", "sub a()\n  print 1\nend sub\n\n|"},
      {"|", "\n", "\n|"},
      {"\tprint 1\n|", "\n\nx", "\tprint 1\n\n\t\n\tx|"},
      {"sub a()|", "\r\nx", "sub a()\r\n  x|"},
      // a closing word goes back to its opener once it is complete
      {"for i = 1 to 3\n  print i\n  next|", " i", "for i = 1 to 3\n  print i\nnext i|"},
      {"if a then\n  x = 1\n  else|", "\n", "if a then\n  x = 1\nelse\n  |"},
      {"if a then\n  x = 1\n  |", "elseif b then\n", "if a then\n  x = 1\nelseif b then\n  |"},
      {"  if a then\n    print\n    end if|", "\n", "  if a then\n    print\n  end if\n  |"},
      {"while x\n  y\n  wend|", "\n", "while x\n  y\nwend\n|"},
      {"do\n  y\n  enddo|", ":", "do\n  y\nenddo:|"},
      {"repeat\n  x = 1\n  until|", " x", "repeat\n  x = 1\nuntil x|"},
      {"sub a\n  end|", " ", "sub a\n  end |"},
      {"for i = 1 to 3\n  nextval|", " ", "for i = 1 to 3\n  nextval |"},
      {"for i = 1 to 3\n  print i|next", "\n", "for i = 1 to 3\n  print i\n|next"},
      {"select x|", "\ncase 1\nprint\ncase 2\nend select\n",
       "select x\ncase 1\n  print\ncase 2\nend select\n|"},
      {"sub a\n  for i = 1 to 2\n    if x then\n      y\n      end if|", "\n",
       "sub a\n  for i = 1 to 2\n    if x then\n      y\n    end if\n    |"},
      {"sub a\n  if x then\n    for i = 1 to 2\n  end if\n  end sub|", "\n",
       "sub a\n  if x then\n    for i = 1 to 2\n  end if\nend sub\n|"},
      {"  next|", " ", "  next |"},
  };
  for (const Case& c : cases) EXPECT_EQ(Typed(c.before, c.keys), c.after) << c.before << " + " << c.keys;
}

TEST(Indentation, TabAndShiftTabShiftTheLinesByTheStep) {
  struct Case { const char* before; const char* step; bool outdent; const char* after; };
  const Case cases[] = {
      {"a\n  b\n\nc", "  ", false, "  a\n    b\n\n  c"},
      {"a\nb", "\t", false, "\ta\n\tb"},
      {"    a\n  b\nc\n\tb", "  ", true, "  a\nb\nc\nb"},
      {"\t\ta\n        b\n   c", "\t", true, "\ta\nb\nc"},
      {" a\n   \n", "    ", true, "a\n   \n"},
  };
  for (const Case& c : cases) {
    const TextLines lines(c.before);
    EXPECT_EQ(Applied(c.before, ShiftLines(lines, 0, lines.Count() - 1, c.step, c.outdent, 8)), c.after) << c.before;
  }
}

TEST(Comments, CtrlQTogglesTheMarkOnTheLines) {
  struct Case { const char* before; int first, last; bool removeOnly; const char* after; };
  const Case cases[] = {
      {"print 1", 0, 0, false, "' print 1"},
      {"  a\n  b\nc", 0, 1, false, "'   a\n'   b\nc"},
      {"' a\n  ' b", 0, 1, false, "a\n  b"},
      {"'a\n  '  b", 0, 1, false, "a\n   b"},
      {"' a\nb", 0, 1, false, "' ' a\n' b"},
      {"' a\nb", 0, 1, true, "a\nb"},
      {"a\nb", 0, 1, true, "a\nb"},
      {"a\n\n  \nb", 0, 3, false, "' a\n\n  \n' b"},
      {"a\n\n  \nb", 1, 2, false, "a\n' \n'   \nb"},
      {"a\n\n  \nb", 1, 2, true, "a\n\n  \nb"},
      {"rem x\n; y\n// z\nREM\n'w", 0, 4, false, "x\ny\nz\n\nw"},
      {"remark = 1", 0, 0, false, "' remark = 1"},
      {"a\r\nb\r\n", 0, 1, false, "' a\r\n' b\r\n"},
  };
  for (const Case& c : cases) {
    const TextLines lines(c.before);
    EXPECT_EQ(Applied(c.before, ToggleComments(lines, c.first, c.last, c.removeOnly)), c.after) << c.before;
  }
}

TEST(LineEdits, APositionStaysOnItsTextWhenTheLineChanges) {
  const std::vector<LineEdit> edits = {{1, 0, 0, "' "}, {2, 2, 4, ""}};
  struct Case { int line; size_t column; size_t after; };
  const Case cases[] = {{0, 3, 3}, {1, 0, 0}, {1, 5, 7}, {2, 1, 1}, {2, 3, 2}, {2, 4, 2}, {2, 9, 7}};
  for (const Case& c : cases) EXPECT_EQ(ColumnAfterEdits(edits, c.line, c.column), c.after) << c.line << ":" << c.column;
}

namespace {

// The text with every matched range of the block at the caret put in braces.
std::string Marked(std::string text) {
  const size_t caret = text.find('|');
  text.erase(caret, 1);
  const TextLines lines(text);
  const int line = LineOf(lines, caret);
  std::vector<LineRange> marks = MatchingBlockWords(lines, line, caret - lines.Start(line), 100);
  std::reverse(marks.begin(), marks.end());
  for (const LineRange& m : marks) {
    text.insert(lines.Start(m.line) + m.to, "}");
    text.insert(lines.Start(m.line) + m.from, "{");
  }
  return text;
}

}  // namespace

TEST(BlockMatch, MarksEveryWordOfTheBlockAtTheCaret) {
  struct Case { const char* text; const char* marked; };
  const Case cases[] = {
      {"f|or i = 1 to 2\n  print\nnext", "{for} i = 1 to 2\n  print\n{next}"},
      {"for i = 1 to 2\n  print\nnext|", "{for} i = 1 to 2\n  print\n{next}"},
      {"if a then\n  x\nelse|if b then\n  y\nelse\n  z\nend if", "{if} a then\n  x\n{elseif} b then\n  y\n{else}\n  z\n{end if}"},
      {"sub a\n  if x then\n    y\n  end if\nend s|ub", "{sub} a\n  if x then\n    y\n  end if\n{end sub}"},
      {"sel|ect x\ncase 1\n  select y\n  case 2\n  end select\ncase else\nendselect",
       "{select} x\n{case} 1\n  select y\n  case 2\n  end select\n{case} else\n{endselect}"},
      {"repeat\n  x\nunt|il y", "{repeat}\n  x\n{until} y"},
      {"do|\n  exit do\nend do", "{do}\n  exit do\n{end do}"},
      {"while x\n  y\nwend : wh|ile z\nend while", "while x\n  y\nwend : {while} z\n{end while}"},
      {"w|hile x\n  y", "{while} x\n  y"},
      {"for i = 1 to 2\n/* next\n*/ ' next\nnext|", "{for} i = 1 to 2\n/* next\n*/ ' next\n{next}"},
      {"i|f a then b = 1", "if a then b = 1"},
      {"print \"f|or\"", "print \"for\""},
      {"for i = 1 to 2\n  exit f|or\nnext", "for i = 1 to 2\n  exit for\nnext"},
      {"  print x|", "  print x"},
      {"sub a\n  for i = 1 to 2\nend s|ub", "{sub} a\n  for i = 1 to 2\n{end sub}"},
  };
  for (const Case& c : cases) EXPECT_EQ(Marked(c.text), c.marked) << c.text;
}

TEST(BlockMatch, FindsTheBracketBesideTheCaretAndItsPartner) {
  struct Case { const char* line; size_t column; bool found; size_t at; bool matched; size_t partner; };
  const Case cases[] = {
      {"print (a + (b))", 7, true, 6, true, 14},
      {"print (a + (b))", 6, true, 6, true, 14},
      {"print (a + (b))", 15, true, 14, true, 6},
      {"x = (1", 5, true, 4, false, 0},
      {"x = 1)", 6, true, 5, false, 0},
      {"a[(1)]", 1, true, 1, true, 5},
      {"print \"(\"", 8, false, 0, false, 0},
      {"x ' (", 5, false, 0, false, 0},
      {"f(\")\")", 2, true, 1, true, 5},
      {"print x", 3, false, 0, false, 0},
  };
  for (const Case& c : cases) {
    const BracketMatch m = MatchBracket(c.line, false, c.column);
    EXPECT_EQ(m.found, c.found) << c.line << " @" << c.column;
    if (!c.found) continue;
    EXPECT_EQ(m.at, c.at) << c.line << " @" << c.column;
    EXPECT_EQ(m.matched, c.matched) << c.line << " @" << c.column;
    if (c.matched) {
      EXPECT_EQ(m.partner, c.partner) << c.line << " @" << c.column;
    }
  }
}

TEST(Indentation, AKeyIsKnownToMoveAClosingWordBeforeItIsTyped) {
  struct Case { const char* text; int line; size_t column; char ch; bool moves; };
  const Case cases[] = {
      {"for i = 1 to 3\n  print i\n  next", 2, 6, ' ', true},
      {"for i = 1 to 3\n  print i\n  next", 2, 6, ':', true},
      {"for i = 1 to 3\n  print i\n  next", 2, 6, 'x', false},  // the word goes on
      {"for i = 1 to 3\n  print i\n  nex", 2, 5, ' ', false},   // not a closing word
      {"for i = 1 to 3\n  print i\nnext", 2, 4, ' ', false},    // already at its opener's
      {"for i = 1 to 3\n  print i\n  next", 2, 2, ' ', false},  // before the word
      {"if a then\n  x = 1\n  else", 2, 6, ' ', true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TypingMovesClosingWord(TextLines(c.text), c.line, c.column, c.ch), c.moves) << c.text << " + " << c.ch;
}

TEST(Completion, OffersTheLanguagesOwnKeywordsOnceEach) {
  const std::vector<std::string> words =
      CompletionKeywords("print Print type typecodeof typedef typeof\r\nWEND redim redim frobnicate");
  auto has = [&](const char* w) { return std::count(words.begin(), words.end(), std::string(w)); };
  for (const char* kept : {"print", "type", "WEND", "redim", "input", "for", "next"}) EXPECT_EQ(has(kept), 1) << kept;
  for (const char* left : {"Print", "typecodeof", "typedef", "typeof", "frobnicate", "wend"}) EXPECT_EQ(has(left), 0) << left;
}
