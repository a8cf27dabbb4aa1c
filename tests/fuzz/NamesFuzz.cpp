// Fuzzes the name finder: a source with CR LF, LF and lone CR line ends, edited line range by
// line range, must end with the same names, lines and scopes as the edited source read whole;
// the names gathered before an edit that changed no declaration, moved with it, must be the
// names gathered after it; every name found must stand on its line; and the parameter a call
// is at only grows as the call is typed on, never comes back once the call is closed, and
// counts the items of a plain list.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "language/Completion.h"
#include "language/Names.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The lines of text as the name finder splits them: at CR LF, LF or a lone CR.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;  // the LF ends it
    if (text[k] == '\n' || text[k] == '\r') lines.emplace_back();
    else lines.back() += text[k];
  }
  return lines;
}

// The lines joined with line ends taken from the input: LF, CR LF or CR, but never a CR that
// an empty line's LF behind it would turn into one CR LF.
std::string Joined(const std::vector<std::string>& lines, FuzzedDataProvider& in) {
  static const char* const ends[] = {"\n", "\r\n", "\r"};
  std::vector<std::string> chosen;
  for (size_t n = 0; n + 1 < lines.size(); ++n) chosen.push_back(ends[in.ConsumeIntegralInRange<int>(0, 2)]);
  for (size_t n = 0; n + 1 < chosen.size(); ++n)
    if (chosen[n] == "\r" && lines[n + 1].empty() && chosen[n + 1][0] == '\n') chosen[n] = "\r\n";
  std::string text;
  for (size_t n = 0; n < lines.size(); ++n) text += (n ? chosen[n - 1] : "") + lines[n];
  return text;
}

std::string Described(const std::vector<Declaration>& names) {
  std::string out;
  for (const Declaration& d : names) {
    out += std::string(d.name) + "|" + std::string(d.type) + "|" + std::string(d.parameters) + "|" + std::string(d.owner) +
           "|" + std::to_string(static_cast<int>(d.kind)) + "|" + std::to_string(d.line) + "|" +
           std::to_string(d.scopeFirst) + "|" + std::to_string(d.scopeLast) + "\n";
  }
  return out;
}

void CheckParameters(const std::string& call, FuzzedDataProvider& in) {
  int before = 0;
  size_t commas = 0;
  for (size_t length = 0; length <= call.size(); ++length) {
    const int k = CurrentParameter(std::string_view(call).substr(0, length));
    if (length > 0 && call[length - 1] == ',') ++commas;
    Require(k >= -1 && (k < 0 || static_cast<size_t>(k) <= commas), "a call is at one of its commas' parameters or closed");
    Require(before != -1 || k == -1, "a closed call stays closed as the text goes on");
    Require(k == -1 || k >= before, "the parameter never goes back as the text goes on");
    before = k;
  }
  // A list of plain words: the caret behind it is at its last item, and each item is found.
  std::vector<std::string> words;
  for (int n = in.ConsumeIntegralInRange<int>(1, 6); n > 0; --n)
    words.push_back(std::string(static_cast<size_t>(in.ConsumeIntegralInRange<int>(1, 4)), static_cast<char>('a' + n)));
  std::string list;
  for (size_t n = 0; n < words.size(); ++n) list += (n ? ", " : "") + words[n];
  Require(CurrentParameter(list) == static_cast<int>(words.size()) - 1, "the caret behind a list is at its last item");
  for (size_t n = 0; n < words.size(); ++n) {
    size_t first = 0, last = 0;
    Require(ParameterRange(list, static_cast<int>(n), first, last) && list.substr(first, last - first) == words[n],
            "each item of a list is where it stands");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string source = in.ConsumeRandomLengthString(4096);
  std::vector<std::string> lines = SplitLines(source);
  NameIndex index;
  ScanNames(index, source);
  Require(index.lines.size() == lines.size(), "one entry a line, whatever its line end");
  LineReader line = [&](int n) { return lines[static_cast<size_t>(n)]; };
  for (int edit = 0; edit < 8 && in.remaining_bytes() > 0; ++edit) {
    int first = in.ConsumeIntegralInRange<int>(0, static_cast<int>(lines.size()));
    int count = in.ConsumeIntegralInRange<int>(0, static_cast<int>(lines.size()) - first);
    std::vector<std::string> added = SplitLines(in.ConsumeRandomLengthString(256));
    if (in.ConsumeBool()) added.clear();
    const NameIndex kept = index;  // the names gathered before the edit keep their texts there
    std::vector<Declaration> names = GatherNames(kept);
    const EditedLines before = LinesBeforeEdit(index, first, count);
    lines.erase(lines.begin() + first, lines.begin() + first + count);
    lines.insert(lines.begin() + first, added.begin(), added.end());
    ChangeLines(index, first, count, static_cast<int>(added.size()), line);
    if (MoveGatheredNames(names, before, index, static_cast<int>(added.size())))
      Require(Described(names) == Described(GatherNames(index)), "names moved by an edit are the names gathered after it");
  }
  NameIndex whole;
  ScanNames(whole, Joined(lines, in));
  std::vector<Declaration> names = GatherNames(index);
  Require(Described(names) == Described(GatherNames(whole)), "edited line by line, the names are those of the whole text");
  for (const Declaration& d : names) {
    Require(d.line >= 0 && static_cast<size_t>(d.line) < lines.size(), "a name's line is in the source");
    Require(!d.name.empty() && Contains(lines[static_cast<size_t>(d.line)], d.name), "a name stands on its line");
    Require(KnownAt(d, d.line), "a name is known where it is declared");
  }
  CheckParameters(in.ConsumeRandomLengthString(256), in);
  return 0;
}
