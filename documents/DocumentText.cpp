// Names and texts of the document commands that need no window.
#include "documents/DocumentText.h"
#include <algorithm>
#include "base/TextScan.h"

std::string SavePromptText(std::string_view name) {
  return "Save " + std::string(name.empty() ? UntitledName : name);
}

std::string WithSourceExtension(std::string_view name) {
  std::string result(name);
  if (!result.empty() && result.find('.') == std::string::npos) result += SourceExtension;
  return result;
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

std::vector<std::string> ListedPaths(std::string_view list) {
  std::vector<std::string> paths;
  for (size_t at = list.find("<["); at != std::string_view::npos; at = list.find("<[", at + 2)) {
    int start = static_cast<int>(at) + 1 + 2;  // 1-based, inside the label behind "<["
    std::string path = ListedPathAt(list, start, start + 1);
    if (!path.empty()) paths.push_back(path);
  }
  return paths;
}

std::string ReplacePromptText(std::string_view path) {
  return std::string(path) + " already exists.\r\nDo you want to replace it?";
}

std::string TooLargeText(std::string_view path) {
  return "Cannot load " + std::string(path) + ": the file is too large to edit.";
}

std::string NulBytesText(std::string_view path) {
  return "Cannot load " + std::string(path) +
         ": the file holds NUL bytes, which the plain editor would drop (the editing component "
         "lib\\SciLexer.dll is missing).";
}
