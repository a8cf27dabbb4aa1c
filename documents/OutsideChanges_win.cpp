// Noticing that another program changed or deleted the document's file: the file's stamp is
// compared with the one noted at the last read or write, and only a file whose stamp moved is
// read to compare its text.
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "base/Bindings_win.h"
#include "base/Boxes_win.h"
#include "base/Files.h"
#include "base/SharedState.h"
#include "base/TextScan.h"
#include "base/StatusBar_win.h"
#include "documents/DocumentState.h"
#include "documents/Documents.h"
#include "documents/Encoding_win.h"
#include "documents/OutsideChanges.h"
#include "editor/EditorAccess_win.h"
#include "editor/ListingText.h"
#include "editor/Marks_win.h"

namespace {
std::string KeyOf(const std::string& name) { return FileNameKey(FullPath(ExpandPath(name))); }

// Whether name is the file the document was last read from or written to.
bool IsDocumentFile(const std::string& name) {
  return !name.empty() && !DocumentOnDisk.key.empty() && KeyOf(name) == DocumentOnDisk.key;
}

// The 1-based line of lines (views into text) that holds the 0-based position.
int LineHolding(const std::vector<std::string_view>& lines, const std::string& text, size_t position) {
  auto after = std::upper_bound(lines.begin(), lines.end(), position, [&](size_t at, std::string_view line) {
    return at < size_t(line.data() - text.data());
  });
  return std::max(1, int(after - lines.begin()));
}

// Puts the file's new text in the editor, the caret and the bookmarks on the lines that read as
// theirs did, as near as can be. undoable keeps the old text one Ctrl+Z away (the user's edits,
// which the user chose to drop); otherwise the text loads as a document does.
void ReloadDocument(const std::string& file, bool undoable) {
  const TextEncoding encoding = EncodingForEditor(file);
  const std::string_view disk = EditorPartOf(file, encoding);
  std::string copy;
  const std::string old(ControlTextView(CurrentEditor, copy));
  size_t start = 0, end = 0;
  ControlSelection(CurrentEditor, start, end);
  const std::vector<std::string_view> oldLines = SplitLines(old), newLines = SplitLines(disk);
  const int caretLine = LineHolding(oldLines, old, start);
  const size_t column = oldLines.empty() ? 0 : start - size_t(oldLines[size_t(caretLine - 1)].data() - old.data());
  std::vector<int> marks = BookmarkLines();
  if (undoable) {
    ReplaceRange(CurrentEditor, 0, old.size(), disk);
    UseDocumentEncoding(encoding);
    NoteDocumentFile(SaveName, file);
  } else if (!PutDocumentInEditor(SaveName, file)) {
    return;
  }
  for (int& mark : marks) mark = LineAfterReload(oldLines, newLines, mark);
  std::sort(marks.begin(), marks.end());
  marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
  SetBookmarkLines(marks);
  if (newLines.empty()) return;
  const std::string_view line = newLines[size_t(LineAfterReload(oldLines, newLines, caretLine) - 1)];
  const size_t at = size_t(line.data() - disk.data()) + std::min(column, line.size());
  SelectAndShow(CurrentEditor, at, at);
}

// The user's answer to ChangedOutsideText.
Outcome TakeAnswer(int answer, const std::string& disk, const DiskStamp& now, DiskMoment moment) {
  if (answer == IDYES) {
    ReloadDocument(disk, true);
    return moment == DiskMoment::BeforeSave ? Outcome::Stop : Outcome::Go;  // nothing left to save
  }
  if (answer == IDNO) {
    std::string copy, storage;
    const std::string text(DocumentFileBytes(ControlTextView(CurrentEditor, copy), storage));
    if (!WriteTextFile(SaveName, text)) return Outcome::Stop;  // reported
    NoteDocumentFile(SaveName, text);
    return Outcome::Go;
  }
  if (moment == DiskMoment::Activated) DocumentOnDisk.declined = now;
  return Outcome::Stop;
}

// Set while this check runs: a box it shows lets other messages in (an activation, a timer),
// and the check must not start again under it.
bool Noticing = false;

Outcome Notice(DiskMoment moment) {
  FileSeen& seen = DocumentOnDisk;
  const std::string path = ExpandPath(SaveName);
  const DiskStamp now = FileStamp(path);
  if (now.exists) seen.deletionTold = false;  // it is back
  std::string disk;
  bool changed = false;
  if (now.exists && !(now == seen.stamp)) {
    if (ReadWholeFile(path, disk).result != FileRead::Whole) return Outcome::Go;  // it cannot be told now
    changed = ContentHash(disk) != seen.hash;
    if (!changed) seen.stamp = now;  // written again with the same text, or only touched
  }
  std::string copy, storage;
  const uint64_t editor =
      changed ? ContentHash(DocumentFileBytes(ControlTextView(CurrentEditor, copy), storage)) : seen.hash;
  if (changed && editor == ContentHash(disk)) {  // the editor already holds what the file holds now
    NoteDocumentFile(SaveName, disk);
    return Outcome::Go;
  }
  switch (StepFor(seen, now, changed, editor != seen.hash, moment)) {
    case DiskStep::None: return Outcome::Go;
    case DiskStep::Reload:
      ReloadDocument(disk, false);
      ShowStatus(ReloadedText(path));
      return Outcome::Go;
    case DiskStep::TellDeleted:
      seen.deletionTold = true;
      ShowBox(DeletedOutsideText(path), std::string(OutsideCaption), MB_OK | MB_ICONWARNING);
      return Outcome::Go;
    case DiskStep::RefuseRun:
      if (!seen.deletionTold) {
        seen.deletionTold = true;
        ShowBox(DeletedOutsideText(path), std::string(OutsideCaption), MB_OK | MB_ICONWARNING);
      }
      ShowStatus(NotRunText(path));
      return Outcome::Stop;
    case DiskStep::Ask:
      break;
  }
  const int answer = ShowBox(ChangedOutsideText(path, moment), std::string(OutsideCaption), MB_YESNOCANCEL | MB_ICONWARNING);
  return TakeAnswer(answer, disk, now, moment);
}
}  // namespace

void NoteDocumentFile(const std::string& name, std::string_view text) {
  if (name.empty()) {
    DocumentOnDisk = {};
    return;
  }
  DocumentOnDisk = {KeyOf(name), FileStamp(ExpandPath(name)), ContentHash(text), false, {}};
}

void NoteDocumentWrite(const std::string& name, std::string_view text) {
  if (IsDocumentFile(name)) NoteDocumentFile(name, text);
}

Outcome NoticeOutsideChange(DiskMoment moment) {
  if (Noticing || !IsDocumentFile(SaveName)) return Outcome::Go;
  // While a dialog of the IDE is up, the answer to it comes first; the next moment looks again.
  if (moment == DiskMoment::Activated && MainWindow != nullptr && !Api.IsWindowEnabled(MainWindow)) return Outcome::Go;
  Noticing = true;
  struct Done {
    ~Done() { Noticing = false; }
  } done;
  return Notice(moment);
}
