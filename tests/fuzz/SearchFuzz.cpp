// Fuzzes find and replace on strings and the word under the caret against slow references:
// a plain search on the lowered strings, a byte-by-byte replacement, and the word's bounds.
#include <fuzzer/FuzzedDataProvider.h>
#include <set>
#include "base/TextScan.h"
#include "editor/Search.h"
#include "language/WordAt.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The first occurrence at or after the 1-based start in the lowered strings, 1-based; 0 for none.
int ReferenceForward(int start, const std::string& text, const std::string& what) {
  if (start < 1 || what.empty()) return 0;
  size_t at = LowerText(text).find(LowerText(what), static_cast<size_t>(start - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

// The last occurrence beginning at or before start, with start read as FindLast reads it.
int ReferenceBackward(int start, const std::string& text, const std::string& what) {
  const int length = static_cast<int>(text.size());
  if (start < 0) start += length + 1;
  if (start == 0) start = length;
  start = std::clamp(start, 1, std::max(length, 1));
  if (what.empty()) return 0;
  size_t at = LowerText(text).rfind(LowerText(what), static_cast<size_t>(start - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

// Every occurrence (overlapping ones too), found stepping forward and stepping backward.
void CheckBothDirections(const std::string& text, const std::string& what) {
  std::set<int> forward, backward;
  for (int p = SearchText(1, text, what, false); p != 0; p = SearchText(p + 1, text, what, false)) {
    Require(forward.insert(p).second && forward.size() <= text.size(), "forward search moves on");
  }
  for (int p = FindLast(0, text, what); p != 0; p = p > 1 ? FindLast(p - 1, text, what) : 0) {
    Require(backward.insert(p).second && backward.size() <= text.size(), "backward search moves on");
  }
  Require(forward == backward, "both directions find the same occurrences");
}

// The replacement done slowly: occurrences that begin in [start, end), left to right, none
// overlapping, the replacement text never searched again.
void CheckReplace(const std::string& text, int start, int end, const std::string& what, const std::string& with) {
  RangeReplacement change = ReplaceInRange(text, start, end, what, with);
  const std::string lowText = LowerText(text), lowWhat = LowerText(what);
  std::string expected;
  int count = 0, first = 0, last = 0;
  size_t copied = 0;
  if (!what.empty() && start >= 1) {
    for (size_t at = static_cast<size_t>(start - 1); at + what.size() <= text.size() && static_cast<int>(at) + 1 < end;) {
      if (lowText.compare(at, what.size(), lowWhat) != 0) {
        ++at;
        continue;
      }
      if (count++ == 0) first = static_cast<int>(at) + 1;
      last = static_cast<int>(at + what.size()) + 1;
      expected.append(text, copied, at - copied).append(with);
      copied = at += what.size();
    }
  }
  Require(change.count == count, "as many replacements as the reference makes");
  if (count == 0) return;
  Require(change.from == first && change.to == last, "the replaced range is first to last occurrence");
  Require(change.from >= start && change.from < end, "the range begins inside the selection");
  expected.append(text, copied, std::string::npos);
  const std::string applied = text.substr(0, change.from - 1) + change.text + text.substr(change.to - 1);
  Require(applied == expected, "the replaced text equals the reference");
}

// The word around p: word characters only, bounded by non-word characters on both sides.
void CheckWordAt(const std::string& text, int at) {
  auto isWord = [](int c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '#' || c == '_' || c >= 127;
  };
  int p = at, end = -7, length = -7;
  std::string word = WordAt(text, p, end, length);
  if (!isWord(CodeAt(text, at))) {
    Require(p == at && end == at + 1 && length == 1, "a non-word character stands alone");
    Require(word.size() == (at >= 1 && at <= static_cast<int>(text.size()) ? 1u : 0u), "one character, none outside");
    return;
  }
  Require(p <= at && at < end && length == end - p, "the word holds the position");
  Require(word == text.substr(static_cast<size_t>(p - 1), static_cast<size_t>(length)), "the word is p..end");
  for (char c : word) Require(isWord(static_cast<unsigned char>(c)), "word characters only");
  Require(!isWord(CodeAt(text, p - 1)) && !isWord(CodeAt(text, end)), "the whole word");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int limit = static_cast<int>(size) + 3;
  const int start = in.ConsumeIntegralInRange<int>(-limit, limit);
  const int end = in.ConsumeIntegralInRange<int>(-limit, limit);
  const std::string what = in.ConsumeRandomLengthString(12);
  const std::string with = in.ConsumeRandomLengthString(12);
  const std::string text = in.ConsumeRemainingBytesAsString();

  Require(SearchText(start, text, what, false) == ReferenceForward(start, text, what), "forward search as the reference");
  Require(SearchText(start, text, what, true) == ReferenceBackward(start, text, what), "backward search as the reference");
  CheckBothDirections(text, what);
  CheckReplace(text, start, end, what, with);
  CheckReplace(text, 1, static_cast<int>(text.size()) + 1, what, with);
  CheckWordAt(text, start);
  return 0;
}
