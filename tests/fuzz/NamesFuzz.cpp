// Fuzzes the name finder: a source edited line range by line range must end with the same
// names, lines and scopes as the edited source read whole, and every name found must stand
// in the text of its line.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "editor/Completion.h"
#include "editor/Names.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else if (c != '\r') lines.back() += c;
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t n = 0; n < lines.size(); ++n) text += (n ? "\n" : "") + lines[n];
  return text;
}

std::string Described(const std::vector<Declaration>& names) {
  std::string out;
  for (const Declaration& d : names) {
    out += std::string(d.name) + "|" + std::string(d.type) + "|" + std::string(d.parameters) + "|" + std::string(d.text) +
           "|" + std::string(d.owner) + "|" + std::to_string(static_cast<int>(d.kind)) + "|" + std::to_string(d.line) +
           "|" + std::to_string(d.scopeFirst) + "|" + std::to_string(d.scopeLast) + "\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> lines = SplitLines(in.ConsumeRandomLengthString(4096));
  NameIndex index;
  ScanNames(index, Joined(lines));
  LineReader line = [&](int n) { return lines[static_cast<size_t>(n)]; };
  for (int edit = 0; edit < 8 && in.remaining_bytes() > 0; ++edit) {
    int first = in.ConsumeIntegralInRange<int>(0, static_cast<int>(lines.size()));
    int count = in.ConsumeIntegralInRange<int>(0, static_cast<int>(lines.size()) - first);
    std::vector<std::string> added = SplitLines(in.ConsumeRandomLengthString(256));
    if (in.ConsumeBool()) added.clear();
    lines.erase(lines.begin() + first, lines.begin() + first + count);
    lines.insert(lines.begin() + first, added.begin(), added.end());
    ChangeLines(index, first, count, static_cast<int>(added.size()), line);
  }
  NameIndex whole;
  ScanNames(whole, Joined(lines));
  std::vector<Declaration> names = GatherNames(index);
  Require(Described(names) == Described(GatherNames(whole)), "edited line by line, the names are those of the whole text");
  for (const Declaration& d : names) {
    Require(d.line >= 0 && static_cast<size_t>(d.line) < lines.size(), "a name's line is in the source");
    Require(!d.name.empty() && Contains(lines[static_cast<size_t>(d.line)], d.name), "a name stands on its line");
    Require(KnownAt(d, d.line), "a name is known where it is declared");
  }
  std::string call = in.ConsumeRemainingBytesAsString();
  Require(CurrentParameter(call) >= -1, "a call is at a parameter or closed");
  return 0;
}
