// The project file's text.
#include "documents/ProjectText.h"
#include "base/TextScan.h"

namespace {
constexpr std::string_view FilesKey = "$files";
constexpr std::string_view CommandKey = "$command ";

std::string WithoutTrailingBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return std::string(text.substr(0, end));
}

void AddItem(std::vector<ProjectItem>& items, std::string name, std::string command) {
  if (items.size() < ProjectMenuLimit) items.push_back({std::move(name), std::move(command)});
}
}  // namespace

std::string FileEntry(std::string_view path) {
  return "<[" + NamePart(path) + "]>\t00001  [" + std::string(path) + "]\r\n";
}

std::string NewProjectText(std::string_view path) {
  std::string text = "$project\r\n$files\r\n";
  text += FileEntry(path);
  text += "\r\n$main [" + std::string(path) + "]\r\n\r\n$binary [" + StripExt(path) + "]\r\n\r\n";
  text += "$command Dir Example\r\n[\r\ndir\r\npause\r\n]\r\n\r\n";
  return text;
}

std::string WithFileList(std::string_view text, std::string_view path) {
  std::string result(text);
  if (!result.empty() && result.back() != '\n') result += "\r\n";
  return result + std::string(FilesKey) + "\r\n" + FileEntry(path);
}

std::string CloseWithoutListText(std::string_view failure) {
  return std::string(failure) + "\r\n\r\nThe project list was not saved. Close without saving it?";
}

bool InsertFileEntry(std::string& text, std::string_view path) {
  size_t files = text.find(FilesKey);
  if (files == std::string::npos) return false;
  size_t lineEnd = text.find("\r\n", files);
  if (lineEnd == std::string::npos) {
    // Without a line break after it, the entry still gets a line of its own below "$files".
    lineEnd = files + FilesKey.size();
    text.insert(lineEnd, "\r\n");
  }
  text.insert(lineEnd + 2, FileEntry(path));
  return true;
}

std::vector<ProjectItem> ProjectMenuItems(std::string_view text) {
  std::vector<ProjectItem> items;
  for (size_t at = text.find(CommandKey); at != std::string_view::npos; at = text.find(CommandKey, at)) {
    size_t nameStart = at + CommandKey.size();
    size_t open = text.find('[', nameStart);
    if (open == std::string_view::npos) {
      AddItem(items, "", "");
      at = nameStart;
      continue;
    }
    size_t close = text.find(']', open + 1);
    size_t bodyEnd = close == std::string_view::npos ? text.size() : close;
    AddItem(items, WithoutTrailingBlanks(text.substr(nameStart, open - nameStart)),
            std::string(text.substr(open + 1, bodyEnd - open - 1)));
    if (close == std::string_view::npos) break;  // the body ran to the end: no further commands
    at = close;
  }
  for (size_t at = text.find("<["); at != std::string_view::npos; at = text.find("<[", at)) {
    size_t close = text.find("]>", at);
    if (close == std::string_view::npos) break;
    AddItem(items, std::string(text.substr(at + 2, close - at - 2)), std::string(text.substr(at, close + 2 - at)));
    at = close;
  }
  return items;
}

std::string DollarForm(std::string_view name, std::string_view programDir) {
  if (programDir.empty() || name.substr(0, programDir.size()) != programDir) return std::string(name);
  return "$" + std::string(name.substr(programDir.size()));
}

bool IsShortcut(std::string_view name) {
  return name.size() >= 4 && LowerText(name.substr(name.size() - 4)) == ".lnk";
}
