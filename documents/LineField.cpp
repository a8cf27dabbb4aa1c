// The remembered line of a file listed in the project text.
#include "documents/LineField.h"
#include "base/TextScan.h"

namespace {
constexpr size_t FieldLead = 6;   // the field begins this many characters before the "["
constexpr size_t FieldLength = 5;

// True when the "[" at 0-based bracket opens a label item "<[" ... "]>" of length size.
bool IsLabelItem(std::string_view text, size_t bracket, size_t size) {
  return bracket > 0 && text[bracket - 1] == '<' && bracket + size < text.size() && text[bracket + size] == '>';
}

// 0-based offset of the line field of path in text, or npos. A label item that reads like the
// path item (a path without a folder is its own label) is passed over: its field would be the
// end of the line before, which a write would overwrite.
size_t LineFieldOffset(std::string_view text, std::string_view path) {
  if (path.empty()) return std::string::npos;
  const std::string lower = LowerText(text);
  const std::string item = "[" + LowerText(path) + "]";
  size_t bracket = lower.find(item);
  while (bracket != std::string::npos && IsLabelItem(text, bracket, item.size())) bracket = lower.find(item, bracket + 1);
  if (bracket == std::string::npos || bracket < FieldLead) return std::string::npos;
  return bracket - FieldLead;
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
  return ReadNumber(text.substr(field, FieldLength));
}
