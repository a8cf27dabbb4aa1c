// Find in files: the whole-word rule, the listing's lines, order and summary, and reading a
// double-clicked line back.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "navigation/FindFilesText.h"

namespace {
std::string Listed(std::string_view word, std::string_view text, std::string_view name = "a.bas") {
  Findings listing;
  WordSearch(word).ListLines(text, name, listing);
  return listing.text;
}
}  // namespace

TEST(FindFilesText, TheWordIsFoundWholeWithTheCaseOfAToZFolded) {
  struct Case { const char* word; const char* text; bool found; };
  for (Case c : {Case{"total", "x = TOTAL + 1", true}, Case{"Total", "total", true},
                 Case{"total", "subtotal = 1", false}, Case{"total", "totals", false},
                 Case{"total", "total_2", false}, Case{"total", "#total", false},
                 Case{"total", "total.x(total)", true}, Case{"a", "b = \xe4" "a", false},
                 Case{"\xc4" "x", "\xe4x", false},  // only A to Z fold
                 Case{"x = ", "x = 5", true},        // a blank at the end needs no boundary
                 Case{"#define", "#DEFINE n 3", true}, Case{"n", "", false}}) {
    EXPECT_EQ(WordSearch(c.word).Find(c.text, 0) != std::string_view::npos, c.found) << c.word << " in " << c.text;
  }
}

TEST(FindFilesText, EveryLineHoldingTheWordIsListedOnceWithItsNumber) {
  // CR LF, a lone LF and a lone CR each end a line, as the editor counts them.
  EXPECT_EQ(Listed("x", "x = 1\r\ny = 2\nprint x, x\rend x"),
            "a.bas(1): x = 1\r\na.bas(3): print x, x\r\na.bas(4): end x\r\n");
  // Leading blanks go, tabs and other control characters become blanks, 200 characters stay.
  EXPECT_EQ(Listed("go", "\t  \tgo\tto\x01z"), "a.bas(1): go to z\r\n");
  std::string longLine = "k " + std::string(300, 'y');
  EXPECT_EQ(Listed("k", longLine), "a.bas(1): " + longLine.substr(0, 200) + "\r\n");
}

TEST(FindFilesText, TheSummaryCountsLinesFilesAndSkippedFilesAndTheListingStopsAtItsLimit) {
  Findings listing;
  WordSearch search("w");
  search.ListLines("w\r\nw\r\n", "one.bas", listing);
  search.ListLines("none", "two.bas", listing);
  EXPECT_EQ(ListingText(listing), "one.bas(1): w\r\none.bas(2): w\r\n2 lines in 1 file");
  listing.skipped = 3;
  EXPECT_EQ(ListingSummary(listing), "2 lines in 1 file, 3 files skipped");

  // Files searched one by one are added in order, the whole listing stopping at its limit.
  Findings many = listing, big, last;
  std::string text;
  for (size_t k = 0; k < MostListedLines; ++k) text += "w\n";
  search.ListLines(text, "big.bas", big);
  search.ListLines("w", "last.bas", last);
  AddFileListing(many, big);
  AddFileListing(many, last);
  std::string shown = ListingText(many);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), static_cast<long>(MostListedLines + 1));
  EXPECT_NE(shown.find("big.bas(9998): w\r\n\x85 and 3 more\r\n10003 lines in 3 files, 3 files skipped"),
            std::string::npos);
  // Folders that could not be entered are said, so the counts are not read as complete.
  Findings partial;
  partial.leftOut = 2;
  AddFileListing(many, partial);
  EXPECT_EQ(ListingSummary(many), "10003 lines in 3 files, 3 files skipped, 2 folders not searched");
}

TEST(FindFilesText, FilesAreListedByNameIgnoringCase) {
  std::vector<std::string> names = {"b.bas", "A.bas", "sub\\x.inc", "a.bas", "Sub\\a.zobas", "C.inc"};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NameBefore(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"A.bas", "a.bas", "b.bas", "C.inc", "Sub\\a.zobas", "sub\\x.inc"}));
  for (const char* word : {"", " ", "\t \r", "\x01"}) EXPECT_TRUE(IsBlankWord(word)) << word;
  for (const char* word : {"x", " finder", "\xa0"}) EXPECT_FALSE(IsBlankWord(word)) << word;
  EXPECT_TRUE(IsBinaryHead(std::string("ab\0c", 4)));
  EXPECT_FALSE(IsBinaryHead(std::string(HeadBytes, 'a') + '\0'));
}

TEST(FindFilesText, AListedNameIsFoundInTheSearchedFolderAndALineAroundAPosition) {
  // A folder search's names are inside its folder, a leading "$" too; a project's are full paths.
  struct Named { const char* folder; const char* name; const char* file; };
  for (Named n : {Named{"C:\\work", "$draft.bas", "C:\\work\\$draft.bas"},
                  Named{"C:\\work\\", "$tmp\\a.bas", "C:\\work\\$tmp\\a.bas"}, Named{"C:", "a.bas", "C:\\a.bas"},
                  Named{"", "C:\\p\\a.bas", "C:\\p\\a.bas"}})
    EXPECT_EQ(ListedFile(n.folder, n.name), n.file) << n.name;
  const std::string box = "a.bas(1): x\r\nb.bas(2): y\r\n2 lines in 2 files";
  EXPECT_EQ(LineAround(box, 15), "b.bas(2): y");
  EXPECT_EQ(LineAround(box, 13), "b.bas(2): y");
  EXPECT_EQ(LineAround(box, 500), "2 lines in 2 files");
}
