// Whole-file reads and the safe replacing write.
#include <gtest/gtest.h>
#include <windows.h>
#include "DialogAnswer.h"
#include "ScratchFolder.h"
#include "documents/Documents.h"
#include "shell/ShellState.h"


TEST(TextFiles, WriteKeepsEveryByteAndLeavesNoTemporaryFile) {
  ScratchFolder folder;
  std::string bytes("no BOM\nlone LF\r\0\xef\xbb\xbf\xff", 22);
  for (const std::string& text : {bytes, std::string(3 << 20, 'z'), std::string()}) {
    ASSERT_TRUE(WriteTextFile(folder.File("a.bas"), text));
    EXPECT_EQ(Slurp(folder.File("a.bas")), text);
    EXPECT_EQ(ReadTextFile(folder.File("a.bas")), text);
  }
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"a.bas"});
}

TEST(TextFiles, DollarNamesLieInTheProgramFolder) {
  ScratchFolder folder;
  std::string saved = ProgramDir;
  ProgramDir = folder.Path();
  EXPECT_TRUE(WriteTextFile("$\\d.zobas", "d"));
  EXPECT_EQ(ReadTextFile("$\\d.zobas"), "d");
  ProgramDir = saved;
  EXPECT_EQ(Slurp(folder.File("d.zobas")), "d");
}

TEST(TextFiles, ReplacingKeepsTheOldFilesAttributes) {
  ScratchFolder folder;
  std::string name = folder.File("hidden.bas");
  ASSERT_TRUE(WriteTextFile(name, "old"));
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(WriteTextFile(name, "new"));
  EXPECT_EQ(ReadTextFile(name), "new");
  EXPECT_NE(GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(TextFiles, FailedWritesAreReportedAndChangeNothing) {
  ScratchFolder folder;
  std::string readOnly = folder.File("ro.bas");
  ASSERT_TRUE(WriteTextFile(readOnly, "old"));
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(folder.File("dir.bas").c_str(), nullptr);
  for (const std::string& name : {readOnly, folder.File("no such folder\\x.bas"), folder.File("dir.bas")}) {
    DialogAnswer answer({Press(IDOK)});
    EXPECT_FALSE(WriteTextFile(name, "new")) << name;
    EXPECT_TRUE(answer.Complete()) << name;
    EXPECT_EQ(answer.At(0).title, "zor");
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write " + name + "\r\n", 0), 0u) << answer.At(0).text;
  }
  EXPECT_EQ(ReadTextFile(readOnly), "old");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"dir.bas", "ro.bas"}));
}

TEST(TextFiles, UnreadableFileReadsAsEmpty) {
  ScratchFolder folder;
  EXPECT_EQ(ReadTextFile(folder.File("missing.bas")), "");
  EXPECT_EQ(ReadTextFile(folder.Path()), "");
}

TEST(TextFiles, EnteringADirectoryMakesItCurrent) {
  ScratchFolder folder;
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  EXPECT_EQ(EnterDirectoryOf(folder.File("x.bas")), folder.Path());
  char now[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_STREQ(now, folder.Path().c_str());
  SetCurrentDirectoryA(before);
}
