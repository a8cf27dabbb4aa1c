// The word around a position.
#include <gtest/gtest.h>
#include <string>
#include "language/WordAt.h"

TEST(WordAt, FindsTheWholeWordAroundThePosition) {
  struct Case { std::string text; int p; std::string word; int start, end, length; };
  const Case cases[] = {
      {"print x", 3, "print", 1, 6, 5},
      {"print x", 1, "print", 1, 6, 5},
      {"print x", 5, "print", 1, 6, 5},
      {"print x", 6, " ", 6, 7, 1},
      {"print x", 7, "x", 7, 8, 1},
      {"a #define b", 5, "#define", 3, 10, 7},
      {"my_var=1", 2, "my_var", 1, 7, 6},
      {"a.b", 1, "a", 1, 2, 1},
      {"a.b", 2, ".", 2, 3, 1},
      {"a.b", 3, "b", 3, 4, 1},
      {"x \xe4\xf6\x7f y", 4, "\xe4\xf6\x7f", 3, 6, 3},
      {"print", 9, "", 9, 10, 1},
      {"print", 0, "", 0, 1, 1},
      {"", 1, "", 1, 2, 1},
  };
  for (const Case& c : cases) {
    int p = c.p, end = -1, length = -1;
    EXPECT_EQ(WordAt(c.text, p, end, length), c.word) << c.text << " @" << c.p;
    EXPECT_EQ(p, c.start) << c.text << " @" << c.p;
    EXPECT_EQ(end, c.end) << c.text << " @" << c.p;
    EXPECT_EQ(length, c.length) << c.text << " @" << c.p;
  }
}
