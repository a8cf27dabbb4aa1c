// Fixed start-up texts whose exact bytes other programs see.
#include <gtest/gtest.h>
#include <string>
#include "shell/StartupText.h"
#include "shell/Version.h"

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

// The About box names the release the package was built as, in CR LF lines.
TEST(AboutText, NamesTheReleaseVersion) {
  std::string about = ComposeAboutText();
  EXPECT_EQ(about.find("\r\nVersion " ZOR_VERSION "\r\n"), about.find("\r\n"));
  EXPECT_EQ(about.substr(about.size() - 2), "\r\n");
  for (size_t at = about.find('\n'); at != std::string::npos; at = about.find('\n', at + 1))
    EXPECT_EQ(about[at - 1], '\r') << "bare line feed at " << at;
}
