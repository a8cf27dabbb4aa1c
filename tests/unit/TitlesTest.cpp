// Time stamps, window-title names and help page names.
#include <gtest/gtest.h>
#include <string>
#include "commands/HelpPages.h"
#include "documents/TimeStamps.h"
#include "documents/Titles.h"

TEST(TimeStampOf, PadsEveryFieldButTheYear) {
  EXPECT_EQ(TimeStampOf({2024, 3, 5, 7, 8, 9, 7}), "2024-03-05T07:08:09.007");
  EXPECT_EQ(TimeStampOf({1999, 12, 31, 23, 59, 58, 999}), "1999-12-31T23:59:58.999");
  EXPECT_EQ(TimeStampOf({2000, 1, 1, 0, 0, 0, 40}), "2000-01-01T00:00:00.040");
  EXPECT_EQ(TimeStampOf({2000, 1, 1, 0, 0, 0, 0}).size(), 23u);
  EXPECT_EQ(TimeStampOf({987, 1, 1, 0, 0, 0, 0}), "987-01-01T00:00:00.000");
}

TEST(ShortTitle, ShortensNamesLongerThan64) {
  std::string exact(64, 'a');
  EXPECT_EQ(ShortTitle(exact), exact);
  std::string longer = "X" + std::string(64, 'b');
  EXPECT_EQ(ShortTitle(longer), "..." + std::string(64, 'b'));
  EXPECT_EQ(ShortTitle(longer).size(), 67u);
  EXPECT_EQ(ShortTitle(""), "");
}

TEST(HelpPageName, EncodesEveryNonLetter) {
  struct Case { std::string word, page; };
  const Case cases[] = {
      {"Print", "print.htm"},   {"PRINT", "print.htm"},   {"#include", "a4include.htm"},
      {"end_if", "enda64if.htm"}, {"word2", "worda19.htm"}, {"", ".htm"},
      {"a b", "aa1b.htm"},      {"\t", "a-22.htm"},       {"\x1f", "a0.htm"},
      {"\xc4", "a165.htm"},     {"\xff", "a224.htm"},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpPageName(c.word), c.page) << c.word;
}
