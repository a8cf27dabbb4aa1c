// Reading listed lines back, their colours, their folding and F6's way through them.
#include <gtest/gtest.h>
#include "editor/ListingText.h"

namespace {
struct ReadRow {
  const char* line;
  ListedKind kind;
  const char* name;
  int number;
  const char* styles;  // n name, # number, . text
};

const ReadRow ReadRows[] = {
    {"a.zobas(12): print x", ListedKind::FileLine, "a.zobas", 12, "nnnnnnn.##.........."},
    {"C:\\p\\b.inc(3): x(2): y", ListedKind::FileLine, "C:\\p\\b.inc", 3, "nnnnnnnnnn.#.........."},
    {"2: x(3): y", ListedKind::DocLine, "", 2, "#........."},  // "2:" is no drive
    {"sub\\f(x).bas(7): t", ListedKind::FileLine, "sub\\f(x).bas", 7, "nnnnnnnnnnnn.#...."},
    {"12: sub hanoi(n as int)", ListedKind::DocLine, "", 12, "##....................."},
    {"line 8: x(3): bad", ListedKind::DocLine, "", 8, ".....#..........."},       // a query's line, not a file
    {"first error: line 14: ?", ListedKind::DocLine, "", 14, "..................##..."},
    {"dim a, line 5", ListedKind::DocLine, "", 5, "............#"},
    {"C:\\P (x86)\\a.bas(3): y", ListedKind::FileLine, "C:\\P (x86)\\a.bas", 3, "nnnnnnnnnnnnnnnn.#...."},
    {"a.bas(x): y", ListedKind::None, "", 0, "..........."},
    {"a.zobas(0): zero", ListedKind::None, "", 0, "................"},
    {"a.zobas(12) no colon", ListedKind::None, "", 0, "...................."},
    {"3 lines in 2 files", ListedKind::None, "", 0, ".................."},
    {"", ListedKind::None, "", 0, ""},
};
}  // namespace

TEST(ListingText, ReadsEachLineAndColoursItsNameAndNumber) {
  for (const ReadRow& row : ReadRows) {
    SCOPED_TRACE(row.line);
    ListedLine read = ReadListedLine(row.line);
    EXPECT_EQ(read.kind, row.kind);
    EXPECT_EQ(read.name, row.name);
    EXPECT_EQ(read.line, row.number);
    std::string expected = row.styles;
    for (char& c : expected) c = c == 'n' ? ListingNameStyle : c == '#' ? ListingNumberStyle : ListingTextStyle;
    EXPECT_EQ(ListingLineStyles(row.line), expected);
  }
}

TEST(ListingText, FoldsTheLinesOfOneFileUnderItsFirstAcrossAppends) {
  ListingFold fold;
  FoldLevels first = ListingFoldLevels({"a(1): x", "a(2): y", "b(1): z"}, fold);
  EXPECT_EQ(first.levels, (std::vector<int>{FoldBase | FoldHeader, FoldBase + 1, FoldBase}));
  EXPECT_FALSE(first.previousIsHeader);
  // b's second line arrives with the next batch: the last line of the first becomes its header.
  FoldLevels second = ListingFoldLevels({"b(4): w", "summary"}, fold);
  EXPECT_EQ(second.levels, (std::vector<int>{FoldBase + 1, FoldBase}));
  EXPECT_TRUE(second.previousIsHeader);
}

TEST(ListingText, StepsToTheNextLineThatNamesAPlaceAndWraps) {
  std::vector<std::string_view> lines = SplitLines("a(1): x\r\nnothing\r\n5: sub s\r\nsummary\r\n");
  ASSERT_EQ(lines.size(), 4u);
  struct Row { int from; bool forward; int next; bool wrapped; };
  const Row rows[] = {
      {-1, true, 0, false}, {0, true, 2, false}, {2, true, 0, true},
      {-1, false, 2, false}, {2, false, 0, false}, {0, false, 2, true},
  };
  for (const Row& row : rows) {
    bool wrapped = false;
    EXPECT_EQ(NextListedLine(lines, row.from, row.forward, wrapped), row.next) << row.from << row.forward;
    EXPECT_EQ(wrapped, row.wrapped) << row.from << row.forward;
  }
  bool wrapped = false;
  EXPECT_EQ(NextListedLine(SplitLines("no place\nnone"), -1, true, wrapped), -1);
}
