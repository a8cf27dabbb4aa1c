// The current document: reading it and putting it in the editor, the save check, and the
// commands New, Open, Save, Save As, opening a dropped file and switching to a listed file.
#pragma once
#include <string>
#include <string_view>
#include "base/Outcome.h"
#include "documents/OutsideChanges.h"

// The key a document's bookmarks are kept under while the IDE runs: its full path; "" for an
// untitled document.
std::string DocumentKey(const std::string& name);
// Makes the folder of path (expanded) the current directory and returns it.
std::string EnterDirectoryOf(const std::string& path);

// The save check's answers, numbered as the message box numbers its buttons.
enum class SaveAnswer { Unchanged = 0, Cancel = 2, Yes = 6, No = 7 };
// The save check. Unchanged when the text equals the file (nothing asked, nothing written) or,
// with an empty caption, when it was written silently. With a caption the user is asked
// "Save " name: Yes and saved, No, or Cancel. An untitled document (empty name) is saved
// under a name chosen in the Save dialog, without becoming named. A cancelled dialog or a
// failed write also gives Cancel, so no caller discards text that was not saved. The name is
// taken as it is when the check begins: that file is the one the prompt names and writes.
// The text is the editor's: a UTF-8 document's mark is put back before comparing and writing.
SaveAnswer SaveIfChanged(std::string name, std::string_view text, const std::string& caption);
// Reads the whole file name (expanded) into text. A file that does not exist reads as empty
// text. False when the file exists but cannot be read ("Cannot read " path ": " and the
// system's reason) or is too large to be edited, which has been reported in a box (caption
// "zor"): the caller then keeps the document as it was.
bool ReadDocument(const std::string& name, std::string& text);
// Puts a loaded document's text (its file's bytes) into the current editor; the undo history
// starts afresh. The bytes decide the document's encoding; a UTF-8 mark stays out of the editor.
// False when the editor cannot take it (too large, or NUL bytes for a plain edit control),
// which has been reported: the editor keeps its text, or, in the rare case that the editor
// failed halfway and is empty, the document becomes untitled so nothing is saved over a file.
bool PutDocumentInEditor(const std::string& name, std::string_view text);
// Replaces the editor text with the content of the file. False when the file cannot be
// edited (reported); callers then leave the document's name alone.
bool LoadIntoEditor(const std::string& name);

// New: Stop when the user cancelled (nothing changed).
Outcome NewDocument();
// Open: Stop when the save prompt was cancelled; a cancelled Open dialog only sets the title.
Outcome OpenDocument();
// Save (modifier other than 1) and Save As (modifier 1). The caret line is recorded in the
// project list first, which is written back to its file; the caller rebuilds the menu bar.
void SaveDocument(int modifier);
// Opens name as the document at the user's request from a listing: asks about unsaved text
// first ("Loading Another File", as Open asks) and loads it. True when name is the document
// now, also when it already was (then nothing is asked or loaded); false when the user
// cancelled, or the file is missing or cannot be edited (reported).
bool OpenListedFile(const std::string& name);
// Opens a dropped file; Stop when the save prompt was cancelled and the drop handling must end.
Outcome OpenDroppedFile(const std::string& name);
// Switches to the file listed after a label item of the ProjectBox: the one whose text
// equals key (ignoring case), or with byCaret the one the caret of the ProjectBox is in.
void SwitchToListedFile(const std::string& key, bool byCaret);
// Notes what the document's file holds after the IDE read it or wrote it under name, for the
// outside-change check; an empty name (an untitled document) forgets the file.
void NoteDocumentFile(const std::string& name, std::string_view text);
// The same after a write of name, when name is the document's file; any other file is no
// business of the check.
void NoteDocumentWrite(const std::string& name, std::string_view text);
// Looks whether another program changed or deleted the document's file since the IDE last read
// or wrote it, and does what the moment asks (StepFor): reads it again where no edit of the
// user's is lost, asks where one would be ("File Changed Outside": reload, keep the edits and
// write them over the file, or cancel), tells once of a deleted file. Stop when the command
// that asked must not go on: the user cancelled, a write failed, or F5 on a deleted file.
Outcome NoticeOutsideChange(DiskMoment moment);
// Before a build: gives an untitled document the scratch name ProgramDir "\_.zobas" as its
// CurrentFile and writes a non-empty editor text there silently when it differs, after the
// outside-change check of the document's file. Stop when that write failed (the build should
// not go on with stale text) or the check says so.
Outcome PrepareScratchSource();
