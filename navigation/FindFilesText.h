// Finding a word in many files (Ctrl+F7): which files are searched, the whole-word rule, the
// listing's lines, its order and summary.
// Platform-free.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// At most this many matching lines are listed; the rest are only counted.
constexpr size_t MostListedLines = 10000;
// Larger files are skipped, as are files with a NUL byte in their first HeadBytes.
constexpr unsigned long long LargestSearchedFile = 64ull << 20;
constexpr size_t HeadBytes = 4096;
// A listed line shows at most this many characters of the line that holds the word.
constexpr size_t ShownLineLength = 200;

// True when the text's first HeadBytes hold a NUL byte: a binary file, not searched.
bool IsBinaryHead(std::string_view text);
// The listing's file order: by name with the letter case of A to Z ignored, then byte by byte.
bool NameBefore(std::string_view a, std::string_view b);

// What a search has found so far; the listing text grows file by file.
struct Findings {
  std::string text;     // the listed lines, each "name(line): text" and CR LF
  size_t lines = 0;     // matching lines found, listed or not
  size_t files = 0;     // files holding at least one
  size_t searched = 0;  // files read
  size_t skipped = 0;   // files not read: binary, too large or unreadable
  size_t leftOut = 0;   // folders of a folder search that could not be entered
};

// A search text prepared for many texts: found as a whole word (where it begins or ends with a
// word character of WordAt, no word character may stand beside it there), with the letter case
// of A to Z ignored, as Find ignores it.
class WordSearch {
 public:
  explicit WordSearch(std::string_view word);
  // Adds one listed line for every line of text that holds the word, named name: the line's
  // number (lines end with CR LF, LF or CR, as the editor counts them), its text without leading
  // blanks, control characters as blanks, cut at ShownLineLength. Counts the file in listing.
  void ListLines(std::string_view text, std::string_view name, Findings& listing) const;
  // The 0-based position of the first occurrence at or after from, or npos.
  size_t Find(std::string_view text, size_t from) const;

 private:
  std::string folded_;
  size_t skip_[256];
  bool wordStart_;
  bool wordEnd_;
};

// Adds the listing of one file (searched on its own) to the whole one: its lines while the whole
// listing holds fewer than MostListedLines, and all of its counts.
void AddFileListing(Findings& all, const Findings& file);
// The summary line: "N lines in M files", with ", K files skipped" when some were and
// ", F folders not searched" when some could not be entered.
std::string ListingSummary(const Findings& listing);
// The whole listing: the listed lines, "… and N more" when lines were left out, and
// the summary, CR LF between lines.
std::string ListingText(const Findings& listing);
// The line of text that holds the 0-based position pos, without its line break.
std::string_view LineAround(std::string_view text, size_t pos);
// The file a listed name stands for: a folder search lists names relative to folder, every one
// of them inside it, whatever its first character ("$tmp" is a folder's name like any other);
// a project's search (folder empty) lists full paths.
std::string ListedFile(std::string_view folder, std::string_view name);
// The text every box of the main window starts with; in the FindBox it is no word to search for.
constexpr std::string_view UntouchedBoxText = " finder";
// True when word gives nothing to search for: empty, or only blanks and control characters.
bool IsBlankWord(std::string_view word);
