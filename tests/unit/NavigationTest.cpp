// Going back, the list of declarations and the bookmarks of the documents left.
#include <gtest/gtest.h>
#include "editor/Bookmarks.h"
#include "editor/ListingText.h"
#include "navigation/BackStack.h"
#include "navigation/Declarations.h"
#include "navigation/Listings.h"

TEST(BackStack, GivesThePlacesBackNewestFirstAndKeepsTheLastFifty) {
  BackStack stack;
  EXPECT_FALSE(stack.Pop());
  stack.Push({"a.zobas", 5});
  stack.Push({"a.zobas", 5});  // the same place twice is one step back
  stack.Push({"b.zobas", 0});
  EXPECT_EQ(stack.Pop(), (Place{"b.zobas", 0}));
  EXPECT_EQ(stack.Pop(), (Place{"a.zobas", 5}));
  EXPECT_FALSE(stack.Pop());
  for (size_t i = 0; i < 60; ++i) stack.Push({"f", i});
  EXPECT_EQ(stack.Size(), BackStack::Depth);
  EXPECT_EQ(stack.Pop()->position, 59u);
  while (stack.Size() > 1) stack.Pop();
  EXPECT_EQ(stack.Pop()->position, 10u);  // the oldest ten were dropped
}

TEST(Declarations, ListsSubsFunctionsTypesAndLabelsAsWritten) {
  const char* source =
      "' hanoi\r\n"
      "  Sub hanoi(n as int)  \r\n"
      "  end sub\r\n"
      "function twice(s as string) as string\n"
      "type point\n"
      "end type\n"
      "again:\n"
      "again2: ' a label with a comment\n"
      "x = 1: y = 2\n"
      "/* sub hidden()\n"
      "   type gone */ sub shown()\n"
      "print \"/*\": sub after()\n"
      "subtotal = 3\n"
      "dim type as int\r"
      "last:";
  EXPECT_EQ(DeclarationListing(source),
            "2: Sub hanoi(n as int)\r\n"
            "4: function twice(s as string) as string\r\n"
            "5: type point\r\n"
            "7: again:\r\n"
            "8: again2:\r\n"
            "11: sub shown()\r\n"  // after the comment's end and after a ":" they are code
            "12: sub after()\r\n"
            "15: last:\r\n");
  EXPECT_EQ(DeclarationListing(""), "");
}

TEST(Bookmarks, KeepsMarksPerFileAndGoesRoundThem) {
  BookmarkStore store;
  store.Keep("C:\\w\\a.zobas", {9, 3, 3});
  store.Keep("C:\\w\\b.zobas", {1});
  EXPECT_EQ(store.LinesOf("c:\\W\\A.zobas"), (std::vector<int>{3, 9}));
  store.Keep("c:\\w\\B.ZOBAS", {});
  EXPECT_TRUE(store.LinesOf("C:\\w\\b.zobas").empty());
  EXPECT_EQ(store.Files().size(), 1u);

  struct Row { int caret; bool forward; int mark; };
  const std::vector<int> lines = {3, 9, 20};
  const Row rows[] = {{1, true, 3}, {3, true, 9}, {20, true, 3}, {25, true, 3},
                      {9, false, 3}, {3, false, 20}, {1, false, 20}, {12, false, 9}};
  for (const Row& row : rows) EXPECT_EQ(NextMark(lines, row.caret, row.forward), row.mark) << row.caret << row.forward;
  EXPECT_EQ(NextMark({}, 4, true), 0);
}

TEST(Bookmarks, ListsEveryMarkAsAPlaceInFileAndLineOrder) {
  const std::vector<MarkedLine> marks = {{"C:\\w\\b.zobas", 4, "\tprint\x01x"},
                                         {"C:\\w\\A.zobas", 7, "  end"},
                                         {"C:\\w\\b.zobas", 2, ""},
                                         {"C:\\wx\\c.zobas", 1, "c"}};
  EXPECT_EQ(BookmarkListing(marks, ""),
            "C:\\w\\A.zobas(7): end\r\n"
            "C:\\w\\b.zobas(2): \r\n"
            "C:\\w\\b.zobas(4): print x\r\n"
            "C:\\wx\\c.zobas(1): c\r\n");
  // Inside the working folder (with or without its last backslash) the names are relative.
  for (const char* folder : {"c:\\W", "C:\\w\\"})
    EXPECT_EQ(BookmarkListing(marks, folder),
              "A.zobas(7): end\r\n"
              "b.zobas(2): \r\n"
              "b.zobas(4): print x\r\n"
              "C:\\wx\\c.zobas(1): c\r\n") << folder;
  // The untitled document's marks have no file to name: they are listed as its lines, first.
  std::vector<MarkedLine> untitled = marks;
  untitled.push_back({"", 5, "  x = 1"});
  untitled.push_back({"", 2, "y"});
  EXPECT_EQ(BookmarkListing(untitled, "C:\\w"),
            "2: y\r\n5: x = 1\r\nA.zobas(7): end\r\nb.zobas(2): \r\nb.zobas(4): print x\r\nC:\\wx\\c.zobas(1): c\r\n");
  EXPECT_EQ(ReadListedLine("5: x = 1").kind, ListedKind::DocLine);
}

// One reading of a listed line for every listing: what its names are relative to and which
// document its "line: text" lines are of follow from the listing's kind.
TEST(Listings, ReadALinesPlaceByTheListingsKind) {
  const Listing places{ListingKind::Places, "", "C:\\work", "C:\\work\\doc.zobas"};
  const Listing search{ListingKind::Search, "", "C:\\work", ""};
  const Listing project{ListingKind::Search, "", "", ""};
  const Listing query{ListingKind::Query, "", "C:\\ignored", "C:\\ignored.zobas"};
  struct Row { const Listing* listing; const char* line; std::optional<ListedPlace> place; };
  const Row rows[] = {
      {&places, "a.zobas(3): x", ListedPlace{"C:\\work\\a.zobas", 3}},
      {&places, "D:\\b.zobas(4): y", ListedPlace{"D:\\b.zobas", 4}},  // a bookmark on another drive
      {&places, "12: sub s", ListedPlace{"C:\\work\\doc.zobas", 12}},
      {&search, "$tmp\\a.zobas(2): z", ListedPlace{"C:\\work\\$tmp\\a.zobas", 2}},  // "$tmp" is a folder there
      {&project, "D:\\p\\a.zobas(7): z", ListedPlace{"D:\\p\\a.zobas", 7}},
      {&query, "line 8: x(3): y", ListedPlace{"", 8}},  // a query's lines are of the current document
      {&query, "8: y", ListedPlace{"", 8}},
      {&search, "3 lines in 2 files", std::nullopt},
      {&places, "", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(PlaceOfListedLine(*row.listing, row.line), row.place) << row.line;
}

TEST(Listings, FindTheLineThatHoldsAPosition) {
  const std::string_view text = "ab\r\ncd\nef\rg";
  struct Row { size_t pos; int line; };
  for (const Row row : {Row{0, 0}, {2, 0}, {3, 0}, {4, 1}, {6, 1}, {7, 2}, {10, 3}, {99, 3}})
    EXPECT_EQ(LineIndexAt(text, row.pos), row.line) << row.pos;
  EXPECT_EQ(LineIndexAt("", 0), -1);
}
