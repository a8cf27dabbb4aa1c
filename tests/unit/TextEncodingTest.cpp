// Which files open as UTF-8, and the document's text and file bytes kept apart by the mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/TextEncoding.h"
#include "zorbasic/Source.h"

namespace {

TEST(TextEncoding, AFileOpensAsUtf8ByItsMarkOrByWellFormedBytesBeyondAscii) {
  using E = TextEncoding;
  const struct { const char* what; std::string bytes; E encoding; } cases[] = {
      {"empty", "", E::Ansi},
      {"ASCII only", "print \"hi\"\r\n", E::Ansi},
      {"the mark on an empty file", "\xEF\xBB\xBF", E::Utf8WithMark},
      {"the mark before ASCII", "\xEF\xBB\xBFprint 1", E::Utf8WithMark},
      {"the mark before bytes that are not UTF-8", "\xEF\xBB\xBF\xFC", E::Utf8WithMark},
      {"two-byte characters", "Gr\xC3\xBC\xC3\x9F" "e", E::Utf8},
      {"three-byte characters", "\xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC", E::Utf8},
      {"a four-byte character", "\xF0\x9F\x98\x80", E::Utf8},
      {"the last character, U+10FFFF", "\xF4\x8F\xBF\xBF", E::Utf8},
      {"the first three-byte character, U+0800", "\xE0\xA0\x80", E::Utf8},
      {"U+FFFD", "\xEF\xBF\xBD", E::Utf8},
      {"Windows-1252 umlaut", "Gr\xFC\xDF" "e", E::Ansi},
      {"a lone continuation byte", "a\x80", E::Ansi},
      {"overlong slash, two bytes", "\xC0\xAF", E::Ansi},
      {"overlong, C1 lead", "\xC1\xBF", E::Ansi},
      {"overlong, three bytes", "\xE0\x80\xAF", E::Ansi},
      {"overlong, four bytes", "\xF0\x8F\xBF\xBF", E::Ansi},
      {"a surrogate, U+D800", "\xED\xA0\x80", E::Ansi},
      {"a surrogate, U+DFFF", "\xED\xBF\xBF", E::Ansi},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", E::Ansi},
      {"an F5 lead", "\xF5\x80\x80\x80", E::Ansi},
      {"an FF byte", "a\xFF", E::Ansi},
      {"cut short at the end, two bytes", "ok \xC3", E::Ansi},
      {"cut short at the end, three bytes", "ok \xE2\x82", E::Ansi},
      {"cut short by ASCII", "\xE2\x82" "a", E::Ansi},
      {"valid then one bad byte", "\xC3\xBC \xFC", E::Ansi},
      {"a mark later in the file only", "a\xEF\xBB\xBF", E::Utf8},
      {"part of a mark", "\xEF\xBB", E::Ansi},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodingOf(c.bytes), c.encoding) << c.what;
}

TEST(TextEncoding, TheEditorShowsTheTextWithoutTheMarkAndTheFileGetsItBack) {
  const struct { std::string file; TextEncoding encoding; std::string editor; } cases[] = {
      {"\xEF\xBB\xBF", TextEncoding::Utf8WithMark, ""},
      {"\xEF\xBB\xBFx\r\n\xC3\xBC", TextEncoding::Utf8WithMark, "x\r\n\xC3\xBC"},
      {"\xC3\xBC\n", TextEncoding::Utf8, "\xC3\xBC\n"},
      {"\xFC\r", TextEncoding::Ansi, "\xFC\r"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(EncodingOf(c.file), c.encoding) << c.file;
    EXPECT_EQ(EditorPartOf(c.file, c.encoding), c.editor);
    std::string storage;
    EXPECT_EQ(FileBytesOf(c.editor, c.encoding, storage), c.file) << "the file's bytes come back whole";
  }
  std::string storage;
  EXPECT_EQ(FileBytesOf("a", TextEncoding::Utf8, storage), "a") << "a mark is never added";
  EXPECT_EQ(FileBytesOf("a", TextEncoding::Ansi, storage), "a");
}

TEST(TextEncoding, TheCompileToolReadsASourceWithoutItsMark) {
  const std::string path = (std::filesystem::temp_directory_path() / "zor-utf8-mark.zobas").string();
  for (const std::string& bytes : {std::string("\xEF\xBB\xBFprint 1\r\n"), std::string("\xEF\xBB\xBF")}) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::string text, why;
    ASSERT_TRUE(zb::ReadSourceFile(path, text, why)) << why;
    EXPECT_EQ(text, bytes.substr(3));
  }
  std::filesystem::remove(path);
}

}  // namespace
