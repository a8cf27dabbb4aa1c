// Fuzzes the byte-string scanners, the path parts, the names files are known by and the
// command-line tail: each result is a piece of the text where the scanner says it is,
// positions move only the way they promise, and numbers read as a slow reference reads them.
#include <fuzzer/FuzzedDataProvider.h>
#include <algorithm>
#include <climits>
#include "base/TextScan.h"
#include "compiler/CommandLine.h"
#include "zorbasic/Source.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool IsBlankCode(int c) { return c >= 1 && c <= 32; }

// True when part stands in text at the 1-based position first.
bool StandsAt(std::string_view text, int first, std::string_view part) {
  if (first < 1 || static_cast<size_t>(first - 1) + part.size() > text.size()) return false;
  return text.substr(static_cast<size_t>(first - 1), part.size()) == part;
}

// Every word of the text in turn: each one ends where pos stops, holds no zero byte and no
// leading blank, and the scan ends within one step per byte.
void CheckWords(std::string_view text) {
  int pos = 1;
  for (size_t steps = 0;; ++steps) {
    Require(steps <= text.size() + 1, "the word scan ends");
    const int before = pos;
    std::string word = ReadWord(text, pos);
    if (word.empty()) break;
    Require(pos > before, "a word moves pos on");
    Require(StandsAt(text, pos - static_cast<int>(word.size()), word), "a word ends at pos");
    Require(!IsBlankCode(static_cast<unsigned char>(word[0])), "no word starts with a blank");
    Require(word.find('\0') == std::string::npos, "no word holds a zero byte");
  }
}

// A value read at pos: a bracket group's content right behind its opening bracket, or the
// rest of the text; pos never moves back and stays inside the text.
void CheckGroup(std::string_view text, int pos) {
  int at = pos < 1 ? 1 : pos;
  const int open = SkipBlanks(text, at);
  int moved = pos;
  std::string value = ReadGroup(text, moved);
  Require(moved >= at, "a value moves pos on");
  if (at <= static_cast<int>(text.size()) + 1) Require(moved <= static_cast<int>(text.size()) + 1, "pos stays in the text");
  const bool bracketed = open == '(' || open == '<' || open == '[' || open == '{';
  if (!value.empty()) Require(StandsAt(text, bracketed ? at + 1 : at, value), "a value is where it was read");
}

void CheckBracket(std::string_view text, int at) {
  int start = at, end = -7, length = -7;
  std::string item = BracketAt(text, start, end, length);
  if (end == -7) {
    Require(item.empty() && start == at && length == -7, "no item leaves the positions alone");
    return;
  }
  Require(CodeAt(text, start - 1) == '[', "an item follows its [");
  Require(start - 1 <= at, "the [ is at or before the start");
  Require(CodeAt(text, end) == ']' || end == static_cast<int>(text.size()) + 1 || CodeAt(text, end) == 0,
          "an item ends at ] or at the end");
  Require(length == end - start && static_cast<int>(item.size()) == length && (item.empty() || StandsAt(text, start, item)),
          "the item is start..end");
  Require(item.find(']') == std::string::npos, "no ] inside an item");
  std::string target = LabelTarget(text, at, at);
  Require(Contains(text, target), "a label's target is part of the text");
}

// The number at the start of text, read digit by digit with the fraction compared as a string
// against one half.
int ReferenceNumber(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && IsBlankCode(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  auto isDigit = [&](size_t p) { return p < text.size() && text[p] >= '0' && text[p] <= '9'; };
  std::string whole, fraction;
  while (isDigit(at)) whole += text[at++];
  if (at < text.size() && text[at] == '.' && isDigit(at + 1))
    for (++at; isDigit(at); ++at) fraction += text[at];
  if (whole.empty() && fraction.empty()) return 0;
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() > 11) return negative ? INT_MIN : INT_MAX;
  long long value = whole.empty() ? 0 : std::stoll(whole);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (fraction > "5" || (fraction == "5" && value % 2 == 1)) ++value;
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void CheckNumbers(std::string_view text, int n) {
  Require(ReadNumber(text) == ReferenceNumber(text), "numbers read as the reference reads them");
  Require(ReadNumber(std::to_string(n)) == n, "every int reads back");
}

void CheckPath(std::string_view path, std::string_view folder) {
  Require(StripExt(path) + ExtPart(path) == path, "name and extension make the path");
  const std::string ext = ExtPart(path);
  Require(ext.empty() || (ext[0] == '.' && ext.find('.', 1) == std::string::npos), "an extension is the last . on");
  const std::string name = NamePart(path), dir = DirPart(path);
  Require(name.find_first_of("\\/") == std::string::npos, "a name has no separator");
  if (path.find_first_of("\\/") == std::string_view::npos) {
    Require(name == path && dir == path, "a bare name is its own folder and name");
  } else {
    Require(dir.size() + 1 + name.size() == path.size() && path.substr(0, dir.size()) == dir && EndsWith(path, name),
            "folder, separator and name make the path");
  }
  const std::string joined = PathInFolder(folder, path);
  Require(EndsWith(joined, path), "a path taken inside a folder ends with it");
  Require(joined == path || joined.substr(0, folder.size()) == folder, "a path inside a folder starts with it");
  const std::string quoted = Unquote(path);
  Require(quoted == path || (path.size() >= 2 && quoted == path.substr(1, path.size() - 2)) || (quoted.empty() && path.size() <= 2),
          "unquoting drops one pair of quotes at most");
}

// A file's name as the IDE and the compile tool tell files apart: resolving twice changes
// nothing, no "." or ".." part is left below a root, "/" is gone, and for a full path both
// programs give the same key. Adding "x/.." or "./" before the name's last part names the
// same file.
void CheckFileKey(std::string_view path) {
  const std::string normal = NormalPath(path), key = FileNameKey(path);
  Require(NormalPath(normal) == normal && FileNameKey(key) == key, "a resolved name resolves to itself");
  Require(normal.find('/') == std::string::npos && key.size() == normal.size(), "separators are one kind, case is folded in place");
  const bool full = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  if (full) {
    for (size_t p = 3; p < normal.size();) {
      const size_t end = std::min(normal.find('\\', p), normal.size());
      const std::string_view part = std::string_view(normal).substr(p, end - p);
      Require(!part.empty() && part != "." && part != "..", "no empty, . or .. part is left in a full path");
      p = end + 1;
    }
    Require(zb::FileKey(std::string(path)) == key, "the compile tool knows the file by the same key");
    const size_t cut = normal.find_last_of('\\');
    if (cut > 2 && cut + 1 < normal.size() && normal.compare(cut + 1, std::string::npos, "..") != 0) {
      const std::string detour = normal.substr(0, cut) + "\\sub/.\\..\\" + normal.substr(cut + 1);
      Require(FileNameKey(detour) == key, "a detour through a folder and back names the same file");
    }
  }
}

// The command line without its program: a tail of the line that does not start with a blank,
// the part before it blanks, one program token and blanks.
void CheckCommandTail(std::string_view line) {
  const std::string tail = CommandTailOf(line);
  Require(EndsWith(line, tail), "the tail ends the command line");
  if (!tail.empty()) Require(!IsBlankCode(static_cast<unsigned char>(tail[0])), "the tail starts after the blanks");
  std::string_view program = line.substr(0, line.size() - tail.size());
  size_t first = 0;
  while (first < program.size() && IsBlankCode(static_cast<unsigned char>(program[first]))) ++first;
  program.remove_prefix(first);
  size_t last = program.size();
  while (last > 0 && IsBlankCode(static_cast<unsigned char>(program[last - 1]))) --last;
  program = program.substr(0, last);
  if (!program.empty() && program[0] == '"') {
    Require(program.find('"', 1) == std::string_view::npos || program.find('"', 1) == program.size() - 1,
            "a quoted program ends at its closing quote");
  } else {
    for (char c : program) Require(static_cast<unsigned char>(c) > 32, "an unquoted program has no blank");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int at = in.ConsumeIntegralInRange<int>(-2, static_cast<int>(size) + 2);
  const int n = in.ConsumeIntegral<int>();
  const std::string key = in.ConsumeRandomLengthString(8);
  const std::string text = in.ConsumeRemainingBytesAsString();

  CheckWords(text);
  CheckGroup(text, at);
  Require(Contains(text, ValueAfterKey(text, key, at)), "a value after a key is part of the text");
  CheckBracket(text, at);
  CheckNumbers(text, n);
  CheckPath(text, key);
  CheckFileKey(text);
  CheckCommandTail(text);
  int blanks = at;
  const int stop = SkipBlanks(text, blanks);
  Require(stop == CodeAt(text, blanks) && blanks >= at && !IsBlankCode(stop), "blanks are skipped up to a non-blank");
  return 0;
}
