// The texts the build and query commands compose: which file counts as Basic source, the compile
// tool's options, and the listing directive inserted into a query. Platform-free.
#pragma once
#include <string>
#include <string_view>

// Output kinds of the build (OutputKind): an executable or a library.
constexpr int OutputExe = 0;
constexpr int OutputLibrary = 1;

// The output kind for one build: a project's output name ending in ".exe" or ".dll" (any letter
// case) decides, otherwise outputKind stays.
int OutputKindFor(int outputKind, std::string_view outputName);
// The compile tool's options for a CommandModifier: with Ctrl "-r " (exe) or "-d " (library),
// then "-64 " with Shift or "-32 "; Shift alone runs the source with the 64-bit runtime
// ("-64 "); no modifier runs it (no options).
std::string BuildOptions(int modifier, int outputKind);

// Inserts what before the 1-based position p, padding the text with blanks to p - 1 first when
// it is shorter; a p below 1 inserts in front.
void InsertAt(std::string& text, int p, std::string_view what);
// Query modes: the CommandModifier of the F2 target.
constexpr int QueryList = 0;
constexpr int QueryRecord = 1;
constexpr int QueryShow = 2;
// Inserts the listing directive of mode into the query text: after the line of end
// ("#list " or "#recordof ", the quoted listing file, word, on a line of its own after an empty
// one), or at the start of the line of start ("#show " and the quoted listing file, so the rest
// of that line is its argument). Mode 3 inserts nothing. start and end are 1-based.
void InsertListingDirective(std::string& text, int mode, int start, int end, std::string_view word,
                            std::string_view listingFile);
// What the OutputBox shows instead of a listing when the query text holds a NUL byte: the
// compiler library takes the text as a C string and would answer for the part before it as if
// it were the whole program. Names the line of the first such byte.
std::string NulByteQueryText(std::string_view text);
// The compile tool's error line as the status bar shows it beside the document: without the
// document's own file name ("(3): unknown name y"); an error in another file keeps its name.
std::string ErrorWithoutFile(std::string_view message, std::string_view file);
// That error as its mark now stands: an error of the document's own line checkedLine, which
// lines added or taken above have moved to line, names that line ("(3): x" reads "(5): x");
// any other text is kept.
std::string ErrorAtLine(std::string_view shown, int checkedLine, int line);
