// Case-insensitive search and replacement on strings.
#include "editor/Search.h"
#include <array>

namespace {

// A to Z folded to a to z; every other byte kept.
constexpr std::array<unsigned char, 256> MakeFold() {
  std::array<unsigned char, 256> fold{};
  for (int c = 0; c < 256; ++c) fold[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return fold;
}
constexpr std::array<unsigned char, 256> Fold = MakeFold();

unsigned char Folded(char c) { return Fold[static_cast<unsigned char>(c)]; }

bool MatchesAt(std::string_view text, size_t at, std::string_view what) {
  for (size_t i = 0; i < what.size(); ++i)
    if (Folded(text[at + i]) != Folded(what[i])) return false;
  return true;
}

// 0-based position of the first occurrence at or after from, or npos. A Horspool scan whose
// shift table is indexed by folded bytes, so it stays linear however the letters are cased.
size_t FindForward(std::string_view text, std::string_view what, size_t from) {
  const size_t n = what.size();
  if (n == 0 || n > text.size() || from > text.size() - n) return std::string_view::npos;
  std::array<size_t, 256> shift;
  shift.fill(n);
  for (size_t i = 0; i + 1 < n; ++i) shift[Folded(what[i])] = n - 1 - i;
  const unsigned char last = Folded(what[n - 1]);
  for (size_t at = from; at <= text.size() - n;) {
    unsigned char c = Folded(text[at + n - 1]);
    if (c == last && MatchesAt(text, at, what)) return at;
    at += shift[c];
  }
  return std::string_view::npos;
}

}  // namespace

int FindLast(int start, std::string_view text, std::string_view what) {
  const int length = static_cast<int>(text.size());
  if (start < 0) start += length + 1;
  if (start == 0) start = length;
  if (start < 1) start = 1;
  if (start > length) start = length;
  const int n = static_cast<int>(what.size());
  if (n == 0 || n > length) return 0;
  if (start > length - n + 1) start = length - n + 1;  // an occurrence must fit in the text
  const unsigned char first = Folded(what[0]);
  for (int p = start; p >= 1; --p)
    if (Folded(text[p - 1]) == first && MatchesAt(text, static_cast<size_t>(p - 1), what)) return p;
  return 0;
}

int SearchText(int start, std::string_view text, std::string_view what, bool backward) {
  if (backward) return FindLast(start, text, what);
  if (start < 1) return 0;
  size_t at = FindForward(text, what, static_cast<size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

RangeReplacement ReplaceInRange(std::string_view text, int start, int end, std::string_view what,
                                std::string_view with) {
  RangeReplacement result;
  if (what.empty() || start < 1) return result;
  auto inRange = [end](size_t at) { return at != std::string_view::npos && static_cast<int>(at) + 1 < end; };
  const size_t first = FindForward(text, what, static_cast<size_t>(start - 1));
  // A first pass finds the extent, so the result is made at its final size at once: a big
  // document then needs no room for a second, growing copy.
  size_t last = first;
  for (size_t at = first; inRange(at); at = FindForward(text, what, at + what.size())) {
    ++result.count;
    last = at;
  }
  if (result.count == 0) return result;
  result.from = static_cast<int>(first) + 1;
  result.to = static_cast<int>(last + what.size()) + 1;
  size_t replaced = static_cast<size_t>(result.to - result.from);
  result.text.reserve(replaced - result.count * what.size() + result.count * with.size());
  size_t copied = first;
  for (int i = 0; i < result.count; ++i) {
    size_t at = FindForward(text, what, copied);
    result.text.append(text.substr(copied, at - copied)).append(with);
    copied = at + what.size();
  }
  return result;
}
