// What the build hands the compile tool, and the directive a query inserts.
#include <gtest/gtest.h>
#include <climits>
#include "compiler/BuildText.h"
#include "compiler/RunReport.h"

TEST(BuildText, OptionsFollowTheModifierAndTheOutputKind) {
  struct Case { int modifier; int kind; const char* options; };
  for (Case c : {Case{0, OutputExe, ""}, Case{0, OutputLibrary, ""}, Case{1, OutputExe, "-64 "},
                 Case{2, OutputExe, "-r -32 "}, Case{2, OutputLibrary, "-d -32 "}, Case{3, OutputExe, "-r -64 "},
                 Case{3, OutputLibrary, "-d -64 "}}) {
    EXPECT_EQ(BuildOptions(c.modifier, c.kind), c.options) << c.modifier << " " << c.kind;
  }
}

TEST(BuildText, AProjectsOutputNameOverridesTheKind) {
  EXPECT_EQ(OutputKindFor(OutputExe, "C:\\p\\tool.DLL"), OutputLibrary);
  EXPECT_EQ(OutputKindFor(OutputLibrary, "tool.exe"), OutputExe);
  EXPECT_EQ(OutputKindFor(OutputLibrary, "C:\\p\\tool"), OutputLibrary);
  EXPECT_EQ(OutputKindFor(OutputExe, ""), OutputExe);
  EXPECT_EQ(OutputKindFor(OutputExe, "dll"), OutputExe);
}

TEST(BuildText, InsertAtPadsAShortText) {
  std::string text = "ab";
  InsertAt(text, 5, "X");
  EXPECT_EQ(text, "ab  X");
  InsertAt(text, 1, "<");
  EXPECT_EQ(text, "<ab  X");
  InsertAt(text, INT_MIN, "-");  // any position below 1 is the front, the lowest int too
  EXPECT_EQ(text, "-<ab  X");
}

TEST(BuildText, EachQueryModeInsertsItsDirective) {
  const std::string listing = "C:\\ide\\_.txt";
  struct Case { int mode; std::string text; int caret; std::string query; };
  const Case cases[] = {
      // After the caret's line, with an empty line before the directive.
      {0, "a = 1\r\nprint a\r\n", 2, "a = 1\r\n\r\n#list \"C:\\ide\\_.txt\" a\r\nprint a\r\n"},
      {1, "a = 1\r\nprint a", 10, "a = 1\r\nprint a  \r\n#recordof \"C:\\ide\\_.txt\" a\r\n"},
      // Lone LF line ends: the next line stays whole.
      {0, "a = 1\nprint a\n", 1, "a = 1\n\r\n#list \"C:\\ide\\_.txt\" a\r\nprint a\n"},
      // At the start of the caret's line: the rest of the line is the argument.
      {2, "x\r\n#include \"lib.inc\"\r\n", 8, "x\r\n#show \"C:\\ide\\_.txt\" #include \"lib.inc\"\r\n"},
      {3, "x\r\n", 1, "x\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    std::string query = c.text;
    InsertListingDirective(query, c.mode, c.caret, c.caret, "a", listing);
    EXPECT_EQ(query, c.query);
  }
}

TEST(BuildText, TheStatusBarShowsAnErrorWithoutTheDocumentsName) {
  const struct {
    const char *message, *file, *shown;
  } cases[] = {
      {"C:\\w\\a.zobas(3): unknown name y", "C:\\w\\a.zobas", "(3): unknown name y"},
      {"C:\\w\\a.zobas: missing end if", "C:\\w\\a.zobas", "missing end if"},
      {"C:\\w\\lib.inc(2): unknown name z", "C:\\w\\a.zobas", "C:\\w\\lib.inc(2): unknown name z"},
      {"C:\\w\\a.zobas.inc(2): bad", "C:\\w\\a.zobas", "C:\\w\\a.zobas.inc(2): bad"},
      {"(1): odd", "", "(1): odd"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorWithoutFile(c.message, c.file), c.shown) << c.message;
  // The message follows its mark when lines are added or taken above it.
  EXPECT_EQ(ErrorAtLine("(3): unknown name y", 3, 5), "(5): unknown name y");
  EXPECT_EQ(ErrorAtLine("(3): unknown name y", 3, 3), "(3): unknown name y");
  EXPECT_EQ(ErrorAtLine("(13): x", 3, 5), "(13): x");
  EXPECT_EQ(ErrorAtLine("C:\\w\\lib.inc(3): z", 3, 5), "C:\\w\\lib.inc(3): z");  // the included file's own line
  EXPECT_EQ(ErrorAtLine("missing end if", 1, 4), "missing end if");
}

TEST(RunReport, ARunsErrorLinesBecomeTheListingAndTheStatus) {
  struct Case { bool compiled; const char* errors; const char* listing; const char* status; };
  const Case cases[] = {
      {false, "C:\\src\\a.zobas(3): division by zero\r\n", "C:\\src\\a.zobas(3): division by zero\r\n",
       "The run ended with an error: C:\\src\\a.zobas(3): division by zero (F6 goes there)"},
      {true, "zor5: cannot write x.exe\r\nlib\\b.inc(7): unknown name q\nC:\\a.zobas(9): missing end if",
       "lib\\b.inc(7): unknown name q\r\nC:\\a.zobas(9): missing end if\r\n",
       "The compile ended with an error: lib\\b.inc(7): unknown name q (F6 goes there; 2 lines listed)"},
      {false, "zor5: the 64-bit runtime is missing: x\r\n", "", ""},  // names no place
      {false, "", "", ""},                                           // ended well
  };
  for (const Case& c : cases) {
    const RunErrors errors = ReadRunErrors(c.compiled, c.errors);
    EXPECT_EQ(errors.listing, c.listing) << c.errors;
    EXPECT_EQ(errors.status, c.status) << c.errors;
  }
  EXPECT_EQ(RunHeader(false, "C:\\src\\a.zobas", 9, 5, 7), "\r\n---- run of C:\\src\\a.zobas at 09:05:07 ----\r\n");
  EXPECT_EQ(RunHeader(true, "b.zobas", 23, 59, 0), "\r\n---- compile of b.zobas at 23:59:00 ----\r\n");
  EXPECT_EQ(RunStartedText(false, "C:\\src\\a.zobas"), "Running a.zobas in the console");
  EXPECT_EQ(RunEndedText(true, "C:\\src\\a.zobas", 0), "The compile of a.zobas ended");
  EXPECT_EQ(RunEndedText(false, "a.zobas", 1), "The run of a.zobas ended with exit code 1: the console tells why");
}
