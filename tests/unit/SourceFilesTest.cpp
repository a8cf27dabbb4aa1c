// Which files are Zorvex Basic sources: what a folder search reads, and what the run and build
// commands take themselves.
#include <gtest/gtest.h>
#include "language/SourceFiles.h"

TEST(SourceFiles, ProgramsAndIncludedFilesAreSourcesAndOnlyProgramsAreBuiltThemselves) {
  struct Case { const char* name; bool source, program; };
  for (Case c : {Case{"a.bas", true, true}, Case{"A.BAS", true, true}, Case{"b.ZoBas", true, true},
                 Case{"C:\\x.y\\a.bas", true, true}, Case{"c.inc", true, false}, Case{"sub\\C.INC", true, false},
                 // The compile tool's test is a substring test: an extension cut short, or none, is a program.
                 Case{"a.ba", false, true}, Case{"a.zo", false, true}, Case{"noextension", false, true},
                 Case{"a.", false, true}, Case{"a.basic", false, false}, Case{"a.txt", false, false},
                 Case{"a.bas.bak", false, false}, Case{"C:\\x.y\\noext", false, false}}) {
    EXPECT_EQ(IsSourceName(c.name), c.source) << c.name;
    EXPECT_EQ(IsProgramSource(c.name), c.program) << c.name;
  }
}
