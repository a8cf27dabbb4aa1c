// Fuzzes the settings reader on any text, and the round trip through the writer: values the
// file format can carry come back from ComposeSettings exactly as they went in.
#include "base/TextScan.h"
#include "shell/Settings.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The values the format carries: no zero byte (the scanners stop at it), no line break (a
// key after one would stand at a line start and win over the real entry) and square
// brackets balanced (the value is a bracket group with nesting, so a lone "]" ends it early
// and a lone "[" makes it run on).
bool Carries(std::string_view value) {
  int depth = 0;
  for (char c : value) {
    if (c == '\0' || c == '\r' || c == '\n') return false;
    if (c == '[') ++depth;
    if (c == ']' && --depth < 0) return false;
  }
  return depth == 0;
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

// The values read from the text, written and read again, come back unchanged (the file
// name taken inside the folder once more, as every read does).
void CheckRoundTrip(std::string_view text) {
  Settings s = ReadSettings(text, "", "", 0, 0);
  if (!Carries(s.dir) || !Carries(s.file) || !Carries(s.font)) return;
  const std::string composed = ComposeSettings(s);
  Settings back = ReadSettings(composed, "", "", 0, 0);
  Settings expected = s;
  expected.file = PathInFolder(s.dir, s.file);
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
