// Benchmark of the name finder on a 10 MB source, under Wine: reading every line, gathering
// the names with their scopes, the lines a typed key, an Enter and an opened comment make it
// read again, the gathered names moved along with an Enter instead of gathered again, and the
// completion list's names for three letters. Each figure is the median of
// several runs, beside the time of one plain copy of the text.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "language/Completion.h"
#include "language/Names.h"

namespace {

// A program of subs, each with a few declarations, assignments, calls, strings and comments.
std::string Block(int n) {
  const std::string k = std::to_string(n);
  return "' part " + k + ": a sub with its own names\r\n"
         "type rec" + k + "\r\n  x as int\r\n  name as string\r\nend type\r\n"
         "dim shared" + k + " as rec" + k + "\r\n"
         "sub work" + k + "(count as int, byref label as string)\r\n"
         "  dim total as float, v(10) as int\r\n"
         "  for i = 1 to count\r\n"
         "    total = total + v(i) * 2 ' running sum\r\n"
         "    label = label & \"item, \" & str(i) ; dim not_this as int\r\n"
         "  next\r\n"
         "  /* a comment over\r\n     two lines: dim neither as int */\r\n"
         "  print \"total: \"; total\r\n"
         "end sub\r\n"
         "result" + k + " = 0\r\n";
}

std::string Source(size_t size) {
  std::string text;
  text.reserve(size + 1000);
  for (int n = 0; text.size() < size; ++n) text += Block(n);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t p = 0;
  for (size_t e; (e = text.find("\r\n", p)) != std::string::npos; p = e + 2) lines.push_back(text.substr(p, e - p));
  lines.push_back(text.substr(p));
  return lines;
}

template <typename Step>
double Median(int runs, Step step) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    double t = Seconds();
    step(r);
    times.push_back(Seconds() - t);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Report(const char* what, double seconds, double copy) {
  std::printf("%-66s %9.3f ms  %7.1f copies\n", what, seconds * 1000.0, seconds / copy);
}

}  // namespace

int main() {
  const std::string text = Source(10 * 1024 * 1024);
  std::vector<std::string> lines = Lines(text);
  const double copy = Median(5, [&](int) {
    std::string again = text;
    if (again.size() != text.size()) std::abort();
  });
  NameIndex index;
  const double scan = Median(5, [&](int) { ScanNames(index, text); });
  std::vector<Declaration> names;
  const double gather = Median(5, [&](int) { names = GatherNames(index); });
  std::printf("10 MB source: %zu bytes, %zu lines, %zu declarations\n", text.size(), lines.size(), names.size());
  Report("reading every line (ScanNames)", scan, copy);
  Report("gathering the names with their scopes (GatherNames)", gather, copy);
  std::printf("  peak memory: %.0f MB for a %.0f MB source\n", PeakMemory() / 1048576.0, text.size() / 1048576.0);

  LineReader line = [&](int n) { return lines[static_cast<size_t>(n)]; };
  const int middle = static_cast<int>(lines.size() / 2);
  const double key = Median(101, [&](int r) {
    lines[middle] += r % 2 ? "x" : "";
    ChangeLines(index, middle, 1, 1, line);
  });
  Report("a key typed in the middle line (one line read again)", key, copy);
  const double enter = Median(21, [&](int) {
    lines.insert(lines.begin() + middle, "dim added as int");
    ChangeLines(index, middle, 0, 1, line);
    lines.erase(lines.begin() + middle);
    ChangeLines(index, middle, 1, 0, line);
  });
  Report("a line added and removed in the middle (the rest move)", enter / 2, copy);
  const double comment = Median(3, [&](int) {
    lines[0] = "/* " + lines[0];
    ChangeLines(index, 0, 1, 1, line);
    lines[0] = lines[0].substr(3);
    ChangeLines(index, 0, 1, 1, line);
  });
  Report("\"/*\" typed on the first line and taken away (read to the next */)", comment / 2, copy);

  // An Enter at the end of the middle line, and a line of statements deleted there again: the
  // gathered names follow without being gathered again.
  const NameIndex kept = index;  // the gathered names' texts stay there while the index changes
  std::vector<Declaration> moved = GatherNames(kept);
  bool followed = true;
  const double follow = Median(21, [&](int) {
    EditedLines before = LinesBeforeEdit(index, middle, 1);
    lines.insert(lines.begin() + middle + 1, "");
    ChangeLines(index, middle, 1, 2, line);
    followed = MoveGatheredNames(moved, before, index, 2) && followed;
    before = LinesBeforeEdit(index, middle, 2);
    lines.erase(lines.begin() + middle + 1);
    ChangeLines(index, middle, 2, 1, line);
    followed = MoveGatheredNames(moved, before, index, 1) && followed;
  });
  Report("an Enter and its line taken away, the gathered names moved along", follow / 2, copy);
  if (!followed) std::printf("  FOLLOW CHECK FAILED: the names were to be gathered again\n");

  names = GatherNames(index);
  std::vector<std::string_view> words;
  words.reserve(names.size());
  for (const Declaration& d : names) words.push_back(d.name);
  size_t shown = 0;
  const double complete = Median(11, [&](int) { shown = NamesStartingWith(words, "wor").size(); });
  Report("the completion list's names for \"wor\" among all declarations", complete, copy);
  std::printf("  %zu names shown\n", shown);
  return 0;
}
