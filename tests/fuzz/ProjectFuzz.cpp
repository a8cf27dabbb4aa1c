// Fuzzes the project-text readers and writers: the Project menu read from any text, the entry a
// dropped file adds, a new project's text, the "$" form of names and the remembered line field.
#include <fuzzer/FuzzedDataProvider.h>
#include <algorithm>
#include "base/TextScan.h"
#include "documents/DocumentText.h"
#include "documents/LineField.h"
#include "documents/ProjectText.h"
#include "shell/ShellState.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// Label items "<[" label "]>" found the slow way, each search going on from the item's end.
size_t LabelItemCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = text.find("<["); at != std::string_view::npos; at = text.find("<[", at + 2)) {
    size_t close = text.find("]>", at);
    if (close == std::string_view::npos) break;
    ++count;
    at = close;
  }
  return count;
}

void CheckMenu(std::string_view text) {
  const std::vector<ProjectItem> items = ProjectMenuItems(text);
  Require(items.size() <= ProjectMenuLimit, "at most 100 menu items");
  for (const ProjectItem& item : items) {
    const bool fileItem = item.command == "<[" + item.name + "]>";
    Require(Contains(text, item.command), "a command is part of the text");
    if (fileItem) continue;
    Require(item.name.empty() || static_cast<unsigned char>(item.name.back()) > 32, "a name has no trailing blank");
    Require(item.command.find(']') == std::string::npos, "a command body ends at the first ]");
  }
  if (!Contains(text, "$command ")) {
    Require(items.size() == std::min(ProjectMenuLimit, LabelItemCount(text)), "one item per label item");
    for (const ProjectItem& item : items) Require(item.command == "<[" + item.name + "]>", "a file item runs its label item");
  }
}

// The entry goes on the line after "$files" and every byte of the old text stays.
void CheckInsert(const std::string& old, const std::string& path) {
  std::string text = old;
  const bool done = InsertFileEntry(text, path);
  const size_t files = old.find("$files");
  Require(done == (files != std::string::npos), "an entry is added exactly when there is a $files");
  if (!done) {
    Require(text == old, "no $files leaves the text alone");
    return;
  }
  const std::string entry = FileEntry(path);
  const size_t at = text.find("\r\n", files) + 2;
  Require(text.compare(at, entry.size(), entry) == 0, "the entry stands on the line after $files");
  std::string kept = text;
  kept.erase(at, entry.size());
  const bool brokeLine = old.find("\r\n", files) == std::string::npos;
  if (brokeLine) kept.erase(files + 6, 2);
  Require(kept == old, "every byte of the old text is kept");
  Require(ProjectMenuItems(text).size() <= ProjectMenuLimit, "the menu stays bounded");
}

// A path the project format carries: a Windows file path (no control character or < > " | ? *),
// no brackets (the items are bracket groups), no key of the format inside it, and a file name.
bool ProjectPath(std::string_view path) {
  if (path.empty() || path.find_first_of("<>\"|?*[]") != std::string_view::npos) return false;
  for (char c : path)
    if (static_cast<unsigned char>(c) < 32) return false;
  if (Contains(path, "$command ") || Contains(path, "$main ") || Contains(path, "$binary ")) return false;
  return !NamePart(path).empty();
}

void CheckNewProject(const std::string& path) {
  if (!ProjectPath(path)) return;
  const std::string text = NewProjectText(path);
  const std::string label = NamePart(path);
  Require(ValueAfterKey(text, "$main ") == path, "the main file reads back");
  Require(ValueAfterKey(text, "$binary ") == StripExt(path), "the output name reads back");
  Require(ListedPathOfKey(text, "<[" + label + "]>") == path, "the listed file reads back");
  Require(LineFieldOf(text, path) == 1, "a new entry remembers line 1");
  const std::vector<ProjectItem> expected = {{"Dir Example", "\r\ndir\r\npause\r\n"}, {label, "<[" + label + "]>"}};
  Require(ProjectMenuItems(text) == expected, "a new project's menu");
}

// The "$" form is undone by expanding the name again, and the line field keeps the text's size.
void CheckNames(const std::string& text, const std::string& name, const std::string& folder, int line) {
  ProgramDir = folder;
  const std::string dollar = DollarForm(name, folder);
  if (name.empty() || name[0] != '$' || dollar != name) Require(ExpandPath(dollar) == name, "the $ form expands back");

  const std::string marked = WithLineField(text, name, line);
  Require(marked.size() == text.size(), "the line field keeps the size of the text");
  if (name.empty() || !Contains(LowerText(text), "[" + LowerText(name) + "]")) {
    Require(marked == text && LineFieldOf(text, name) == -1, "no entry, no change");
    return;
  }
  if (marked == text && LineFieldOf(text, name) == -1) return;  // no room for a field before it
  size_t changed = 0;
  for (size_t i = 0; i < text.size(); ++i) changed += marked[i] != text[i];
  Require(changed <= 5, "only the five field characters change");
  // In a damaged list a field can overlap the item before it; where the digits overwrote no
  // bracket, the items are the same and the line must read back.
  auto brackets = [](const std::string& t) { return std::count_if(t.begin(), t.end(), [](char c) { return c == '[' || c == ']' || c == '<' || c == '>'; }); };
  if (line >= 0 && brackets(marked) == brackets(text)) Require(LineFieldOf(marked, name) == line % 100000, "the line reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int line = in.ConsumeIntegral<int>();
  const std::string path = in.ConsumeRandomLengthString(40);
  const std::string folder = in.ConsumeRandomLengthString(16);
  const std::string text = in.ConsumeRemainingBytesAsString();

  CheckMenu(text);
  CheckInsert(text, path);
  CheckNewProject(path);
  CheckNewProject(folder + "\\" + path);
  CheckNames(text, path, folder, line);
  CheckNames(text, folder + path, folder, line);
  return 0;
}
