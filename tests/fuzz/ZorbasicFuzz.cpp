// Fuzzes the language front end and the compiler library's answers: any source is read,
// parsed and checked without a crash, its errors name lines that exist, the check as the user
// types finds the compile tool's first error on a line that exists, and a "#list" query
// inserted as the IDE inserts it reports only lines of the user's text, with their own text.
#include <fuzzer/FuzzedDataProvider.h>
#include <algorithm>
#include <string>
#include <vector>
#include "compiler/BuildText.h"
#include "tests/fuzz/FuzzCheck.h"
#include "zorbasic/Front.h"
#include "zorbasic/Query.h"

namespace {
constexpr std::string_view Listing = "C:\\ide\\_.txt";

// Lines as the language counts them: CR LF, LF and CR each end one.
std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t p = 0; p < text.size(); ++p) {
    if (text[p] == '\r' || text[p] == '\n') {
      if (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n') ++p;
      lines.emplace_back();
    } else {
      lines.back() += text[p];
    }
  }
  return lines;
}

// Every error is "main.zobas(N): message" with N a line of the source (or one past its end).
void CheckErrors(const std::vector<std::string>& errors, size_t lineCount) {
  for (const std::string& error : errors) {
    Require(error.rfind("main.zobas(", 0) == 0, "an error names the file");
    size_t close = error.find("): ");
    Require(close != std::string::npos, "an error has its line and a message");
    int line = std::atoi(error.c_str() + 11);
    Require(line >= 1 && static_cast<size_t>(line) <= lineCount + 1, "an error's line exists");
  }
}

// The "line N: text" lines of a #list answer show line N of the user's text as it is.
void CheckListing(const std::string& answer, const std::vector<std::string>& lines) {
  for (size_t at = 0; (at = answer.find("\r\nline ", at)) != std::string::npos; at += 2) {
    size_t colon = answer.find(": ", at);
    size_t end = answer.find("\r\n", at + 2);
    if (colon == std::string::npos || end == std::string::npos || colon > end) continue;
    int number = std::atoi(answer.c_str() + at + 7);
    Require(number >= 1 && static_cast<size_t>(number) <= lines.size(), "a listed line exists");
    Require(answer.compare(colon + 2, end - colon - 2, lines[static_cast<size_t>(number) - 1]) == 0,
            "a listed line shows the user's text");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string word = input.ConsumeRandomLengthString(12);
  const int caret = input.ConsumeIntegral<int>();
  std::string source = input.ConsumeRemainingBytesAsString();
  source.erase(std::remove(source.begin(), source.end(), '\0'), source.end());  // the library reads a C string
  const std::vector<std::string> lines = LinesOf(source);

  zb::Program prog;
  std::vector<std::string> errors;
  auto noIncludes = [](const std::string&, std::string&, std::string& why) {
    why = "not found";
    return false;
  };
  bool loaded = zb::LoadProgram("main.zobas", source, noIncludes, prog, errors);
  Require(loaded == errors.empty(), "a program loads exactly when it has no errors");
  CheckErrors(errors, lines.size());
  const zb::FirstError first = zb::CheckProgram("main.zobas", source, noIncludes, 0);
  Require(first.message == (errors.empty() ? "" : errors.front()), "the check finds the compile tool's first error");
  Require(errors.empty() ? first.line == 0 : first.line >= 1 && static_cast<size_t>(first.line) <= lines.size(),
          "the check marks a line that exists");

  Require(!zb::AnswerQuery(source).write || source.find('#') != std::string::npos,
          "only a directive makes the library write");
  const bool plainWord = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  });
  if (!plainWord || source.find('#') != std::string::npos) return 0;
  std::string query = source;
  int at = 1 + static_cast<int>(static_cast<unsigned>(caret) % (source.size() + 1));
  InsertListingDirective(query, QueryList, at, at, word, Listing);
  zb::QueryAnswer answer = zb::AnswerQuery(query);
  Require(answer.write && answer.file == Listing, "a #list query writes the listing file");
  CheckListing(answer.text, lines);
  return 0;
}
