// Fuzzes the settings reader on any text, and the round trip through the writer: every value
// read comes back from ComposeSettings exactly as it went in.
#include <algorithm>
#include "base/TextScan.h"
#include "shell/Settings.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// True when the value's square brackets, or else its angle brackets, open and close in order
// with none left open: a bracket group of that kind carries the value whole.
bool GroupCarries(std::string_view value) {
  auto balanced = [value](char open, char close) {
    int depth = 0;
    for (char c : value) {
      if (c == open) ++depth;
      if (c == close && --depth < 0) return false;
    }
    return depth == 0;
  };
  return balanced('[', ']') || balanced('<', '>');
}

// Whatever the text, the window and the font stay usable.
void CheckRanges(std::string_view text) {
  Settings s = ReadSettings(text, "C:\\ide", "C:\\work\\a.zobas", 1024, 768);
  Require(s.sizeX > 0 && s.sizeX <= 1024, "width within the work area");
  Require(s.sizeY > 0 && s.sizeY <= 768, "height within the work area");
  Require(s.fontSize >= 4 && s.fontSize <= 72, "font size within 4..72");
  Require(!s.font.empty(), "a font name");
  Settings unbounded = ReadSettings(text, "", "", 0, 0);
  Require(unbounded.sizeX > 0 && unbounded.sizeY > 0, "positive size without a work area");
  if (text.empty()) Require(s.dir == "C:\\ide" && s.file == "C:\\work\\a.zobas", "defaults for no file");
}

// The values read from the text, written and read again, come back unchanged, and the written
// file has its seven lines whatever the text was. A relative file name is taken inside the
// folder once more, as every read does; joined twice, its brackets may be such that no group
// carries the name, which then reads as none, and only then.
void CheckRoundTrip(std::string_view text) {
  Settings s = ReadSettings(text, "", "", 0, 0);
  const std::string composed = ComposeSettings(s);
  Require(std::count(composed.begin(), composed.end(), '\n') == 7, "seven lines written");
  Settings back = ReadSettings(composed, "", "", 0, 0);
  Settings expected = s;
  expected.file = PathInFolder(s.dir, s.file);
  if (!GroupCarries(expected.file)) expected.file.clear();
  Require(back == expected, "settings survive a write and a read");
  Require(SettingsValue(composed, "$dir ") == s.dir, "the folder entry reads back");
  Require(SettingsValue(composed, "$font ") == s.font, "the font entry reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = InputText(data, size);
  CheckRanges(text);
  CheckRoundTrip(text);
  // Any key, also one that is no settings key, reads without running off the text.
  const size_t cut = size ? data[0] % 12 : 0;
  if (cut < size) {
    std::string value = SettingsValue(text.substr(cut + 1), text.substr(1, cut));
    Require(value.size() <= size, "a value is part of the text");
  }
  return 0;
}
