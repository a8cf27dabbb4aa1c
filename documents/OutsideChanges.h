// The document's file as the IDE last read or wrote it, and what to do when another program
// (a second editor, a version-control checkout, a generator) changed or deleted it since: with
// no edits of the user's the file is read again, with edits the user is asked, a deleted file
// is told once. Platform-free.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "base/Files.h"

// What the IDE knows of the document's file from its last read or write.
struct FileSeen {
  std::string key;            // FileNameKey of the file's full path; empty for no file (untitled)
  DiskStamp stamp;            // the file then
  uint64_t hash = 0;          // ContentHash of the text read or written
  bool deletionTold = false;  // the user was told that the file is gone
  DiskStamp declined;         // the changed file the user chose to leave as it is for now
};

// A hash of the text, as a cheap stand-in for the text itself: two texts with one hash are
// taken as one text.
uint64_t ContentHash(std::string_view text);

// When the file is looked at: the IDE became the active program; before F5 or Ctrl+F5 write the
// document to run or compile it; before Ctrl+S writes it; before the document is left (New,
// Open, a switch, a project command, closing) with its save prompt.
enum class DiskMoment { Activated, BeforeRun, BeforeSave, BeforeLeaving };
// What it asks for.
enum class DiskStep {
  None,         // nothing changed, or nothing to do about it now
  Reload,       // read the file again into the editor: there is nothing of the user's to lose
  Ask,          // reload, keep the user's edits and write them over the file, or cancel
  TellDeleted,  // say once that the file is gone; the editor keeps its text
  RefuseRun,    // the file is gone: F5 writes it back only when the user saves with Ctrl+S
};
// The step for the file now: changed tells that its content differs from the text last read or
// written, ownEdits that the editor's text does.
DiskStep StepFor(const FileSeen& seen, const DiskStamp& now, bool changed, bool ownEdits, DiskMoment moment);

// Where the 1-based line of the old text is in the new text, as near as can be: of the lines of
// the new text that read as the old line did, the one whose neighbours above and below read as
// the old line's did, then the nearest (the earlier of two as near); else the same number as
// far as the new text reaches.
int LineAfterReload(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines,
                    int line);

// The caption of the boxes below.
constexpr std::string_view OutsideCaption = "File Changed Outside";
// The question when the file changed and the editor holds edits of the user's: Yes reloads,
// No keeps the edits and writes them over the file, Cancel does neither (and the command that
// wanted to write does not go on).
std::string ChangedOutsideText(std::string_view path, DiskMoment moment);
// The report of a file that another program deleted or moved away.
std::string DeletedOutsideText(std::string_view path);
// The status bar after the file was read again by itself.
std::string ReloadedText(std::string_view path);
// The status bar when F5 did not run a deleted document.
std::string NotRunText(std::string_view path);
