// The lines of the IDE's own listings, read back and coloured: "name(line): text" names a line
// of a file, "line: text" and a compiler query's "line 8: …" a line of the listed document.
// Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "ScintillaTypes.h"

// What the lines of a listing are of.
enum class ListingKind {
  Query,   // a compiler query's answer, or any text the OutputBox holds: "line N" is a line of
           // the current document, a name is a path as written
  Places,  // declarations, bookmarks: a relative name is inside folder (any other path as
           // written), "line: text" is a line of document
  Search,  // find in files: every name is inside folder, whatever its first character; a
           // project's search (folder empty) names full paths
};

// A listing as it shows: its text, the folder its relative names are in, the document its
// "line: text" lines are of (empty: the current one) and its kind.
struct Listing {
  ListingKind kind = ListingKind::Query;
  std::string text;
  std::string folder;
  std::string document;
};

enum class ListedKind {
  None,      // a line that names no place: a summary, a blank line
  FileLine,  // "name(line): text"
  DocLine,   // "line: text", or a query's "line N" of the document
};

// A listed line read back, with where its parts stand (0-based, end exclusive), so the
// colouring and the jump read the line by the same rule.
struct ListedLine {
  ListedKind kind = ListedKind::None;
  std::string name;          // FileLine: the file as listed
  int line = 0;              // the 1-based line it names
  size_t nameEnd = 0;        // FileLine: the name is [0, nameEnd)
  size_t numberStart = 0;    // the line number's digits
  size_t numberEnd = 0;
  bool operator==(const ListedLine&) const = default;
};

// Reads one listed line (without its line break). A name holds no ":" but a drive's, so a
// query's "line 8: x(3): …" is never read as a file's line.
ListedLine ReadListedLine(std::string_view line);

// Styles of the listing panel: the text, the file name, the line number.
constexpr char ListingTextStyle = 0;
constexpr char ListingNameStyle = 1;
constexpr char ListingNumberStyle = 2;

// One style byte per byte of line: name and number apart from the text.
std::string ListingLineStyles(std::string_view line);

// Fold levels of listed lines: the lines of one file fold under its first one.
constexpr int FoldBase = static_cast<int>(Scintilla::FoldLevel::Base);
constexpr int FoldHeader = static_cast<int>(Scintilla::FoldLevel::HeaderFlag);
struct ListingFold {
  std::string lastName;      // the file of the line before; empty after a line of no file
  bool lastIsFirst = false;  // that line is the first of its file's run
};
struct FoldLevels {
  std::vector<int> levels;       // one per line given
  bool previousIsHeader = false; // the line before these becomes a header (it now has a child)
};
// Levels of the given lines, continuing after the lines that fold has seen.
FoldLevels ListingFoldLevels(const std::vector<std::string_view>& lines, ListingFold& fold);

// The lines of text, split at CR LF, LF or CR; a text that ends in a line break has no empty
// last line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The 0-based index of the line of text that holds the 0-based position pos (lines split as
// SplitLines splits them); -1 when text has no line.
int LineIndexAt(std::string_view text, size_t pos);

// The index of the next (forward) or previous listed line after from that names a place,
// wrapping around the ends; wrapped tells that it went past the last (or first) line. -1 when
// no line names a place. from of -1 starts before the first line (after the last backwards).
int NextListedLine(const std::vector<std::string_view>& lines, int from, bool forward, bool& wrapped);
