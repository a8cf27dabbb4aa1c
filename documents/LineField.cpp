// The remembered line of a file listed in the project text.
#include "documents/LineField.h"
#include "documents/TextScan.h"

namespace {
constexpr size_t FieldLead = 6;   // the field begins this many characters before the "["
constexpr size_t FieldLength = 5;

// 0-based offset of the line field of path in text, or npos.
size_t LineFieldOffset(std::string_view text, std::string_view path) {
  if (path.empty()) return std::string::npos;
  size_t bracket = LowerText(text).find("[" + LowerText(path) + "]");
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
