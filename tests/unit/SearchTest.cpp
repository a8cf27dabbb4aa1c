// Finding and replacing on strings: letter case, direction, the step over an occurrence and
// replacing exactly the occurrences inside a selection.
#include <gtest/gtest.h>
#include "editor/Search.h"

TEST(SearchText, IgnoresTheCaseOfLettersOnly) {
  const std::string text = "end End append \xC4nd \xE4nd";
  EXPECT_EQ(SearchText(1, text, "END", false), 1);
  EXPECT_EQ(SearchText(2, text, "END", false), 5);
  EXPECT_EQ(SearchText(6, text, "END", false), 12);
  EXPECT_EQ(SearchText(1, text, "\xE4nd", false), 20);  // bytes above 127 are compared exactly
  EXPECT_EQ(SearchText(13, text, "END", false), 0);
  EXPECT_EQ(SearchText(0, text, "END", false), 0);
  EXPECT_EQ(SearchText(1, text, "", false), 0);
  EXPECT_EQ(SearchText(1, "ab", "abc", false), 0);
}

TEST(SearchText, BackwardFindsAnOccurrenceThatBeginsAtOrBeforeTheStart) {
  const std::string text = "xx print x print";  // print at 4 and 12
  EXPECT_EQ(SearchText(6, text, "PRINT", true), 4);  // from inside an occurrence: that one
  EXPECT_EQ(SearchText(3, text, "PRINT", true), 0);
  EXPECT_EQ(SearchText(0, text, "print", true), 12);   // 0: the end of the text
  EXPECT_EQ(SearchText(-7, text, "print", true), 4);   // from the end: position 10
  EXPECT_EQ(SearchText(99, text, "print", true), 12);  // beyond the text: its end
  EXPECT_EQ(SearchText(-99, text, "x", true), 1);
  EXPECT_EQ(FindLast(5, "ab", "abc"), 0);
}

TEST(ReplaceInRange, ReplacesExactlyTheOccurrencesThatBeginInsideTheRange) {
  // Selected: "a a a" of "a a a a" (positions 1..5, end 6): three occurrences, whatever the
  // replacement's length does to the positions behind them.
  for (const char* with : {"bbbb", "", "a"}) {
    SCOPED_TRACE(with);
    RangeReplacement change = ReplaceInRange("a a a a", 1, 6, "A", with);
    EXPECT_EQ(change.count, 3);
    EXPECT_EQ(change.from, 1);
    EXPECT_EQ(change.to, 6);
    std::string w = with;
    EXPECT_EQ(change.text, w + " " + w + " " + w);
  }
  RangeReplacement none = ReplaceInRange("abc", 1, 4, "x", "y");
  EXPECT_EQ(none.count, 0);
  // An occurrence that begins inside reaches out of the range; a replacement holding the
  // search text is not searched again.
  RangeReplacement reaching = ReplaceInRange("xxabab", 3, 4, "ab", "abab");
  EXPECT_EQ(reaching.count, 1);
  EXPECT_EQ(reaching.from, 3);
  EXPECT_EQ(reaching.to, 5);
  EXPECT_EQ(reaching.text, "abab");
}
