// Process launching against real programs: helpers beside wintests.exe write files, so a test
// can see that a program really started and whether the launcher waited for it.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "compiler/Launch.h"

namespace {

std::string OwnDir() {
  std::string path(MAX_PATH * 4, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.rfind('\\'));
}

std::string ReadFileText(const std::string& name) {
  std::string text;
  if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
    char chunk[256];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, got);
    std::fclose(f);
  }
  return text;
}

bool Exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits for a condition, checking every 20 ms, for at most timeoutMs.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 15000) {
  for (int waited = 0; !condition(); waited += 20) {
    if (waited >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

class Launch : public testing::Test {
 protected:
  void SetUp() override {
    dir = OwnDir();
    std::string id = std::to_string(GetCurrentProcessId());
    out = dir + "\\launch_out_" + id + ".txt";
    gate = dir + "\\launch_gate_" + id + ".txt";
    DeleteFileA(out.c_str());
    DeleteFileA(gate.c_str());
  }
  void TearDown() override {
    DeleteFileA(out.c_str());
    DeleteFileA(gate.c_str());
  }
  std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
  std::string dir, out, gate;
};

// Starts showtail.exe as the program file but with the given command line, and returns
// what it reports: its command tail and program folder, one per line.
std::string ShowTail(const std::string& dir, std::string commandLine) {
  std::string report = dir + "\\showtail_" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(report.c_str());
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", report.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string program = dir + "\\showtail.exe";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return "not started";
  WaitForSingleObject(info.hProcess, 15000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  SetEnvironmentVariableA("ZOR_SHOWTAIL_OUT", nullptr);
  std::string text = ReadFileText(report);
  DeleteFileA(report.c_str());
  return text;
}

}  // namespace

TEST_F(Launch, StartsTheProgramWithoutWaitingForIt) {
  std::string line = Quoted(dir + "\\waitwrite.exe") + " " + Quoted(gate) + " " + Quoted(out) + " started";
  EXPECT_EQ(LaunchProcess(line, false), 0);
  // The helper cannot finish before the gate exists, so the launcher returned while it ran.
  EXPECT_FALSE(Exists(out));
  std::FILE* f = std::fopen(gate.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(out) == "started"; }));
}

TEST_F(Launch, WaitFlagBlocksUntilTheProgramEnds) {
  LaunchProcess(Quoted(dir + "\\writefile.exe") + " " + Quoted(out) + " waited", true);
  EXPECT_EQ(ReadFileText(out), "waited");
}

TEST_F(Launch, MissingProgramStartsNothingAndReturnsZero) {
  EXPECT_EQ(LaunchProcess(Quoted(dir + "\\no_such_program.exe") + " x", false), 0);
  EXPECT_EQ(LaunchProcess("", false), 0);
  EXPECT_EQ(RunTool(dir + "\\no_such_tool.exe", "-r ", "a.zobas", false), 0);
}

TEST_F(Launch, RunToolPassesQuotedToolOptionsAndQuotedFile) {
  // The options name the output file; the file argument is the text written.
  RunTool(dir + "\\writefile.exe", Quoted(out) + " ", "tool text", true);
  EXPECT_EQ(ReadFileText(out), "tool text");
}

TEST_F(Launch, RunShellRunsTheCommandThroughCmd) {
  SetCurrentDirectoryA(dir.c_str());
  RunShell("writefile.exe " + out.substr(dir.size() + 1) + " viacmd", true);
  EXPECT_TRUE(WaitFor([&] { return ReadFileText(out) == "viacmd"; }));
}

TEST_F(Launch, ProgramDirIsTheFolderOfTheProgramFile) {
  std::string programDir = GetProgramDir();
  EXPECT_EQ(programDir, dir);
  EXPECT_NE(programDir.back(), '\\');
  EXPECT_TRUE(Exists(programDir + "\\wintests.exe"));
}

TEST_F(Launch, CommandTailAndProgramDirOfAStartedProgram) {
  struct Case { std::string commandLine, tail; };
  const Case cases[] = {
      {"\"C:\\Program Files\\ide.exe\"   \"C:\\src\\a b.zobas\"", "\"C:\\src\\a b.zobas\""},
      {"C:\\ide\\ide.exe", ""},
      {"ide.exe project.zoproj", "project.zoproj"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShowTail(dir, c.commandLine), c.tail + "\n" + dir + "\n") << c.commandLine;
}
