// Save prompt text, the save-name extension rule, scratch names and the project-list lookups.
#include <gtest/gtest.h>
#include "base/FileText.h"
#include "documents/DocumentText.h"
#include "documents/OutsideChanges.h"
#include "documents/LineField.h"

TEST(DocumentText, ExtensionIsAddedOnlyWhenThePathHasNoDotAtAll) {
  struct Case { const char* chosen; const char* saved; };
  for (Case c : {Case{"C:\\src\\prog", "C:\\src\\prog.zobas"}, Case{"C:\\src\\prog.bas", "C:\\src\\prog.bas"},
                 Case{"C:\\my.src\\prog", "C:\\my.src\\prog"}, Case{"prog.", "prog."}, Case{"", ""}}) {
    EXPECT_EQ(WithSourceExtension(c.chosen), c.saved) << c.chosen;
  }
}

TEST(DocumentText, ScratchFileLiesInTheTargetsFolder) {
  EXPECT_EQ(TempNameBeside("C:\\src\\a.bas", "1f-2"), "C:\\src\\~zor1f-2.tmp");
  EXPECT_EQ(TempNameBeside("C:/src/a.bas", "7"), "C:/src/~zor7.tmp");
  EXPECT_EQ(TempNameBeside("a.bas", "7"), "~zor7.tmp");
  // A file that bears the scratch name itself is never its own scratch file.
  EXPECT_EQ(TempNameBeside("C:\\src\\~ZOR7.TMP", "7"), "C:\\src\\_zor7.tmp");
}

TEST(DocumentText, NearTheLengthLimitTheScratchNameIsNoLongerThanTheFilesOwn) {
  const std::string folder = "C:\\" + std::string(247, 'f') + "\\";
  for (const char* name : {"abc.bas", "ab", "a"}) {
    std::string path = folder + name;
    std::string temp = TempNameBeside(path, "1a2-3f");
    SCOPED_TRACE(name);
    EXPECT_LE(temp.size(), path.size());
    EXPECT_EQ(temp.rfind(folder, 0), 0u);
    EXPECT_NE(temp, path);
  }
  EXPECT_EQ(TempNameBeside(folder + "abc.bas", "1a2-3f"), folder + "~1a2-3f");
  EXPECT_EQ(TempNameBeside(folder + "~3f", "1a2-3f"), folder + "_3f");  // not the file itself
  EXPECT_EQ(TempNameBeside(folder + "f", "1a2-3f"), folder + "~");
}

TEST(DocumentText, LongPathsInReportsAreBrokenIntoLines) {
  std::string path = "C:\\" + std::string(70, 'a') + "\\" + std::string(70, 'b') + "\\c.bas";
  std::string text = WriteFailureText(path, "The disk is full.");
  EXPECT_EQ(text, "Cannot write C:\\" + std::string(61, 'a') + "\r\n" + std::string(9, 'a') + "\\" +
                      std::string(54, 'b') + "\r\n" + std::string(16, 'b') + "\\c.bas\r\nThe disk is full.");
  // A separator in the second half of a line is where it breaks.
  EXPECT_EQ(WrapLongLine("C:\\folder\\sub\\name.bas", 16), "C:\\folder\\sub\\\r\nname.bas");
  EXPECT_EQ(WrapLongLine("short", 64), "short");
  EXPECT_EQ(WrapLongLine("abc", 0), "a\r\nb\r\nc");  // no endless loop on a width of 0
}

namespace {
const char* const List =
    "$project\r\n$files\r\n"
    "<[Second.BAS]>\t000042 [C:\\Src\\Second.BAS]\r\n"
    "<[first.bas]>\t00001  [$\\Lib\\First.bas]\r\n"
    "\r\n$main [C:\\Src\\Second.BAS]\r\n";
}

TEST(DocumentText, KeyFindsTheListedPathInItsOwnCase) {
  struct Case { const char* key; const char* path; };
  for (Case c : {Case{"<[second.bas]>", "C:\\Src\\Second.BAS"}, Case{"<[FIRST.BAS]>", "$\\Lib\\First.bas"},
                 Case{"<[missing.bas]>", ""}, Case{"", ""}, Case{"$main", ""}}) {
    EXPECT_EQ(ListedPathOfKey(List, c.key), c.path) << c.key;
  }
}

TEST(DocumentText, AbsentKeyDoesNotFallBackToTheFirstEntry) {
  EXPECT_EQ(ListedPathOfKey("<[a.bas]>\t00001  [C:\\a.bas]\r\n", "<[b.bas]>"), "");
}

TEST(DocumentText, CaretInsideALabelFindsItsPath) {
  std::string list = List;
  int inLabel = static_cast<int>(list.find("first")) + 1;
  int inPath = static_cast<int>(list.find("C:\\Src")) + 1;
  EXPECT_EQ(ListedPathAt(list, inLabel, inLabel), "$\\Lib\\First.bas");
  EXPECT_EQ(ListedPathAt(list, inPath, inPath), "");
}

TEST(DocumentText, EveryLabelItemGivesTheListedPathBehindIt) {
  EXPECT_EQ(ListedPaths(List), (std::vector<std::string>{"C:\\Src\\Second.BAS", "$\\Lib\\First.bas"}));
  EXPECT_EQ(ListedPaths("$main [a.bas]\r\n<[]>"), std::vector<std::string>{});
}

TEST(LineField, FieldIsReadAndWrittenIgnoringCase) {
  EXPECT_EQ(LineFieldOf(List, "c:\\src\\second.bas"), 42);
  EXPECT_EQ(LineFieldOf(List, "$\\LIB\\first.bas"), 1);
  EXPECT_EQ(LineFieldOf(List, "C:\\nowhere.bas"), -1);
  EXPECT_EQ(LineFieldOf("<[a]>\t000000 [a.bas]", "a.bas"), 0);
  std::string updated = WithLineField(List, "$\\lib\\first.bas", 7);
  EXPECT_NE(updated.find("<[first.bas]>\t000007 [$\\Lib\\First.bas]"), std::string::npos);
  EXPECT_EQ(updated.size(), std::string(List).size());
}

TEST(LineField, LongLineNumbersKeepTheirLastFiveDigits) {
  std::string entry = "<[a]>\t00001  [a.bas]";
  EXPECT_EQ(WithLineField(entry, "a.bas", 42), "<[a]>\t000042 [a.bas]");
  EXPECT_EQ(WithLineField(entry, "a.bas", 1234567), "<[a]>\t034567 [a.bas]");
}

TEST(LineField, APathWithoutAFolderIsNotTakenForItsOwnLabel) {
  // The label item "<[a.bas]>" reads like the path item "[a.bas]"; its "field" would be the end
  // of the line above, and writing the line there would break the entry before it.
  const std::string list = "$files\r\n<[b.bas]>\t00001  [C:\\b.bas]\r\n<[a.bas]>\t00007  [a.bas]\r\n";
  EXPECT_EQ(LineFieldOf(list, "a.bas"), 7);
  EXPECT_EQ(WithLineField(list, "A.BAS", 42),
            "$files\r\n<[b.bas]>\t00001  [C:\\b.bas]\r\n<[a.bas]>\t000042 [a.bas]\r\n");
  EXPECT_EQ(LineFieldOf("$files\r\n<[a.bas]>", "a.bas"), -1);
}

TEST(LineField, EntryWithoutRoomForTheFieldIsLeftAlone) {
  EXPECT_EQ(WithLineField("12 [a.bas]", "a.bas", 9), "12 [a.bas]");
  EXPECT_EQ(LineFieldOf("12 [a.bas]", "a.bas"), -1);
  EXPECT_EQ(WithLineField("x", "", 9), "x");
}

TEST(LineField, OnlyAFileEntryOfTheListHasALineField) {
  // "$main" above the entry names the same file: saving that file must not turn it into digits.
  const std::string list = "$project\r\n$main [a.bas]\r\n$command x [a.bas]\r\n$files\r\n<[a.bas]>\t00003  [a.bas]\r\n";
  std::string expected = list;
  expected.replace(expected.find("00003 "), 6, "000042");
  EXPECT_EQ(WithLineField(list, "A.bas", 42), expected);
  EXPECT_EQ(LineFieldOf(list, "a.bas"), 3);
  EXPECT_EQ(LineFieldOf("$main [a.bas]\r\n", "a.bas"), -1);
  // A field is read as digits only.
  for (const char* field : {"-0012", " 1234", "+0012", "x0012"})
    EXPECT_EQ(LineFieldOf("<[a.bas]>\t0" + std::string(field) + " [a.bas]", "a.bas"), -1) << field;
  EXPECT_EQ(LineFieldOf("<[a.bas]>\t012ab  [a.bas]", "a.bas"), 12);
}

// What the IDE does about the document's file when another program changed or deleted it.
TEST(OutsideChanges, EachMomentTakesTheStepItsStateAsksFor) {
  using M = DiskMoment;
  using S = DiskStep;
  const DiskStamp was{true, 10, 100}, moved{true, 12, 200}, gone{};
  FileSeen seen{"c:\\w\\a.zobas", was, 7, false, {}};
  struct Case { const char* what; DiskStamp now; bool changed, ownEdits; M moment; S step; };
  const Case cases[] = {
      {"unchanged", was, false, true, M::Activated, S::None},
      {"changed, nothing of the user's", moved, true, false, M::Activated, S::Reload},
      {"... before F5", moved, true, false, M::BeforeRun, S::Reload},
      {"... before leaving it", moved, true, false, M::BeforeLeaving, S::Reload},
      {"changed under edits", moved, true, true, M::Activated, S::Ask},
      {"... before F5", moved, true, true, M::BeforeRun, S::Ask},
      {"... before Ctrl+S", moved, true, true, M::BeforeSave, S::Ask},
      {"touched only", moved, false, true, M::BeforeRun, S::None},
      {"deleted", gone, false, true, M::Activated, S::TellDeleted},
      {"deleted, before leaving", gone, false, true, M::BeforeLeaving, S::TellDeleted},
      {"deleted, before F5", gone, false, false, M::BeforeRun, S::RefuseRun},
      {"deleted, before Ctrl+S", gone, false, true, M::BeforeSave, S::None},
  };
  for (const Case& c : cases) EXPECT_EQ(StepFor(seen, c.now, c.changed, c.ownEdits, c.moment), c.step) << c.what;
  seen.deletionTold = true;
  EXPECT_EQ(StepFor(seen, gone, false, true, M::Activated), S::None);   // told once
  EXPECT_EQ(StepFor(seen, gone, false, true, M::BeforeRun), S::RefuseRun);
  seen.declined = moved;  // left as it was at an activation
  EXPECT_EQ(StepFor(seen, moved, true, true, M::Activated), S::None);
  EXPECT_EQ(StepFor(seen, moved, true, true, M::BeforeRun), S::Ask);
  EXPECT_EQ(StepFor(seen, DiskStamp{true, 13, 300}, true, true, M::Activated), S::Ask);  // changed once more
  EXPECT_EQ(StepFor(FileSeen{}, moved, true, true, M::BeforeRun), S::None);              // untitled
  EXPECT_EQ(StepFor(FileSeen{"k", gone, 1, false, {}}, gone, false, true, M::Activated), S::None);  // never on disk
  EXPECT_NE(ContentHash("a"), ContentHash("b"));
  EXPECT_NE(ContentHash(std::string(1, '\0')), ContentHash(""));
}

TEST(OutsideChanges, ALineIsFoundAgainWhereItsTextStandsNearest) {
  const std::vector<std::string_view> old = {"sub a", "  x = 1", "end sub", "print 2", "end sub"};
  const std::vector<std::string_view> now = {"' new", "sub a", "  x = 1", "end sub", "", "print 2", "end sub"};
  struct Case { int line, found; };
  const Case cases[] = {{1, 2}, {2, 3}, {3, 4}, {4, 6}, {5, 7}, {9, 7}, {0, 1}};
  for (const Case& c : cases) EXPECT_EQ(LineAfterReload(old, now, c.line), c.found) << c.line;
  const std::vector<std::string_view> edited = {"sub b", "  y = 2"};
  EXPECT_EQ(LineAfterReload(old, edited, 2), 2);  // no line reads the same: the same number
  EXPECT_EQ(LineAfterReload(old, edited, 4), 2);  // ... as far as the text reaches
  EXPECT_EQ(LineAfterReload(old, {}, 3), 1);
}
