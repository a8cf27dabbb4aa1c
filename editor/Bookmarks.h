// Bookmarks kept per file while the IDE runs, the next and previous mark, and their listing.
// Platform-free: the editor's markers hold the current document's marks, this store the marks
// of the documents left.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The marked lines (1-based, ascending) of each file left, by its full path (letter case of
// A to Z ignored, as Windows names files).
class BookmarkStore {
 public:
  // Keeps lines for path; no lines forget the file.
  void Keep(const std::string& path, std::vector<int> lines);
  // The lines kept for path, none when it has none.
  std::vector<int> LinesOf(std::string_view path) const;
  struct FileMarks {
    std::string path;
    std::vector<int> lines;
  };
  const std::vector<FileMarks>& Files() const { return files_; }

 private:
  std::vector<FileMarks> files_;
};

// The marked line after (forward) or before caretLine, wrapping around the ends; 0 when no line
// is marked. lines ascending.
int NextMark(const std::vector<int>& lines, int caretLine, bool forward);

// One line of the bookmark listing.
struct MarkedLine {
  std::string path;
  int line = 0;
  std::string text;  // the line's text, without its line break
};
// "path(line): text" per mark ("line: text" for a mark of the untitled document, whose path is
// empty, listed first), files in name order (letter case ignored) and lines in order,
// leading blanks of the text dropped and control characters shown as blanks; CR LF after each.
// A path inside folder is listed relative to it, so the listing stays readable in its panel.
std::string BookmarkListing(std::vector<MarkedLine> marks, std::string_view folder);
