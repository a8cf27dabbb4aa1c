// Outside changes to the document's file.
#include "documents/OutsideChanges.h"
#include <algorithm>
#include <cstdlib>

uint64_t ContentHash(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash ^ text.size();
}

DiskStep StepFor(const FileSeen& seen, const DiskStamp& now, bool changed, bool ownEdits, DiskMoment moment) {
  if (seen.key.empty()) return DiskStep::None;
  if (!now.exists) {
    if (!seen.stamp.exists) return DiskStep::None;  // never on disk yet: nothing went away
    if (moment == DiskMoment::BeforeRun) return DiskStep::RefuseRun;
    if (moment == DiskMoment::BeforeSave) return DiskStep::None;  // Ctrl+S saves it again
    return seen.deletionTold ? DiskStep::None : DiskStep::TellDeleted;
  }
  if (!changed) return DiskStep::None;
  if (!ownEdits) return DiskStep::Reload;
  // Left as it was on the last activation: asked again before a write, not at every activation.
  if (moment == DiskMoment::Activated && seen.declined == now) return DiskStep::None;
  return DiskStep::Ask;
}

namespace {
// How many of the lines beside line (1-based, one above and one below) read in the new text as
// beside the old line: a line that reads the same in many places is told apart by them.
int SameNeighbours(const std::vector<std::string_view>& oldLines, int oldLine,
                   const std::vector<std::string_view>& newLines, int newLine) {
  int same = 0;
  for (int step : {-1, 1}) {
    const int o = oldLine + step, n = newLine + step;
    const bool oldThere = o >= 1 && o <= static_cast<int>(oldLines.size());
    const bool newThere = n >= 1 && n <= static_cast<int>(newLines.size());
    if (oldThere && newThere && oldLines[static_cast<size_t>(o - 1)] == newLines[static_cast<size_t>(n - 1)]) ++same;
  }
  return same;
}
}  // namespace

int LineAfterReload(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines,
                    int line) {
  const int count = static_cast<int>(newLines.size());
  if (count == 0) return 1;
  if (line < 1 || line > static_cast<int>(oldLines.size())) return std::clamp(line, 1, count);
  const std::string_view text = oldLines[static_cast<size_t>(line - 1)];
  int best = 0, bestSame = -1;
  for (int at = 1; at <= count; ++at) {
    if (newLines[static_cast<size_t>(at - 1)] != text) continue;
    const int same = SameNeighbours(oldLines, line, newLines, at);
    if (same > bestSame || (same == bestSame && std::abs(at - line) < std::abs(best - line))) {
      best = at;
      bestSame = same;
    }
  }
  return best > 0 ? best : std::clamp(line, 1, count);
}

namespace {
std::string CancelLine(DiskMoment moment) {
  switch (moment) {
    case DiskMoment::Activated: return "Cancel: leave both as they are for now";
    case DiskMoment::BeforeRun: return "Cancel: write nothing and do not run";
    case DiskMoment::BeforeSave: return "Cancel: write nothing";
    case DiskMoment::BeforeLeaving: return "Cancel: write nothing and stay with this document";
  }
  return "Cancel: write nothing";
}
}  // namespace

std::string ChangedOutsideText(std::string_view path, DiskMoment moment) {
  return std::string(path) +
         "\r\nhas been changed by another program since it was last read or saved here, and the editor holds "
         "edits of yours that are not saved.\r\n\r\n"
         "Yes: reload the file (Ctrl+Z brings your edits back)\r\n"
         "No: keep your edits and write them over the file\r\n" +
         CancelLine(moment);
}

std::string DeletedOutsideText(std::string_view path) {
  return std::string(path) +
         "\r\nhas been deleted or moved away by another program. The editor keeps its text; Ctrl+S saves it "
         "there again.";
}

std::string ReloadedText(std::string_view path) {
  return "Read again: " + std::string(path) + " was changed by another program";
}

std::string NotRunText(std::string_view path) {
  return "Not run: " + std::string(path) + " was deleted by another program; Ctrl+S saves it again";
}
