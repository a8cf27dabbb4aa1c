// Reading, colouring and folding listed lines.
#include "editor/ListingText.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Digits from at on, at most nine of them; the number and where they end.
size_t ReadDigits(std::string_view s, size_t at, int& number) {
  number = 0;
  size_t end = at;
  while (end < s.size() && IsDigit(s[end]) && end - at < 9) number = number * 10 + (s[end++] - '0');
  return end;
}

bool ReadFileLine(std::string_view line, ListedLine& out) {
  for (size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open + 1)) {
    std::string_view name = line.substr(0, open);
    size_t colon = name.find(':');
    // A Windows name holds no ":" but the one after a drive letter.
    if (name.empty() || (colon != std::string_view::npos &&
                         (colon != 1 || !IsLetter(name[0]) || name.find(':', 2) != std::string_view::npos)))
      return false;
    int number = 0;
    size_t end = ReadDigits(line, open + 1, number);
    if (end > open + 1 && number > 0 && line.substr(end, 3) == "): ") {
      out = {ListedKind::FileLine, std::string(name), number, open, open + 1, end};
      return true;
    }
  }
  return false;
}

// "12: sub hanoi(n)": a line of the listed document.
bool ReadNumberedLine(std::string_view line, ListedLine& out) {
  int number = 0;
  size_t end = ReadDigits(line, 0, number);
  if (end == 0 || number <= 0 || end >= line.size() || line[end] != ':') return false;
  out = {ListedKind::DocLine, "", number, 0, 0, end};
  return true;
}

// A compiler query's "line 8: …", "first error: line 8: …" or "…, line 8".
bool ReadQueryLine(std::string_view line, ListedLine& out) {
  for (size_t at = line.find("line "); at != std::string_view::npos; at = line.find("line ", at + 1)) {
    if (at > 0 && line[at - 1] != ' ') continue;
    int number = 0;
    size_t end = ReadDigits(line, at + 5, number);
    if (end > at + 5 && number > 0 && (end == line.size() || line[end] == ':' || line[end] == ',')) {
      out = {ListedKind::DocLine, "", number, 0, at + 5, end};
      return true;
    }
  }
  return false;
}
}  // namespace

ListedLine ReadListedLine(std::string_view line) {
  ListedLine out;
  if (ReadFileLine(line, out) || ReadNumberedLine(line, out) || ReadQueryLine(line, out)) return out;
  return {};
}

std::string ListingLineStyles(std::string_view line) {
  std::string styles(line.size(), ListingTextStyle);
  ListedLine read = ReadListedLine(line);
  if (read.kind == ListedKind::None) return styles;
  for (size_t i = 0; i < read.nameEnd; ++i) styles[i] = ListingNameStyle;
  for (size_t i = read.numberStart; i < read.numberEnd; ++i) styles[i] = ListingNumberStyle;
  return styles;
}

FoldLevels ListingFoldLevels(const std::vector<std::string_view>& lines, ListingFold& fold) {
  FoldLevels out;
  out.levels.reserve(lines.size());
  for (std::string_view line : lines) {
    ListedLine read = ReadListedLine(line);
    std::string name = read.kind == ListedKind::FileLine ? read.name : std::string();
    if (!name.empty() && name == fold.lastName) {
      // A second line of the file: the first one becomes the header it folds under.
      if (fold.lastIsFirst) {
        if (out.levels.empty()) out.previousIsHeader = true;
        else out.levels.back() |= FoldHeader;
      }
      out.levels.push_back(FoldBase + 1);
      fold.lastIsFirst = false;
    } else {
      out.levels.push_back(FoldBase);
      fold.lastName = name;
      fold.lastIsFirst = !name.empty();
    }
  }
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

int LineIndexAt(std::string_view text, size_t pos) {
  const std::vector<std::string_view> lines = SplitLines(text);
  int index = 0;
  // A line holds the positions from its start up to the next line's start.
  while (size_t(index) + 1 < lines.size() && size_t(lines[size_t(index) + 1].data() - text.data()) <= pos) ++index;
  return lines.empty() ? -1 : index;
}

int NextListedLine(const std::vector<std::string_view>& lines, int from, bool forward, bool& wrapped) {
  wrapped = false;
  const int count = int(lines.size());
  if (count == 0) return -1;
  int at = from < 0 ? (forward ? -1 : count) : from;
  for (int step = 0; step < count + 1; ++step) {
    at += forward ? 1 : -1;
    if (at >= count || at < 0) {
      // Going past an end starts again at the other one; from outside the lines that is the
      // first step, not a wrap.
      if (from >= 0) wrapped = true;
      at = forward ? 0 : count - 1;
    }
    if (ReadListedLine(lines[size_t(at)]).kind != ListedKind::None) return at;
  }
  return -1;
}
