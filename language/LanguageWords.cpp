// The words of the language that completion offers. The
// language's keywords come from the compile tool's own table, so the two never disagree.
#include "language/LanguageWords.h"
#include <algorithm>
#include "base/TextScan.h"
#include "zorbasic/Lexer.h"

namespace {
bool Listed(const std::vector<std::string>& words, std::string_view word) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& w) { return SameText(w, word); });
}
}  // namespace

std::vector<std::string> CompletionKeywords(std::string_view keywordList) {
  std::vector<std::string> words;
  size_t p = 0;
  while (p < keywordList.size()) {
    size_t e = keywordList.find_first_of(" \t\r\n", p);
    if (e == std::string_view::npos) e = keywordList.size();
    const std::string_view word = keywordList.substr(p, e - p);
    if (!word.empty() && zb::KeywordOf(word) != zb::Kw::None && !Listed(words, word)) words.emplace_back(word);
    p = e + 1;
  }
  for (int k = 1;; ++k) {
    const std::string_view word = zb::KeywordText(static_cast<zb::Kw>(k));
    if (!Listed(words, word)) words.emplace_back(word);
    if (static_cast<zb::Kw>(k) == zb::Kw::Xor) break;  // the last of the table
  }
  return words;
}
