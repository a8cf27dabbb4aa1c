// Which files are Zorvex Basic sources, by their extension with the letter case of A to Z
// ignored: the programs (".zobas", ".bas") and the files they include (".inc"). Platform-free.
#pragma once
#include <string_view>

// A source of either kind: what a folder search reads.
bool IsSourceName(std::string_view name);
// A program the run and build commands take themselves, by the compile tool's own test: the
// extension occurs in " .bas .zobas ", so an extension cut short (".ba", ".zo", ".") and none
// at all count too, and an included file does not (the project's main file is built instead).
bool IsProgramSource(std::string_view name);
