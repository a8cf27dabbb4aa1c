// The names and reports of whole-file reading and writing.
#include "base/FileText.h"
#include <algorithm>
#include "base/TextScan.h"

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
