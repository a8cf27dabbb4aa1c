// Bookmarks of the documents left, and their listing.
#include "editor/Bookmarks.h"
#include <algorithm>
#include "base/TextScan.h"

void BookmarkStore::Keep(const std::string& path, std::vector<int> lines) {
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  auto at = std::find_if(files_.begin(), files_.end(), [&](const FileMarks& f) { return SameText(f.path, path); });
  if (lines.empty()) {
    if (at != files_.end()) files_.erase(at);
  } else if (at != files_.end()) {
    at->lines = std::move(lines);
  } else {
    files_.push_back({path, std::move(lines)});
  }
}

std::vector<int> BookmarkStore::LinesOf(std::string_view path) const {
  for (const FileMarks& f : files_)
    if (SameText(f.path, path)) return f.lines;
  return {};
}

int NextMark(const std::vector<int>& lines, int caretLine, bool forward) {
  if (lines.empty()) return 0;
  if (forward) {
    auto after = std::upper_bound(lines.begin(), lines.end(), caretLine);
    return after == lines.end() ? lines.front() : *after;
  }
  auto before = std::lower_bound(lines.begin(), lines.end(), caretLine);
  return before == lines.begin() ? lines.back() : *(before - 1);
}

namespace {
std::string ShownPath(const std::string& path, std::string_view folder) {
  if (folder.empty() || path.size() <= folder.size() + 1) return path;
  const bool separated = folder.back() == '\\' || folder.back() == '/';
  const size_t inside = separated ? folder.size() : folder.size() + 1;
  if (!SameText(std::string_view(path).substr(0, folder.size()), folder)) return path;
  if (!separated && path[folder.size()] != '\\' && path[folder.size()] != '/') return path;
  return path.substr(inside);
}
}  // namespace

std::string BookmarkListing(std::vector<MarkedLine> marks, std::string_view folder) {
  std::stable_sort(marks.begin(), marks.end(), [](const MarkedLine& a, const MarkedLine& b) {
    std::string la = LowerText(a.path), lb = LowerText(b.path);
    return la != lb ? la < lb : a.line < b.line;
  });
  std::string text;
  for (const MarkedLine& mark : marks) {
    size_t from = 0;
    while (from < mark.text.size() && (mark.text[from] == ' ' || mark.text[from] == '\t')) ++from;
    std::string shown = mark.text.substr(from);
    for (char& c : shown)
      if (static_cast<unsigned char>(c) < 32) c = ' ';
    // A mark of the untitled document is listed as a line of the document shown.
    if (mark.path.empty()) text += std::to_string(mark.line) + ": " + shown + "\r\n";
    else text += ShownPath(mark.path, folder) + "(" + std::to_string(mark.line) + "): " + shown + "\r\n";
  }
  return text;
}
