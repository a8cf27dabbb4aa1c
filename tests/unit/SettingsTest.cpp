// The settings text: entries read by key with their defaults, the guarded sizes and font,
// keys hidden inside values, and the exact bytes of the written file.
#include <gtest/gtest.h>

#include "documents/DocumentState.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"

namespace {

const char* const Written =
    "$dir [C:\\work]\r\n"
    "$file [C:\\work\\demo.zobas]\r\n"
    "$pos [1234]\r\n"
    "$sizeX [800]\r\n"
    "$sizeY [600]\r\n"
    "$font [Lucida Console]\r\n"
    "$fontsize [12]\r\n";

Settings Read(std::string_view text) { return ReadSettings(text, "C:\\ide", "C:\\arg.zobas"); }

Settings Demo() {
  Settings s;
  s.dir = "C:\\work";
  s.file = "C:\\work\\demo.zobas";
  s.pos = 1234;
  return s;
}

TEST(SettingsWrite, ComposesSevenLinesWithCrLf) {
  EXPECT_EQ(ComposeSettings(Demo()), Written);
  Settings odd;
  odd.pos = -3;
  odd.font = "My [Bold] Font";
  EXPECT_EQ(ComposeSettings(odd),
            "$dir []\r\n$file []\r\n$pos [-3]\r\n$sizeX [800]\r\n$sizeY [600]\r\n"
            "$font [My [Bold] Font]\r\n$fontsize [12]\r\n");
}

TEST(SettingsRead, ReadsTheProgramsOwnFile) { EXPECT_EQ(Read(Written), Demo()); }

TEST(SettingsRead, EmptyTextGivesDefaultsInTheProgramDirectory) {
  const Settings s = Read("");
  EXPECT_EQ(s.dir, "C:\\ide");
  EXPECT_EQ(s.file, "C:\\arg.zobas");
  EXPECT_EQ(s.pos, 0);
  EXPECT_EQ(s.sizeX, 800);
  EXPECT_EQ(s.sizeY, 600);
  EXPECT_EQ(s.font, "Lucida Console");
  EXPECT_EQ(s.fontSize, 12);
}

TEST(SettingsRead, EntriesInAnyOrderOrRunTogetherReadTheSame) {
  const char* const texts[] = {
      "$fontsize [12]$font [Lucida Console]$sizeY [600]$sizeX [800]$pos [1234]"
      "$file [C:\\work\\demo.zobas]$dir [C:\\work]",
      "$dir [C:\\work]$file [C:\\work\\demo.zobas]$pos [1234]$sizeX [800]$sizeY [600]"
      "$font [Lucida Console]$fontsize [12]",
      "junk $dir \t\r\n [C:\\work] ; $file[ignored] $file [C:\\work\\demo.zobas]\n$pos [1234] "
      "$sizeX [800]\n$sizeY [600]\n$font [Lucida Console]\n$fontsize [12]",
  };
  for (const char* text : texts) EXPECT_EQ(Read(text), Demo()) << text;
}

TEST(SettingsRead, NumbersRoundHalfToEven) {
  const struct { const char* value; int expected; } cases[] = {
      {"800.5", 800}, {"801.5", 802}, {"  640", 640}, {"-7", -7}, {"12abc", 12}, {"abc", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Read(std::string("$pos [") + c.value + "]").pos, c.expected) << c.value;
  EXPECT_EQ(Read("$sizeX [800.5]").sizeX, 800);
  EXPECT_EQ(Read("$sizeX [801.5]").sizeX, 802);
}

TEST(SettingsRead, EveryNameWrittenReadsBackTheSame) {
  // Windows names may hold "[" and "]" in any number, balanced or not, but never "<" or ">".
  for (const char* name : {"C:\\old[1", "C:\\odd]name", "C:\\a]b[c", "C:\\My [Bold] dir", "C:\\[[x", "C:\\x]]"}) {
    Settings s = Demo();
    s.dir = name;
    s.file = std::string(name) + "\\a[1].zobas";
    s.font = std::string(name).substr(3);
    EXPECT_EQ(Read(ComposeSettings(s)), s) << name;
  }
  Settings s = Demo();
  s.dir = "C:\\old[1";
  EXPECT_EQ(ComposeSettings(s).rfind("$dir <C:\\old[1>\r\n", 0), 0u);
  EXPECT_EQ(Read("$dir [C:\\unfinished").dir, "C:\\unfinished");
}

TEST(SettingsRead, ValuesWithLineBreaksOrControlCharactersFallBack) {
  // An unclosed font group ran on over the next line, and writing it back grew the file.
  const Settings damaged = Read("$font [[[[\r\n$fontsize [");
  EXPECT_EQ(damaged.font, "Lucida Console");
  EXPECT_EQ(ComposeSettings(damaged), ComposeSettings(Settings()));
  const Settings s = Read("$dir [C:\\a\tb]$file [C:\\x\ny.bas]$fontsize 14\r\n$font Courier\r\n");
  EXPECT_EQ(s.dir, "");
  EXPECT_EQ(s.file, "");
  EXPECT_EQ(s.fontSize, 14);
  EXPECT_EQ(s.font, "Lucida Console");  // unbracketed, it took in the rest of the file
  EXPECT_EQ(Read("$font Courier").font, "Courier");
}

TEST(SettingsRead, MissingOrNonPositiveSizesAndEmptyFontKeepDefaults) {
  const char* const texts[] = {
      "$dir [C:\\work]",
      "$sizeX [0]$sizeY [-600]$font []$fontsize [0]",
      "$sizeX [-1]$sizeY [0.4]$font [ ]$fontsize [-12]",
  };
  for (const char* text : texts) {
    const Settings s = Read(text);
    EXPECT_EQ(s.sizeX, 800) << text;
    EXPECT_EQ(s.sizeY, 600) << text;
    EXPECT_EQ(s.fontSize, 12) << text;
  }
  EXPECT_EQ(Read("$font []").font, "Lucida Console");
  EXPECT_EQ(Read("$sizeX [1]$sizeY [2]$fontsize [4]"), ([] {
              Settings s;
              s.sizeX = 1, s.sizeY = 2, s.fontSize = 4;
              return s;
            })());
}

TEST(SettingsRead, ValuesThatWouldMakeTheIdeUnusableFallBack) {
  // A font too small to read or too large for the window; a window beyond the work area.
  for (const char* size : {"3", "73", "5000"})
    EXPECT_EQ(Read(std::string("$fontsize [") + size + "]").fontSize, 12) << size;
  EXPECT_EQ(Read("$fontsize [72]").fontSize, 72);
  Settings s = ReadSettings("$sizeX [99999999]$sizeY [1041]", "C:\\ide", "", 1920, 1040);
  EXPECT_EQ(s.sizeX, 1920);
  EXPECT_EQ(s.sizeY, 1040);
  s = ReadSettings("$sizeX [1920]$sizeY [1000]", "C:\\ide", "", 1920, 1040);
  EXPECT_EQ(s.sizeX, 1920);
  EXPECT_EQ(s.sizeY, 1000);
}

TEST(SettingsRead, TheDefaultSizeGrowsWithTheDisplayAndTheFilesSizesStayItsPixels) {
  const struct { int dpi, width, height; } cases[] = {{96, 800, 600}, {120, 1000, 750}, {144, 1200, 900}, {192, 1600, 1200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const DisplayScale scale{c.dpi};
    const Settings none = ReadSettings("", "C:\\ide", "", 0, 0, scale);
    EXPECT_EQ(none.sizeX, c.width);
    EXPECT_EQ(none.sizeY, c.height);
    const Settings missing = ReadSettings("$dir [C:\\work]", "C:\\ide", "", 0, 0, scale);
    EXPECT_EQ(missing.sizeX, c.width);
    // A size the file holds is the display's pixels as they were written, on any display.
    EXPECT_EQ(ReadSettings("$sizeX [1300]$sizeY [700]", "C:\\ide", "", 0, 0, scale).sizeX, 1300);
  }
  // Written on a large display, read on a small one: no larger than its work area.
  const Settings big = ReadSettings("$sizeX [3840]$sizeY [2100]", "C:\\ide", "", 1366, 728, DisplayScale{144});
  EXPECT_EQ(big.sizeX, 1366);
  EXPECT_EQ(big.sizeY, 728);
}

TEST(SettingsRead, ARelativeFileIsTakenInsideTheSettingsFolder) {
  EXPECT_EQ(Read("$dir [C:\\work]$file [a.bas]").file, "C:\\work\\a.bas");
  EXPECT_EQ(Read("$dir [C:\\work\\]$file [sub\\a.bas]").file, "C:\\work\\sub\\a.bas");
  for (const char* kept : {"D:\\x\\a.bas", "\\\\server\\share\\a.bas", "$\\a.bas", "/x/a.bas"})
    EXPECT_EQ(Read(std::string("$dir [C:\\work]$file [") + kept + "]").file, kept);
  EXPECT_EQ(Read("$file [a.bas]").file, "a.bas");  // no folder to take it in
}

TEST(SettingsRead, MissingTextEntriesOfAFileReadEmpty) {
  const Settings s = Read("$sizeX [900]");
  EXPECT_EQ(s.dir, "");
  EXPECT_EQ(s.file, "");
  EXPECT_EQ(s.pos, 0);
}

TEST(SettingsRead, KeyInsideAFolderNameDoesNotHideTheRealEntry) {
  Settings s = Demo();
  s.dir = "C:\\x$file y";
  s.file = "C:\\x$file y\\demo.zobas";
  EXPECT_EQ(Read(ComposeSettings(s)), s);
  EXPECT_EQ(SettingsValue("$dir [a $pos [9]]\n$pos [5]", "$pos "), "5");
  EXPECT_EQ(SettingsValue("$dir [a $pos [9]]$pos [5]", "$pos "), "9");  // run together: first wins
}

TEST(SettingsState, AppliedValuesReachTheShellState) {
  ApplySettings(Read(Written));
  EXPECT_EQ(WorkDir, "C:\\work");
  EXPECT_EQ(CurrentFile, "C:\\work\\demo.zobas");
  EXPECT_EQ(RestorePos, 1234);
  EXPECT_EQ(WindowWidth, 800);
  EXPECT_EQ(WindowHeight, 600);
  EXPECT_EQ(EditorFontName, "Lucida Console");
  EXPECT_EQ(EditorFontSize, 12);
  RestorePos = 0;
  CurrentFile.clear();
}

TEST(SettingsState, ClosingWithAProjectLeavesPlaceAndDocumentEmpty) {
  WindowWidth = 1000, WindowHeight = 700, EditorFontName = "Courier", EditorFontSize = 10;
  SaveName = "C:\\w\\a.zobas";
  ProjectFile = "C:\\w\\p.zoproj";
  Settings s = SettingsAtClosing("C:\\w", 77);
  EXPECT_EQ(ComposeSettings(s), "$dir []\r\n$file []\r\n$pos [0]\r\n$sizeX [1000]\r\n"
                                "$sizeY [700]\r\n$font [Courier]\r\n$fontsize [10]\r\n");
  EXPECT_EQ(SaveName, "");

  ProjectFile.clear();
  SaveName = "C:\\w\\a.zobas";
  s = SettingsAtClosing("C:\\w", 77);
  EXPECT_EQ(s.dir, "C:\\w");
  EXPECT_EQ(s.file, "C:\\w\\a.zobas");
  EXPECT_EQ(s.pos, 77);
  SaveName.clear();
}

}  // namespace
