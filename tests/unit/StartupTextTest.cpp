// Fixed start-up texts whose exact bytes other programs see.
#include <gtest/gtest.h>
#include <string>
#include "shell/StartupText.h"

TEST(KeywordList, StartsWithAnEmptyLineAndEndsEveryLineWithCrLf) {
  std::string list = KeywordList;
  EXPECT_EQ(list.substr(0, 2), "\r\n");
  EXPECT_EQ(list.substr(list.size() - 9), "zstring\r\n");
  EXPECT_NE(list.find("#view\r\n\r\nabs acos"), std::string::npos);
  EXPECT_NE(list.find("#foreward \r\n"), std::string::npos);
  EXPECT_NE(list.find("#pragma  #print\r\n"), std::string::npos);
  EXPECT_EQ(list.find("\n\n"), std::string::npos);  // no bare line feeds
}

TEST(ToolbarPictures, TheBenchPictureNameIsWindows1252) {
  EXPECT_STREQ(ToolbarPictureFiles[8], "pix/b\xE4nke.bmp");
}
