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

namespace {
// The scratch name, or, when the file itself bears that name (ignoring case, as the file
// system does), the same name with another first character.
std::string OtherThan(std::string name, std::string_view path, size_t nameStart) {
  if (SameText(name, path)) name[nameStart] = name[nameStart] == '~' ? '_' : '~';
  return name;
}
}  // namespace

std::string TempNameBeside(std::string_view path, std::string_view tag) {
  size_t separator = path.find_last_of("\\/");
  size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
  std::string folder(path.substr(0, nameStart));
  std::string usual = folder + "~zor" + std::string(tag) + ".tmp";
  if (usual.size() <= LongestPath || tag.empty()) return OtherThan(usual, path, nameStart);
  size_t room = std::max<size_t>(path.size() - nameStart, 1);
  size_t kept = std::min(tag.size(), room > 1 ? room - 1 : 1);
  return OtherThan(folder + (room > 1 ? "~" : "") + std::string(tag.substr(tag.size() - kept)), path, nameStart);
}

std::string CaseTwinsText(std::string_view path, const std::vector<std::string>& names) {
  std::string text = "Cannot save " + WrapLongLine(path, 64) +
                     "\r\nThe folder holds more than one file of this name, in different letter case:";
  for (const std::string& name : names) text += "\r\n  " + name;
  return text + "\r\nNone of them was changed. Save under the exact name of one of them, or another name.";
}

bool IsScratchName(std::string_view name) {
  return name.size() > 8 && LowerText(name.substr(0, 4)) == "~zor" && LowerText(name.substr(name.size() - 4)) == ".tmp";
}

std::string LeftBehindText(std::string_view path, const std::vector<std::string>& names) {
  std::string text = "An earlier save that was interrupted left these files beside " + WrapLongLine(path, 64) + ":";
  for (const std::string& name : names) text += "\r\n  " + name;
  return text + "\r\nThey may hold text that was being saved then. Look at them, then delete them.";
}

std::string WrapLongLine(std::string_view text, size_t width) {
  if (width == 0) width = 1;  // a line of no characters would never end the text
  std::string wrapped;
  while (text.size() > width) {
    // A separator in the second half of the line is the place to break; else break at width.
    size_t cut = text.substr(0, width).find_last_of("\\/ ");
    cut = cut == std::string_view::npos || cut < width / 2 ? width : cut + 1;
    wrapped.append(text.substr(0, cut)).append("\r\n");
    text.remove_prefix(cut);
  }
  return wrapped.append(text);
}

std::string WriteFailureText(std::string_view path, std::string_view reason, std::string_view keptCopy) {
  std::string text = "Cannot write " + WrapLongLine(path, 64) + "\r\n" + std::string(reason);
  if (!keptCopy.empty()) text += "\r\nIts old content is kept in " + WrapLongLine(keptCopy, 64);
  return text;
}

std::string ReadFailureText(std::string_view path, std::string_view reason) {
  return "Cannot read " + std::string(path) + ": " + std::string(reason);
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
