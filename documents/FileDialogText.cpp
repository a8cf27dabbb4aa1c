// The byte-level parts of the Open and Save As dialogs.
#include "documents/FileDialogText.h"

std::string DefaultFilterList() {
  static constexpr std::string_view pairs[][2] = {
      {"all files", "*.*"}, {"text", "*.txt"}, {"basic", "*.bas;*.q9bas"},
      {"include", "*.inc"}, {"header", "*.h"}};
  std::string list;
  for (const auto& pair : pairs) {
    list.append(pair[0]).push_back('\0');
    list.append(pair[1]).push_back('\0');
  }
  list.push_back('\0');
  return list;
}

std::string FilterListOrDefault(std::string_view filter) {
  return filter.empty() ? DefaultFilterList() : std::string(filter);
}

std::string DialogNameBuffer(std::string_view initialName) {
  std::string buffer(DialogNameSize, '\0');
  if (initialName.size() < static_cast<size_t>(DialogNameSize)) buffer.replace(0, initialName.size(), initialName);
  return buffer;
}

std::string NameFromBuffer(std::string_view buffer) {
  return std::string(buffer.substr(0, buffer.find('\0')));
}

const char* DialogTitle(bool saveMode) {
  return saveMode ? "Save File as" : "Load File";
}
