// The settings file "zorvexIde.cfg": reading its seven entries with their defaults, and
// composing the text that the closing step writes.
#pragma once
#include <string>
#include <string_view>
#include "base/DisplayScale.h"

// The values carried from one run to the next.
struct Settings {
  std::string dir;                      // working directory -> WorkDir
  std::string file;                     // last document -> CurrentFile
  int pos = 0;                          // caret to restore -> RestorePos; 0 restores nothing
  int sizeX = 800;                      // outer window width
  int sizeY = 600;                      // outer window height
  std::string font = "Lucida Console";  // editor font face
  int fontSize = 12;                    // editor font size
  bool operator==(const Settings&) const = default;
};

// Reads the settings text. An empty text (no file, or dropped because a source file was
// named on the command line) gives the defaults with dir = programDir and file = the
// document the command line named. Otherwise each entry is read from its key; missing text
// entries read as empty, and so do text values holding a line break or another control
// character (the font then keeps its default), a relative file is taken inside the entry's
// folder, a missing or non-positive size and an empty font keep the default, a font size
// outside 4..72 gives the default and a window larger than the work area (when its size is
// known, above 0) the work area's size, so that no settings file can make the IDE unusable.
// The default window size (800 x 600 at 96 dpi) is scaled to the display; sizes read from the
// file are the display's pixels as they were written.
Settings ReadSettings(std::string_view text, std::string_view programDir,
                      std::string_view commandLineFile, int workWidth = 0, int workHeight = 0,
                      DisplayScale scale = {});

// The seven entries, one a line, each line ending in CR LF. A text value is written in square
// brackets, or in angle brackets where its own square brackets are not balanced, so that every
// value reads back the same.
std::string ComposeSettings(const Settings& settings);

// The value behind key, where a key standing at the start of a line (or of the text) wins
// over an earlier one inside another entry's value; without such a key, the first
// occurrence anywhere counts.
std::string SettingsValue(std::string_view text, std::string_view key);

// Puts the values read into the process-wide state: WorkDir, CurrentFile, RestorePos, the
// window size and the editor font.
void ApplySettings(const Settings& settings);

// What the closing step writes: with a project open the directory, file and position are
// left empty (and SaveName is cleared); the size and font come from the process-wide state.
Settings SettingsAtClosing(std::string_view currentDir, int selectionEnd);
