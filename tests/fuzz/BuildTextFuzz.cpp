// Fuzzes the insertion of the listing directive into a query: the user's text stays whole,
// line for line, and the directive stands where each mode puts it.
#include <fuzzer/FuzzedDataProvider.h>
#include "compiler/BuildText.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// what went in before p, the text around it unchanged; a short text is padded with blanks.
void CheckInsertAt(const std::string& text, int p, const std::string& what) {
  std::string changed = text;
  InsertAt(changed, p, what);
  const size_t at = p <= 1 ? 0 : static_cast<size_t>(p - 1);
  const size_t padded = std::max(text.size(), at);
  Require(changed.size() == padded + what.size(), "the text grows by the insertion and the padding");
  Require(changed.compare(at, what.size(), what) == 0, "the insertion stands before p");
  std::string rest = changed.erase(at, what.size());
  Require(rest.compare(0, text.size(), text) == 0, "the text around the insertion is kept");
  Require(rest.find_first_not_of(' ', text.size()) == std::string::npos, "the padding is blanks");
}

// Where the directive goes in text, given the 0-based index i of its first byte: at the start
// of a line (after a break, not inside a CR LF pair) or behind the end.
bool AtLineStart(const std::string& text, size_t i) {
  if (i == 0 || i >= text.size()) return true;
  return IsBreakCode(text[i - 1]) && !(text[i - 1] == '\r' && text[i] == '\n');
}

// True when query is text with directive inserted at a place that passes placed (the 0-based
// index in text), text padded with blanks when the directive went behind its end. Every
// occurrence is tried, so a text that holds the directive itself cannot mislead the check.
template <typename Placed>
bool InsertedOnce(const std::string& query, const std::string& text, const std::string& directive, Placed placed) {
  if (query.size() < text.size() + directive.size()) return false;
  for (size_t at = query.find(directive); at != std::string::npos; at = query.find(directive, at + 1)) {
    std::string kept = query;
    kept.erase(at, directive.size());
    if (kept.compare(0, text.size(), text) == 0 && kept.find_first_not_of(' ', text.size()) == std::string::npos &&
        (at <= text.size() || query.size() - directive.size() == at) && placed(at))
      return true;
  }
  return false;
}

// The caret positions come as the query takes them: 1-based, inside the text or just behind
// it, and for the "#show" mode on a character of the word it names (not on a line break).
void CheckDirective(const std::string& text, int mode, int start, int end, const std::string& word) {
  const std::string listing = "C:\\ide\\_.txt";
  std::string query = text;
  InsertListingDirective(query, mode, start, end, word, listing);
  if (mode == QueryShow) {
    if (IsBreakCode(text[static_cast<size_t>(start - 1)])) return;
    const std::string directive = "#show \"" + listing + "\" ";
    Require(query.size() == text.size() + directive.size(), "#show adds only itself");
    Require(InsertedOnce(query, text, directive,
                         [&](size_t at) { return at < static_cast<size_t>(start) && AtLineStart(text, at); }),
            "#show starts the caret's line and the text stays whole");
    return;
  }
  if (mode != QueryList && mode != QueryRecord) {
    Require(query == text, "mode 3 inserts nothing");
    return;
  }
  const std::string directive =
      "\r\n" + std::string(mode == QueryList ? "#list " : "#recordof ") + "\"" + listing + "\" " + word + "\r\n";
  Require(InsertedOnce(query, text, directive,
                       [&](size_t at) { return at + 1 >= static_cast<size_t>(end) && AtLineStart(text, at); }),
          "the directive follows the caret's line and every line of the query stays whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Positions reach a few kilobytes past the end of the text: far enough for the padding, near
  // enough that no single input asks for gigabytes.
  const int p = in.ConsumeIntegralInRange<int>(INT_MIN, static_cast<int>(size) + 4096);
  const int mode = in.ConsumeIntegralInRange(0, 3);
  const std::string word = in.ConsumeRandomLengthString(16);
  const std::string what = in.ConsumeRandomLengthString(16);
  const int caret = in.ConsumeIntegral<int>();
  // The query goes to the library as a zero-terminated string, so a zero byte ends it there
  // and the scanners stop at one as at the end: the texts here hold none.
  std::string text = in.ConsumeRemainingBytesAsString();
  std::erase(text, '\0');

  CheckInsertAt(text, p, what);
  const int length = static_cast<int>(text.size());
  const int end = 1 + static_cast<int>(static_cast<unsigned>(caret) % static_cast<unsigned>(length + 1));
  CheckDirective(text, mode == QueryShow ? QueryList : mode, 1, end, word);
  if (length > 0) CheckDirective(text, QueryShow, end > length ? length : end, end, word);
  if (mode == 3) CheckDirective(text, 3, end, end, word);
  return 0;
}
