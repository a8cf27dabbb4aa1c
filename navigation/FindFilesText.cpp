// Finding a word in many files: the whole-word search and the listing.
#include "navigation/FindFilesText.h"
#include <algorithm>
#include "base/StatusRule.h"
#include "base/TextScan.h"
#include "language/CharClasses.h"
#include "language/WordAt.h"

namespace {

unsigned char Folded(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

bool IsBreak(char c) { return c == '\r' || c == '\n'; }
bool WordCodeAt(std::string_view text, size_t pos) {
  return pos < text.size() && IsWordChar(static_cast<unsigned char>(text[pos]));
}

// Lines counted as the editor counts them: CR LF, a lone LF and a lone CR each end one.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  // The 1-based number and the 0-based start of the line that holds pos; pos never goes back.
  int LineOf(size_t pos, size_t& start) {
    for (; counted_ < pos; ++counted_) {
      char c = text_[counted_];
      if (c == '\n' || (c == '\r' && (counted_ + 1 >= text_.size() || text_[counted_ + 1] != '\n'))) {
        ++line_;
        start_ = counted_ + 1;
      }
    }
    start = start_;
    return line_;
  }

 private:
  std::string_view text_;
  size_t counted_ = 0;
  size_t start_ = 0;
  int line_ = 1;
};

// The listed form of a line: no leading blanks, control characters as blanks, at most
// ShownLineLength characters.
void AppendShownLine(std::string& out, std::string_view line) {
  size_t first = 0;
  while (first < line.size() && static_cast<unsigned char>(line[first]) <= ' ') ++first;
  line = line.substr(first, ShownLineLength);
  for (char c : line) out += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
}

}  // namespace

bool IsBinaryHead(std::string_view text) {
  return text.substr(0, HeadBytes).find('\0') != std::string_view::npos;
}

bool NameBefore(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return Folded(a[i]) < Folded(b[i]);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

WordSearch::WordSearch(std::string_view word)
    : wordStart_(!word.empty() && IsWordChar(static_cast<unsigned char>(word.front()))),
      wordEnd_(!word.empty() && IsWordChar(static_cast<unsigned char>(word.back()))) {
  for (char c : word) folded_ += static_cast<char>(Folded(c));
  // Horspool's shift for each folded byte: how far the last byte of a window may move on.
  std::fill(std::begin(skip_), std::end(skip_), std::max<size_t>(folded_.size(), 1));
  for (size_t k = 0; k + 1 < folded_.size(); ++k) skip_[static_cast<unsigned char>(folded_[k])] = folded_.size() - 1 - k;
}

size_t WordSearch::Find(std::string_view text, size_t from) const {
  const size_t n = folded_.size();
  if (n == 0) return std::string_view::npos;
  const unsigned char last = static_cast<unsigned char>(folded_.back());
  for (size_t at = from; n <= text.size() && at <= text.size() - n;) {
    unsigned char c = Folded(text[at + n - 1]);
    if (c == last) {
      size_t k = 0;
      while (k + 1 < n && Folded(text[at + k]) == static_cast<unsigned char>(folded_[k])) ++k;
      if (k + 1 >= n && !(wordStart_ && at > 0 && WordCodeAt(text, at - 1)) && !(wordEnd_ && WordCodeAt(text, at + n)))
        return at;
    }
    at += skip_[c];
  }
  return std::string_view::npos;
}

void WordSearch::ListLines(std::string_view text, std::string_view name, Findings& listing) const {
  LineCounter counter(text);
  const size_t before = listing.lines;
  for (size_t at = Find(text, 0); at != std::string_view::npos;) {
    size_t start = 0;
    int line = counter.LineOf(at, start);
    size_t end = at;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    if (++listing.lines <= MostListedLines) {
      listing.text.append(name);
      listing.text += '(';
      listing.text += std::to_string(line);
      listing.text += "): ";
      AppendShownLine(listing.text, text.substr(start, end - start));
      listing.text += "\r\n";
    }
    at = Find(text, end);  // one listed line for a line, however often it holds the word
  }
  if (listing.lines > before) ++listing.files;
}

void AddFileListing(Findings& all, const Findings& file) {
  size_t room = all.lines < MostListedLines ? MostListedLines - all.lines : 0;
  size_t end = 0;
  for (size_t line = 0; line < room && end < file.text.size(); ++line) {
    size_t next = file.text.find('\n', end);
    end = next == std::string::npos ? file.text.size() : next + 1;
  }
  all.text.append(file.text, 0, end);
  all.lines += file.lines;
  all.files += file.files;
  all.searched += file.searched;
  all.skipped += file.skipped;
  all.leftOut += file.leftOut;
}

std::string ListingSummary(const Findings& listing) {
  std::string summary = Counted(listing.lines, "line") + " in " + Counted(listing.files, "file");
  if (listing.skipped > 0) summary += ", " + Counted(listing.skipped, "file") + " skipped";
  if (listing.leftOut > 0) summary += ", " + Counted(listing.leftOut, "folder") + " not searched";
  return summary;
}

std::string ListingText(const Findings& listing) {
  std::string text = listing.text;
  if (listing.lines > MostListedLines)
    text += "\x85 and " + std::to_string(listing.lines - MostListedLines) + " more\r\n";  // "…" in Windows-1252
  return text + ListingSummary(listing);
}

std::string_view LineAround(std::string_view text, size_t pos) {
  pos = std::min(pos, text.size());
  size_t start = pos;
  while (start > 0 && !IsBreak(text[start - 1])) --start;
  size_t end = pos;
  while (end < text.size() && !IsBreak(text[end])) ++end;
  return text.substr(start, end - start);
}

std::string ListedFile(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path(folder);
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path.append(name);
}

bool IsBlankWord(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}
