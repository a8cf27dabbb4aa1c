// Reading and composing the settings text.
#include "shell/Settings.h"

#include "base/TextScan.h"
#include "documents/DocumentState.h"
#include "shell/ShellState.h"

namespace {

// 1-based position of the first occurrence of key that opens a line, or 0.
int KeyAtLineStart(std::string_view text, std::string_view key) {
  for (size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1))
    if (at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') return static_cast<int>(at) + 1;
  return 0;
}

constexpr int SmallestFont = 4;
constexpr int LargestFont = 72;

// True when the brackets open and close in value as a group of that kind needs them to: no
// close before its open, none left open. Such a value reads back whole from that group.
bool Balanced(std::string_view value, char open, char close) {
  int depth = 0;
  for (char c : value) {
    if (c == open) ++depth;
    if (c == close && --depth < 0) return false;
  }
  return depth == 0;
}

// The value's bracket group as the file holds it: "[" value "]", or, where the value's own
// square brackets would end that group early or let it run on (a folder "old[1"), "<" value
// ">", which Windows names never hold; empty when neither carries the value.
std::string Group(std::string_view value) {
  if (Balanced(value, '[', ']')) return "[" + std::string(value) + "]";
  if (Balanced(value, '<', '>')) return "<" + std::string(value) + ">";
  return {};
}

// A text value as the file can carry it: empty (as a missing entry is) when it holds a line
// break or another control character, which a value read from a damaged file can, or brackets
// that no group reads back; written back, such a value would break the file's lines or come
// back other than it went.
std::string Carried(std::string value) {
  for (char c : value)
    if (static_cast<unsigned char>(c) < 32) return {};
  return Group(value).empty() ? std::string() : value;
}

// A size keeps its default unless the file gives a positive one, and is at most the work area.
int SizeOr(int value, int fallback, int workArea) {
  if (value <= 0) return fallback;
  return workArea > 0 && value > workArea ? workArea : value;
}

}  // namespace

std::string SettingsValue(std::string_view text, std::string_view key) {
  const int start = KeyAtLineStart(text, key);
  return ValueAfterKey(text, key, start > 0 ? start : 1);
}

Settings ReadSettings(std::string_view text, std::string_view programDir,
                      std::string_view commandLineFile, int workWidth, int workHeight, DisplayScale scale) {
  Settings s;
  s.sizeX = scale(s.sizeX);
  s.sizeY = scale(s.sizeY);
  if (text.empty()) {
    s.dir = programDir;
    s.file = commandLineFile;
    return s;
  }
  s.dir = Carried(SettingsValue(text, "$dir "));
  s.file = Carried(PathInFolder(s.dir, SettingsValue(text, "$file ")));
  s.pos = ReadNumber(SettingsValue(text, "$pos "));
  s.sizeX = SizeOr(ReadNumber(SettingsValue(text, "$sizeX ")), s.sizeX, workWidth);
  s.sizeY = SizeOr(ReadNumber(SettingsValue(text, "$sizeY ")), s.sizeY, workHeight);
  std::string font = Carried(SettingsValue(text, "$font "));
  if (!font.empty()) s.font = std::move(font);
  int fontSize = ReadNumber(SettingsValue(text, "$fontsize "));
  if (fontSize >= SmallestFont && fontSize <= LargestFont) s.fontSize = fontSize;
  return s;
}

std::string ComposeSettings(const Settings& s) {
  auto line = [](std::string_view key, std::string_view value) {
    std::string group = Group(value);
    return std::string(key) + (group.empty() ? "[]" : group) + "\r\n";
  };
  return line("$dir ", s.dir) + line("$file ", s.file) + line("$pos ", std::to_string(s.pos)) +
         line("$sizeX ", std::to_string(s.sizeX)) + line("$sizeY ", std::to_string(s.sizeY)) +
         line("$font ", s.font) + line("$fontsize ", std::to_string(s.fontSize));
}

void ApplySettings(const Settings& s) {
  WorkDir = s.dir;
  CurrentFile = s.file;
  RestorePos = s.pos;
  WindowWidth = s.sizeX;
  WindowHeight = s.sizeY;
  EditorFontName = s.font;
  EditorFontSize = s.fontSize;
}

Settings SettingsAtClosing(std::string_view currentDir, int selectionEnd) {
  Settings s;
  if (ProjectFile.empty()) {
    s.dir = currentDir;
    s.file = SaveName;
    s.pos = selectionEnd;
  } else {
    SaveName.clear();
  }
  s.sizeX = WindowWidth;
  s.sizeY = WindowHeight;
  s.font = EditorFontName;
  s.fontSize = EditorFontSize;
  return s;
}
