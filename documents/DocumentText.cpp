// Names and texts of the document commands that need no window.
#include "documents/DocumentText.h"
#include "documents/TextScan.h"

std::string SavePromptText(std::string_view name) {
  return "Save " + std::string(name.empty() ? UntitledName : name);
}

std::string WithSourceExtension(std::string_view name) {
  std::string result(name);
  if (!result.empty() && result.find('.') == std::string::npos) result += SourceExtension;
  return result;
}

std::string TempNameBeside(std::string_view path, std::string_view tag) {
  size_t separator = path.find_last_of("\\/");
  std::string folder(separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1));
  return folder + "~zor" + std::string(tag) + ".tmp";
}

std::string WriteFailureText(std::string_view path, std::string_view reason) {
  return "Cannot write " + std::string(path) + "\r\n" + std::string(reason);
}

std::string ListedPathAt(std::string_view list, int start, int end) {
  // Brackets are the same in either case, so the item found in the list itself is the one
  // that a case-insensitive search would find.
  return LabelTarget(list, start, end);
}

std::string ListedPathOfKey(std::string_view list, std::string_view key) {
  if (key.empty()) return {};
  size_t found = LowerText(list).find(LowerText(key));
  if (found == std::string::npos) return {};
  int start = static_cast<int>(found) + 1 + 2;  // 1-based, inside the label behind "<["
  return ListedPathAt(list, start, start + 1);
}

std::string ReplacePromptText(std::string_view path) {
  return std::string(path) + " already exists.\r\nDo you want to replace it?";
}

std::string TooLargeText(std::string_view path) {
  return "Cannot load " + std::string(path) + ": the file is too large to edit.";
}
