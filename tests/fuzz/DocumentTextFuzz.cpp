// Fuzzes the document texts that take outside names: the scratch name beside a file, the
// wrapping of long paths in messages and the lookup of a listed file in the project list.
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>
#include "base/TextScan.h"
#include "base/FileText.h"
#include "documents/DocumentText.h"
#include "documents/ProjectText.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The scratch file is another file in the same folder, and never longer than the path when
// the usual name would be too long for the system. The comparison ignores letter case, as
// the file system does.
void CheckTempName(const std::string& path, const std::string& tag) {
  const std::string temp = TempNameBeside(path, tag);
  const std::string name = NamePart(path);
  const std::string folder = path.substr(0, path.size() - name.size());
  Require(temp.compare(0, folder.size(), folder) == 0, "the scratch file is in the file's folder");
  Require(NamePart(temp) == temp.substr(folder.size()), "the scratch name is a plain name");
  if (name.empty()) return;  // a folder, not a file: nothing is saved there
  Require(!SameText(temp, path), "the scratch file is not the file itself");
  if (folder.size() + 4 + tag.size() + 4 > LongestPath && !tag.empty())
    Require(temp.size() <= path.size(), "a long path's scratch name is no longer than the path");
}

// Taking the CR LF pairs out gives the text back, and no line is longer than the width.
void CheckWrap(const std::string& text, size_t width) {
  if (Contains(text, "\r\n")) return;
  const std::string wrapped = WrapLongLine(text, width);
  std::string joined;
  for (size_t lineStart = 0;;) {
    const size_t next = wrapped.find("\r\n", lineStart);
    const size_t stop = next == std::string::npos ? wrapped.size() : next;
    Require(stop - lineStart <= std::max<size_t>(width, 1), "no line is longer than the width");
    joined.append(wrapped, lineStart, stop - lineStart);
    if (next == std::string::npos) break;
    lineStart = next + 2;
  }
  Require(joined == text, "the wrapped text without its breaks is the text");
}

// A list of entries for the fuzzer's paths: every label finds the path of the first entry with
// that label, whatever its letter case; any position in any text finds a piece of that text.
void CheckListed(const std::vector<std::string>& paths, const std::string& text, int start, int end) {
  std::string list = "$project\r\n$files\r\n";
  for (const std::string& path : paths) list += FileEntry(path);
  for (const std::string& path : paths) {
    const std::string key = "<[" + NamePart(path) + "]>";
    std::string first;
    for (const std::string& other : paths)
      if (SameText(NamePart(other), NamePart(path))) {
        first = other;
        break;
      }
    Require(ListedPathOfKey(list, key) == first, "a label finds its listed path");
    Require(ListedPathOfKey(list, LowerText(key)) == first, "a label in any case finds its path");
  }
  Require(Contains(text, ListedPathAt(text, start, end)), "a listed path is part of the list");
  Require(Contains(text, ListedPathOfKey(text, text.substr(0, text.size() / 8))), "a path for a key is part of the list");
}

// A listed path: a Windows file path without brackets, with a file name.
bool ListedPath(const std::string& path) {
  if (path.empty() || path.find_first_of("<>\"|?*[]") != std::string::npos) return false;
  for (char c : path)
    if (static_cast<unsigned char>(c) < 32) return false;
  return !NamePart(path).empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const size_t width = in.ConsumeIntegralInRange<size_t>(0, 300);
  const int start = in.ConsumeIntegralInRange<int>(-2, static_cast<int>(size) + 2);
  const int end = in.ConsumeIntegralInRange<int>(-2, static_cast<int>(size) + 2);
  std::string tag = in.ConsumeRandomLengthString(24);
  std::erase_if(tag, [](char c) { return c == '\\' || c == '/'; });  // the tag is a plain name part
  const size_t pad = in.ConsumeIntegralInRange<size_t>(0, 300);
  std::vector<std::string> paths;
  for (int i = in.ConsumeIntegralInRange(0, 4); i > 0; --i) {
    std::string path = in.ConsumeRandomLengthString(40);
    if (ListedPath(path)) paths.push_back(path);
  }
  const std::string text = in.ConsumeRemainingBytesAsString();

  CheckTempName(text, tag);
  CheckTempName(std::string(pad, 'd') + "\\" + text, tag);
  CheckWrap(text, width);
  CheckListed(paths, text, start, end);
  return 0;
}
