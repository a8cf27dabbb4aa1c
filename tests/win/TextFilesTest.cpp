// Whole-file reads and the safe replacing write.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include "DialogAnswer.h"
#include "ScratchFolder.h"
#include "base/Bindings_win.h"
#include "base/Files.h"
#include "base/FileText.h"
#include "documents/DocumentText.h"
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
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write " + WrapLongLine(name, 64) + "\r\n", 0), 0u) << answer.At(0).text;
  }
  EXPECT_EQ(ReadTextFile(readOnly), "old");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"dir.bas", "ro.bas"}));
}

TEST(TextFiles, UnreadableFileReadsAsEmpty) {
  ScratchFolder folder;
  EXPECT_EQ(ReadTextFile(folder.File("missing.bas")), "");
  EXPECT_EQ(ReadTextFile(folder.Path()), "");
}

// One reader serves every floor: what it gives for each kind of name, with the stamp of the
// file it opened and a limit of its caller's.
TEST(TextFiles, TheReaderTellsWhatKeptItFromTheText) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteTextFile(folder.File("a.bas"), "0123456789"));
  std::string text = "old";
  WholeFile read = ReadWholeFile(folder.File("a.bas"), text);
  EXPECT_EQ(read.result, FileRead::Whole);
  EXPECT_EQ(text, "0123456789");
  EXPECT_EQ(read.stamp, FileStamp(folder.File("a.bas")));
  EXPECT_EQ(read.stamp.size, 10u);
  struct Case { std::string path; unsigned long long largest; FileRead result; };
  for (const Case& c : {Case{folder.File("a.bas"), 9, FileRead::TooLarge}, Case{folder.File("a.bas"), 10, FileRead::Whole},
                        Case{folder.File("missing.bas"), MaxTextBytes, FileRead::Missing},
                        Case{folder.File("no folder\\x.bas"), MaxTextBytes, FileRead::Missing},
                        Case{folder.Path(), MaxTextBytes, FileRead::Failed},
                        // A device never ends (CON) or answers nothing: it is no file to read.
                        Case{"NUL", MaxTextBytes, FileRead::NotAFile}, Case{"", MaxTextBytes, FileRead::Missing}}) {
    text = "old";
    EXPECT_EQ(ReadWholeFile(c.path, text, c.largest).result, c.result) << c.path << " " << c.largest;
    EXPECT_EQ(text, c.result == FileRead::Whole ? "0123456789" : "") << c.path;
  }
  EXPECT_FALSE(FileStamp(folder.Path()).exists);
  EXPECT_FALSE(FileStamp(folder.File("missing.bas")).exists);
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

TEST(TextFiles, AFileNearThePathLengthLimitCanBeSavedAgain) {
  ScratchFolder folder;
  // Folders nested until the file's path is about 255 characters long, near the 259 allowed.
  std::vector<std::string> folders;
  std::string dir = folder.Path();
  while (dir.size() < 249) {
    dir += "\\" + std::string(std::min<size_t>(100, 249 - dir.size()), 'd');
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir.size();
    folders.push_back(dir);
  }
  std::string file = dir + "\\a.bas";
  ASSERT_GE(file.size(), 250u);
  ASSERT_LE(file.size(), 259u);
  EXPECT_TRUE(WriteTextFile(file, "one"));
  EXPECT_TRUE(WriteTextFile(file, "two"));
  EXPECT_EQ(Slurp(file), "two");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  std::vector<std::string> names;
  do {
    if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(names, std::vector<std::string>{"a.bas"});
  DeleteFileA(file.c_str());
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryA(it->c_str());
}

namespace {
// The size of the file as the directory shows it, without opening the file (an open file
// cannot be replaced under this platform); -1 when it is missing.
long long SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
}  // namespace

TEST(TextFiles, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewContentWhole) {
  ScratchFolder folder;
  std::string file = folder.File("killed.bas");
  const std::string first(3000000, 'a'), second(4000000, 'b');  // what the helper writes in turn
  unsigned seed = GetTickCount();
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(WriteTextFile(file, first));
    std::string line = "rewrite.exe \"" + file + "\" 1000";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &saver));
    // Once the helper has saved at least once, it is killed a little later, at a random moment.
    EXPECT_TRUE(WaitFor([&] { return SizeOf(file) == static_cast<long long>(second.size()); }, 30000));
    seed = seed * 1103515245u + 12345u;
    Sleep((seed >> 16) % 120);
    TerminateProcess(saver.hProcess, 9);
    WaitForSingleObject(saver.hProcess, 10000);
    CloseHandle(saver.hProcess);
    CloseHandle(saver.hThread);
    std::string text = Slurp(file);
    EXPECT_TRUE(text == first || text == second) << "the file holds " << text.size() << " bytes";
    for (const std::string& name : folder.Files())
      if (name != "killed.bas") DeleteFileA(folder.File(name).c_str());  // a temporary file cut short
  }
}

TEST(TextFiles, AScratchFileLeftByAnInterruptedSaveIsReportedOnce) {
  ScratchFolder folder;
  Spill(folder.File("~zor1a2-3.tmp"), "text that was being saved");
  {
    DialogAnswer answer({Press(IDOK)});
    EXPECT_TRUE(WriteTextFile(folder.File("a.bas"), "one"));
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).title, "zor");
    EXPECT_NE(answer.At(0).text.find("~zor1a2-3.tmp"), std::string::npos) << answer.At(0).text;
  }
  DialogAnswer answer({});
  EXPECT_TRUE(WriteTextFile(folder.File("a.bas"), "two"));
  EXPECT_EQ(answer.Count(), 0u);
  EXPECT_EQ(Slurp(folder.File("~zor1a2-3.tmp")), "text that was being saved");  // kept for the user
}

namespace {
// Stands in for the system's WriteFile as a full disk would: nothing fits past the first
// megabyte of a file.
BOOL WINAPI WriteFileOnAFullDisk(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  LARGE_INTEGER at{};
  SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT);
  if (at.QuadPart + size > (1 << 20)) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return WriteFile(file, data, size, written, overlapped);
}
}  // namespace

TEST(TextFiles, SavingThroughAHardLinkWritesTheOneFileAndUndoesAFailedWrite) {
  ScratchFolder folder;
  const std::string first = folder.File("a.bas"), second = folder.File("b.bas");
  Spill(first, "old");
  ASSERT_TRUE(CreateHardLinkA(second.c_str(), first.c_str(), nullptr));
  EXPECT_TRUE(WriteTextFile(second, "new"));
  EXPECT_EQ(Slurp(first), "new");  // both names still show the one file
  {
    DialogAnswer answer({Press(IDOK)});
    const auto systems = Api.WriteFile;
    Api.WriteFile = WriteFileOnAFullDisk;
    EXPECT_FALSE(WriteTextFile(second, std::string(3 << 20, 'x')));
    Api.WriteFile = systems;
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write " + WrapLongLine(second, 64) + "\r\n", 0), 0u) << answer.At(0).text;
  }
  EXPECT_EQ(Slurp(first), "new");  // the old content was put back
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.bas", "b.bas"}));
}

namespace {
// Stands in for the system's CreateFileA where neither the file's folder nor the temporary
// folder takes a new file.
HANDLE WINAPI CreateFileWhereNoNewFileFits(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                           DWORD disposition, DWORD flags, HANDLE model) {
  if (disposition == CREATE_NEW) {
    SetLastError(ERROR_DISK_FULL);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(name, access, share, security, disposition, flags, model);
}
}  // namespace

TEST(TextFiles, AFileWrittenInPlaceIsLeftWholeWhereNoCopyOfItsOldContentCanBeMade) {
  ScratchFolder folder;
  const std::string first = folder.File("a.bas"), second = folder.File("b.bas");
  Spill(first, "old");
  ASSERT_TRUE(CreateHardLinkA(second.c_str(), first.c_str(), nullptr));
  {
    DialogAnswer answer({Press(IDOK)});
    const auto systems = Api.CreateFileA;
    Api.CreateFileA = CreateFileWhereNoNewFileFits;
    EXPECT_FALSE(WriteTextFile(second, "new"));
    Api.CreateFileA = systems;
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(answer.At(0).text.rfind("Cannot write " + WrapLongLine(second, 64) + "\r\n", 0), 0u) << answer.At(0).text;
  }
  EXPECT_EQ(Slurp(first), "old");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.bas", "b.bas"}));
}
