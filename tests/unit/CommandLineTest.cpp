// Command lines of started programs and the parts of the program's own command line.
#include <gtest/gtest.h>
#include <string>
#include "compiler/CommandLine.h"

TEST(ToolCommandLine, KeepsOptionsAndBlanksAsGiven) {
  struct Case { std::string tool, options, file, line; };
  const Case cases[] = {
      {"C:\\ide\\zor5.exe", "", "C:\\src\\a.zobas", "\"C:\\ide\\zor5.exe\"  \"C:\\src\\a.zobas\""},
      {"C:\\ide\\zor5.exe", "-r -32 ", "C:\\src\\a.zobas",
       "\"C:\\ide\\zor5.exe\" -r -32  \"C:\\src\\a.zobas\""},
      {"t.exe", "", "say \"hi\".zobas", "\"t.exe\"  \"say \"hi\".zobas\""},
  };
  for (const Case& c : cases) EXPECT_EQ(ToolCommandLine(c.tool, c.options, c.file), c.line);
}

TEST(ShellCommandLine, RunsCommandsThroughCmd) {
  EXPECT_EQ(ShellCommandLine(""), "cmd.exe");
  EXPECT_EQ(ShellCommandLine("_.bat"), "cmd.exe /c _.bat");
  EXPECT_EQ(ShellCommandLine(" dir /b"), "cmd.exe /c  dir /b");
}

TEST(CommandTailOf, DropsTheProgramAndTheBlanksAfterIt) {
  struct Case { std::string line, tail; };
  const Case cases[] = {
      {"\"C:\\Program Files\\ide.exe\"   \"C:\\src\\a b.zobas\"", "\"C:\\src\\a b.zobas\""},
      {"C:\\ide\\ide.exe", ""},
      {"C:\\ide\\ide.exe   ", ""},
      {"\"C:\\ide\\ide.exe\"", ""},
      {"ide.exe a.zobas  b", "a.zobas  b"},
      {"C:\\x (1)\\ide.exe p.zoproj", "(1)\\ide.exe p.zoproj"},
      {"C:\\tools(x86)\\ide.exe p.zoproj", "p.zoproj"},
      {"\"C:\\it's\\ide.exe\" f", "f"},
      {"\"unclosed path", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandTailOf(c.line), c.tail) << c.line;
}

TEST(ProgramDirOf, CutsBeforeTheLastBackslash) {
  EXPECT_EQ(ProgramDirOf("C:\\tools\\ide\\ide.exe"), "C:\\tools\\ide");
  EXPECT_EQ(ProgramDirOf("D:\\ide.exe"), "D:");
  EXPECT_EQ(ProgramDirOf("ide.exe"), "");
}
