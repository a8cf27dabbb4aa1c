// The project text: the Project menu's items, a new project's bytes, dropped entries and the
// names of dropped files; and the help texts.
#include <gtest/gtest.h>
#include "commands/MenuText.h"
#include "documents/ProjectText.h"

TEST(ProjectMenuItems, CommandsComeFirstThenFilesEachInTextOrder) {
  const std::string text =
      "$project\r\n$files\r\n<[b.bas]>\t00001  [C:\\b.bas]\r\n<[a.bas]>\t00042 [$\\a.bas]\r\n\r\n"
      "$command   Dir Example \r\n[\r\ndir\r\npause\r\n]\r\n"
      "$command Build [echo $command inside [x\r\n]\r\n";
  const std::vector<ProjectItem> items = ProjectMenuItems(text);
  const std::vector<ProjectItem> expected = {
      {"  Dir Example", "\r\ndir\r\npause\r\n"},  // leading blanks stay
      {"Build", "echo $command inside [x\r\n"},    // a "$command " inside a body is not special
      {"b.bas", "<[b.bas]>"},
      {"a.bas", "<[a.bas]>"},
  };
  EXPECT_EQ(items, expected);
}

TEST(ProjectMenuItems, MissingBracketsEndItemsAsTheyMust) {
  // No "[" after "$command ": an empty item; the search goes on behind the keyword.
  EXPECT_EQ(ProjectMenuItems("$command x [y]\r\n$command oops $command "),
            (std::vector<ProjectItem>{{"x", "y"}, {"", ""}, {"", ""}}));
  // No "]": the body runs to the end and no further command is read; files still are.
  EXPECT_EQ(ProjectMenuItems("<[f]>\r\n$command a [body\r\n$command b [c]"),
            (std::vector<ProjectItem>{{"a", "body\r\n$command b [c"}, {"f", "<[f]>"}}));
  // "<[" without "]>" ends the file items.
  EXPECT_EQ(ProjectMenuItems("<[one]> <[two"), (std::vector<ProjectItem>{{"one", "<[one]>"}}));
  EXPECT_TRUE(ProjectMenuItems("").empty());
}

TEST(ProjectMenuItems, TheMenuNeverHoldsMoreThanAHundredItems) {
  std::string text;
  for (int i = 0; i < 101; ++i) text += "<[f" + std::to_string(i) + "]>\r\n";
  const std::vector<ProjectItem> items = ProjectMenuItems(text);
  ASSERT_EQ(items.size(), 100u);
  EXPECT_EQ(items.back().name, "f99");
}

TEST(ProjectText, ANewProjectHasTheTemplatesBytes) {
  EXPECT_EQ(NewProjectText("$\\src\\main.zobas"),
            "$project\r\n$files\r\n<[main.zobas]>\t00001  [$\\src\\main.zobas]\r\n\r\n"
            "$main [$\\src\\main.zobas]\r\n\r\n$binary [$\\src\\main]\r\n\r\n"
            "$command Dir Example\r\n[\r\ndir\r\npause\r\n]\r\n\r\n");
}

TEST(ProjectText, DroppedFilesAreListedBelowFilesTheLaterAbove) {
  std::string text = "$project\r\n$files\r\n\r\n$main [m.bas]\r\n";
  ASSERT_TRUE(InsertFileEntry(text, "C:\\one.bas"));
  ASSERT_TRUE(InsertFileEntry(text, "C:\\two.bas"));
  EXPECT_EQ(text, "$project\r\n$files\r\n<[two.bas]>\t00001  [C:\\two.bas]\r\n"
                  "<[one.bas]>\t00001  [C:\\one.bas]\r\n\r\n$main [m.bas]\r\n");
  std::string unterminated = "$project\r\n$files";
  ASSERT_TRUE(InsertFileEntry(unterminated, "a.bas"));
  EXPECT_EQ(unterminated, "$project\r\n$files\r\n<[a.bas]>\t00001  [a.bas]\r\n");
  std::string none = "no project here";
  EXPECT_FALSE(InsertFileEntry(none, "a.bas"));
  EXPECT_EQ(none, "no project here");
}

TEST(ProjectText, NamesInTheProgramFolderTakeTheDollarForm) {
  EXPECT_EQ(DollarForm("C:\\ide\\lib\\a.bas", "C:\\ide"), "$\\lib\\a.bas");
  EXPECT_EQ(DollarForm("c:\\IDE\\a.bas", "C:\\ide"), "c:\\IDE\\a.bas");  // compared with case
  EXPECT_EQ(DollarForm("D:\\a.bas", "C:\\ide"), "D:\\a.bas");
  EXPECT_TRUE(IsShortcut("C:\\desk\\Editor.LnK"));
  EXPECT_FALSE(IsShortcut("C:\\lnk\\a.bas"));
}

TEST(HelpText, KeyHelpHasTabsForStarsAndHelpPagesAreNamedFromTheWord) {
  const std::string text = KeyHelpText();
  EXPECT_EQ(text.find('*'), std::string::npos);
  EXPECT_NE(text.find("  F3            \t\tFIND NEXT\r\n"), std::string::npos);
  EXPECT_NE(text.find("  SHIFT F10     \tStep BACK\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(0, 21), "\r\n\r\n  FUNCTION KEYS\r\n");
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n  ");
  EXPECT_EQ(HelpCommandLine("C:\\ide", "Print"), "hh.exe C:\\ide\\inf\\zorvex_help.chm::/print.htm");
  EXPECT_EQ(HelpCommandLine("C:\\ide", "#include"), "hh.exe C:\\ide\\inf\\zorvex_help.chm::/a4include.htm");
  EXPECT_EQ(HelpCommandLine("C:\\ide", ""), "hh.exe C:\\ide\\inf\\zorvex_help.chm");
}
