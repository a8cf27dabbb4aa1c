// The Zorvex Basic lexer on a document in memory: the classes it colours and the folds it sets,
// and the example sources of tests/unit/lexer against their golden files.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "ILexer.h"
#include "Scintilla.h"
#include "scilexer/LexZorvex.h"

namespace {

// A document as the lexer sees it: text, a style per byte, a fold level and state per line.
class TextDocument : public Scintilla::IDocument {
 public:
  explicit TextDocument(std::string text) : text_(std::move(text)), styles_(text_.size(), 0) {
    starts_.push_back(0);
    for (size_t i = 0; i < text_.size(); ++i) {
      const bool crlf = text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n';
      if ((text_[i] == '\r' && !crlf) || text_[i] == '\n') starts_.push_back(static_cast<Sci_Position>(i + 1));
    }
    levels_.assign(starts_.size(), SC_FOLDLEVELBASE);
    states_.assign(starts_.size(), 0);
  }
  int SCI_METHOD Version() const override { return Scintilla::dvRelease4; }
  void SCI_METHOD SetErrorStatus(int) override {}
  Sci_Position SCI_METHOD Length() const override { return static_cast<Sci_Position>(text_.size()); }
  void SCI_METHOD GetCharRange(char* buffer, Sci_Position position, Sci_Position length) const override {
    std::memcpy(buffer, text_.data() + position, static_cast<size_t>(length));
  }
  char SCI_METHOD StyleAt(Sci_Position position) const override {
    return position >= 0 && position < Length() ? styles_[static_cast<size_t>(position)] : 0;
  }
  Sci_Position SCI_METHOD LineFromPosition(Sci_Position position) const override {
    return std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin() - 1;
  }
  Sci_Position SCI_METHOD LineStart(Sci_Position line) const override {
    if (line < 0) return 0;
    return line < Lines() ? starts_[static_cast<size_t>(line)] : Length();
  }
  int SCI_METHOD GetLevel(Sci_Position line) const override {
    return line >= 0 && line < Lines() ? levels_[static_cast<size_t>(line)] : SC_FOLDLEVELBASE;
  }
  int SCI_METHOD SetLevel(Sci_Position line, int level) override {
    if (line < 0 || line >= Lines()) return SC_FOLDLEVELBASE;
    return std::exchange(levels_[static_cast<size_t>(line)], level);
  }
  int SCI_METHOD GetLineState(Sci_Position line) const override {
    return line >= 0 && line < Lines() ? states_[static_cast<size_t>(line)] : 0;
  }
  int SCI_METHOD SetLineState(Sci_Position line, int state) override {
    if (line < 0 || line >= Lines()) return 0;
    return std::exchange(states_[static_cast<size_t>(line)], state);
  }
  void SCI_METHOD StartStyling(Sci_Position position) override { styling_ = static_cast<size_t>(position); }
  bool SCI_METHOD SetStyleFor(Sci_Position length, char style) override {
    for (Sci_Position i = 0; i < length && styling_ < styles_.size(); ++i) styles_[styling_++] = style;
    return true;
  }
  bool SCI_METHOD SetStyles(Sci_Position length, const char* styles) override {
    for (Sci_Position i = 0; i < length && styling_ < styles_.size(); ++i) styles_[styling_++] = styles[i];
    return true;
  }
  void SCI_METHOD DecorationSetCurrentIndicator(int) override {}
  void SCI_METHOD DecorationFillRange(Sci_Position, int, Sci_Position) override {}
  void SCI_METHOD ChangeLexerState(Sci_Position, Sci_Position) override {}
  int SCI_METHOD CodePage() const override { return 0; }
  bool SCI_METHOD IsDBCSLeadByte(char) const override { return false; }
  const char* SCI_METHOD BufferPointer() override { return text_.c_str(); }
  int SCI_METHOD GetLineIndentation(Sci_Position) override { return 0; }
  Sci_Position SCI_METHOD LineEnd(Sci_Position line) const override {
    Sci_Position end = LineStart(line + 1);
    while (end > LineStart(line) && (text_[static_cast<size_t>(end - 1)] == '\n' || text_[static_cast<size_t>(end - 1)] == '\r')) --end;
    return end;
  }
  Sci_Position SCI_METHOD GetRelativePosition(Sci_Position start, Sci_Position offset) const override {
    const Sci_Position pos = start + offset;
    return pos < 0 || pos > Length() ? -1 : pos;
  }
  int SCI_METHOD GetCharacterAndWidth(Sci_Position position, Sci_Position* width) const override {
    if (width) *width = 1;
    return position >= 0 && position < Length() ? static_cast<unsigned char>(text_[static_cast<size_t>(position)]) : 0;
  }

  Sci_Position Lines() const { return static_cast<Sci_Position>(starts_.size()); }
  const std::string& Text() const { return text_; }
  int Level(Sci_Position line) const { return levels_[static_cast<size_t>(line)]; }
  // Spoils the styles and levels from line on, as an edit there leaves them stale.
  void Spoil(Sci_Position line) {
    std::fill(styles_.begin() + LineStart(line), styles_.end(), 99);
    std::fill(levels_.begin() + line, levels_.end(), (SC_FOLDLEVELBASE + 7) | SC_FOLDLEVELHEADERFLAG);
  }

 private:
  std::string text_;
  std::vector<char> styles_;
  std::vector<Sci_Position> starts_;
  std::vector<int> levels_;
  std::vector<int> states_;
  size_t styling_ = 0;
};

const char Keywords[] = "#define #ifdef dim end for if next sub then";

struct Lexer {
  void operator()(Scintilla::ILexer5* l) const { l->Release(); }
};

// Colours and folds the document from the start of line on to its end.
void LexFrom(TextDocument& doc, Sci_Position line, const char* keywords = Keywords) {
  std::unique_ptr<Scintilla::ILexer5, Lexer> lexer(CreateZorvexLexer());
  lexer->WordListSet(0, keywords);
  const Sci_Position start = doc.LineStart(line);
  const int initStyle = start > 0 ? doc.StyleAt(start - 1) : 0;
  lexer->Lex(static_cast<Sci_PositionU>(start), doc.Length() - start, initStyle, &doc);
  lexer->Fold(static_cast<Sci_PositionU>(start), doc.Length() - start, initStyle, &doc);
}

char StyleLetter(int style) {
  switch (style) {
    case 0: return '.';
    case 1: return 'c';   // block comment
    case 2: return 'l';   // line comment
    case 4: return 'n';   // number
    case 5: return 'k';   // keyword
    case 6: return 's';   // string
    case 10: return 'o';  // operator
    case 23: return 'p';  // comment on a directive line
    default: return '?';
  }
}

std::string StylesOf(const std::string& text) {
  TextDocument doc(text);
  LexFrom(doc, 0);
  std::string letters;
  for (Sci_Position i = 0; i < doc.Length(); ++i) letters += StyleLetter(doc.StyleAt(i));
  return letters;
}

// Each line's depth, with "h" when it heads a fold: "0h 1 0".
std::string FoldsOf(TextDocument& doc) {
  std::string folds;
  for (Sci_Position line = 0; line < doc.Lines(); ++line) {
    const int level = doc.Level(line);
    if (line > 0) folds += ' ';
    folds += std::to_string((level & SC_FOLDLEVELNUMBERMASK) - SC_FOLDLEVELBASE);
    if (level & SC_FOLDLEVELHEADERFLAG) folds += 'h';
  }
  return folds;
}

std::string FoldsOf(const std::string& text) {
  TextDocument doc(text);
  LexFrom(doc, 0);
  return FoldsOf(doc);
}

struct Case {
  const char* what;
  const char* text;
  const char* expected;
};

TEST(ZorvexLexer, ColoursRemAsALineComment) {
  const Case cases[] = {
      {"rem after a statement", "x = 1 : rem for all", "..o.n.o.lllllllllll"},
      {"any letter case; a longer word is a name", "REM x\nremark", "lllll......."},
      {"on a directive line", "#define X rem c", "kkkkkkk...ppppp"},
      {"keywords, numbers and comments around it", "dim x = 12 /* a\nb */", "kkk...o.nn.ccccccccc"},
  };
  for (const Case& c : cases) EXPECT_EQ(StylesOf(c.text), c.expected) << c.what;
}

TEST(ZorvexLexer, FoldsEveryKindOfBlock) {
  const Case cases[] = {
      {"sub", "sub a\n  x\nend sub\n", "0h 1 1 0"},
      {"function and type", "function f() as int\nend function\ntype p\n x as int\nend type", "0h 1 0h 1 1"},
      {"block if with its branches", "if a then\n x\nelseif b then\n y\nelse\n z\nend if\n",
       "0h 1 0h 1 0h 1 0 0"},
      {"a branch's fold ends before the end if",
       "if a then\n for i = 1 to 2\n next\nelse\n for j = 1 to 2\n next\nend if\nnext\n",
       "0h 1h 2 0h 1h 2 0 0 0"},
      {"endif and a comment after then", "If a Then ' go\n x\nENDIF\n", "0h 1 1 0"},
      {"loops", "for i = 1 to 2\nnext i\nwhile x\nwend\nwhile x\nendwhile\nwhile x\nend while\n"
                "do\nend do\ndo\nenddo\nrepeat\nuntil x\n",
       "0h 1 0h 1 0h 1 0h 1 0h 1 0h 1 0h 1 0"},
      {"select with its cases", "select x\ncase 1\ncase else\nend select\nselect y\nendselect\n",
       "0h 1 1 1 0h 1 0"},
      {"nested", "sub a\n for i = 1 to 3\n  if x then\n  end if\n next\nend sub\n", "0h 1h 2h 3 2 1 0"},
      {"block comment over lines", "/* a\n b\n c */\nx /* d */\n", "0h 1 1 0 0"},
      {"directives", "#ifdef X\n#else\n#endif\n#ifndef Y\n#endif\n", "0h 0h 0 0h 1 0"},
      {"unclosed blocks fold to the end", "sub a\n for i = 1 to 2\n", "0h 1h 2"},
      {"an unclosed comment folds to the end", "x\n/* a\nb", "0 0h 1"},
      {"CR LF and CR line ends", "sub a\r\nx\r\nend sub\rsub b\rend sub", "0h 1 1 0h 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldsOf(c.text), c.expected) << c.what;
}

TEST(ZorvexLexer, FoldsOnlyWhatOpensABlock) {
  const Case cases[] = {
      {"one-line if", "if a then b = 1\nif a then exit for : next\nx\n", "0 0 0 0"},
      {"if without then", "if a\nx\n", "0 0 0"},
      {"exit and a lone end close nothing", "do\n exit do\n end\nend do\n", "0h 1 1 1 0"},
      {"words in strings and comments", "print \"sub\" ' for\nx = `while` /* do */ ; if a then\n"
                                        "rem select\n",
       "0 0 0 0"},
      {"block words later in a statement", "print for\ndim next\n", "0 0 0"},
      {"a whole block on one line", "for i = 1 to 3 : print i : next\n", "0 0"},
      {"stray closers", "end sub\nnext\nelse\nsub a\n", "0 0 0 0h 1"},
      {"a statement after a label or a colon", "top: for i = 1 to 2\nx = 1 : while y\nwend\nnext\n",
       "0h 1h 2 1 0"},
      {"closing and opening on one line", "sub a\nend sub : sub b\nend sub\n", "0h 0h 1 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldsOf(c.text), c.expected) << c.what;
}

TEST(ZorvexLexer, BlocksNestAThousandDeep) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "do\n";
  for (int i = 0; i < 1000; ++i) text += "end do\n";
  TextDocument doc(text);
  LexFrom(doc, 0);
  EXPECT_EQ(doc.Level(999) & SC_FOLDLEVELNUMBERMASK, SC_FOLDLEVELBASE + 999);
  EXPECT_TRUE(doc.Level(999) & SC_FOLDLEVELHEADERFLAG);
  EXPECT_EQ(doc.Level(2000) & SC_FOLDLEVELNUMBERMASK, SC_FOLDLEVELBASE);
}

// The editor restyles and refolds from the line of an edit on, keeping the lines above: every
// restart must give what a pass over the whole text gives.
TEST(ZorvexLexer, RestartingAtAnyLineGivesTheSameStylesAndFolds) {
  const std::string text =
      "#ifdef X\nsub a(x as int)\n  /* note\n   for */\n  if x then\n    print \"end if\"\n"
      "  elseif x > 1 then ' then\n    repeat : x = x - 1\n    until x = 0\n  end if\nend sub\n#endif\n";
  TextDocument whole(text);
  LexFrom(whole, 0);
  const std::string styles = StylesOf(text), folds = FoldsOf(whole);
  for (Sci_Position line = 1; line + 1 < whole.Lines(); ++line) {
    TextDocument doc(text);
    LexFrom(doc, 0);
    doc.Spoil(line);
    LexFrom(doc, line);
    std::string restyled;
    for (Sci_Position i = 0; i < doc.Length(); ++i) restyled += StyleLetter(doc.StyleAt(i));
    EXPECT_EQ(restyled, styles) << "from line " << line;
    EXPECT_EQ(FoldsOf(doc), folds) << "from line " << line;
  }
}

// The golden files, written as Lexilla writes its lexers' own: the text with "{style}" where the
// style changes, and each line behind its fold flags, level and the level after it (hexadecimal)
// and "+" for a fold point or "|" inside a fold.
std::string StyledText(const TextDocument& doc) {
  std::string styled;
  int last = -1;
  for (Sci_Position i = 0; i < doc.Length(); ++i) {
    const int style = static_cast<unsigned char>(doc.StyleAt(i));
    if (style != last) styled += "{" + std::to_string(style) + "}";
    last = style;
    styled += doc.Text()[static_cast<size_t>(i)];
  }
  return styled;
}

std::string LevelText(int level) {
  char shown[32];
  const int now = level & 0xFFF, flags = (level >> 12) & 0xF;
  const char symbol = (level & SC_FOLDLEVELHEADERFLAG) ? '+' : now > SC_FOLDLEVELBASE ? '|' : ' ';
  std::snprintf(shown, sizeof shown, " %x %3x %3x %c ", flags, now, (level >> 16) & 0xFFFF, symbol);
  return shown;
}

std::string FoldedText(const TextDocument& doc) {
  std::string folded;
  Sci_Position line = -1;
  for (Sci_Position i = 0; i < doc.Length(); ++i) {
    if (doc.LineFromPosition(i) > line) folded += LevelText(doc.Level(line = doc.LineFromPosition(i)));
    folded += doc.Text()[static_cast<size_t>(i)];
  }
  if (!doc.Text().empty() && doc.Text().back() == '\n') folded += LevelText(doc.Level(line + 1));
  return folded;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A result that differs from its golden file is written beside the tests as name.styled.new
// (or .folded.new), to look at and, when right, to take as the golden file.
bool SameAsGolden(const std::filesystem::path& source, const std::string& suffix, const std::string& made) {
  if (FileText(source.string() + suffix) == made) return true;
  const std::filesystem::path fresh = std::filesystem::path("lexer-new") / (source.filename().string() + suffix + ".new");
  std::filesystem::create_directories(fresh.parent_path());
  std::ofstream(fresh, std::ios::binary) << made;
  ADD_FAILURE() << source.filename() << suffix << " differs: see " << std::filesystem::absolute(fresh);
  return false;
}

TEST(ZorvexLexer, ColoursAndFoldsTheExamplesAsTheirGoldenFilesSay) {
  std::string keywords = FileText(std::filesystem::path(ZOR_LEXER_EXAMPLES) / "keywords.txt");
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZOR_LEXER_EXAMPLES)) {
    if (entry.path().extension() != ".zobas") continue;
    ++examples;
    TextDocument doc(FileText(entry.path()));
    LexFrom(doc, 0, keywords.c_str());
    const std::string styled = StyledText(doc), folded = FoldedText(doc);
    const bool sameStyles = SameAsGolden(entry.path(), ".styled", styled);
    if (!SameAsGolden(entry.path(), ".folded", folded) || !sameStyles) continue;
    // Coloured again from any line on, as the editor does after an edit there, it is the same.
    for (Sci_Position line = 1; line + 1 < doc.Lines(); ++line) {
      TextDocument again(doc.Text());
      LexFrom(again, 0, keywords.c_str());
      again.Spoil(line);
      LexFrom(again, line, keywords.c_str());
      EXPECT_EQ(StyledText(again), styled) << entry.path().filename() << " from line " << line;
      EXPECT_EQ(FoldedText(again), folded) << entry.path().filename() << " from line " << line;
    }
  }
  EXPECT_GE(examples, 3);
}

}  // namespace
