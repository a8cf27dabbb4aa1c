// The remembered line of a file listed in the project text.
#include "documents/LineField.h"
#include "base/TextScan.h"

namespace {
constexpr size_t FieldLead = 6;   // the field begins this many characters before the "["
constexpr size_t FieldLength = 5;
// A file entry reads "<[" label "]>", a tab, six characters of line text, a blank, "[" path
// "]": the tab stands this many characters before the path item's "[".
constexpr size_t TabLead = 8;

// True when the "[" at 0-based bracket opens the path item of a file entry: the label item
// "<[" ... "]>" on the same line, then the tab, the line text and the blank before it. A path
// found anywhere else ("$main [" path "]", a label, a command) has no line field.
bool IsEntryPath(std::string_view text, size_t bracket) {
  if (bracket < TabLead + 2 || text[bracket - 1] != ' ' || text[bracket - TabLead] != '\t' ||
      text.compare(bracket - TabLead - 2, 2, "]>") != 0)
    return false;
  size_t label = text.rfind("<[", bracket - TabLead - 2);
  return label != std::string_view::npos && text.find_first_of("\r\n", label) > bracket;
}

// 0-based offset of the line field of path in text, or npos: the first entry of the list
// whose path item is "[" path "]" (ignoring the case of A to Z).
size_t LineFieldOffset(std::string_view text, std::string_view path) {
  if (path.empty()) return std::string::npos;
  const std::string lower = LowerText(text);
  const std::string item = "[" + LowerText(path) + "]";
  for (size_t bracket = lower.find(item); bracket != std::string::npos; bracket = lower.find(item, bracket + 1))
    if (IsEntryPath(text, bracket)) return bracket - FieldLead;
  return std::string::npos;
}

// The line number at the start of the field: its leading digits; -1 when it begins with none.
int DigitsAt(std::string_view field) {
  int line = 0;
  size_t digits = 0;
  for (; digits < field.size() && field[digits] >= '0' && field[digits] <= '9'; ++digits)
    line = line * 10 + (field[digits] - '0');
  return digits == 0 ? -1 : line;
}
}  // namespace

std::string WithLineField(std::string_view text, std::string_view path, int line) {
  std::string result(text);
  size_t field = LineFieldOffset(text, path);
  if (field == std::string::npos) return result;
  std::string digits = "0000" + std::to_string(line);
  result.replace(field, FieldLength, digits.substr(digits.size() - FieldLength));
  return result;
}

int LineFieldOf(std::string_view text, std::string_view path) {
  size_t field = LineFieldOffset(text, path);
  if (field == std::string::npos) return -1;
  return DigitsAt(text.substr(field, FieldLength));
}
