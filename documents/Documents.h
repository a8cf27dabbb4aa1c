// The current document: whole-file text input and output, the save check, and the commands
// New, Open, Save, Save As, opening a dropped file and switching to a listed file.
// Results of 2 mean "cancelled or not saved": the caller stops its own operation then.
#pragma once
#include <string>

// The whole content of the file (name expanded with ExpandPath) as raw bytes; "" when the
// file cannot be opened or read.
std::string ReadTextFile(const std::string& name);
// The whole file at path as raw bytes (no "$" expansion). False when it cannot be opened or
// read, or is too large to hold in memory (tooLarge is then set).
bool ReadWholeFile(const std::string& path, std::string& text, bool& tooLarge);
// Replaces the content of the file (name expanded) with text, raw bytes as given. The new
// content goes to a temporary file in the same folder first, which then takes the old
// file's place in one step, so a failed write leaves the old file whole. A failure is
// reported in a message box (caption "zor") naming the file and the system's reason, and
// the result is false; callers that must go on anyway (closing) may ignore it.
bool WriteTextFile(const std::string& name, const std::string& text);
// Makes the folder of path (expanded) the current directory and returns it.
std::string EnterDirectoryOf(const std::string& path);

// The save check. Returns 0 when the text equals the file (nothing asked, nothing written) or,
// with an empty caption, when it was written silently. With a caption the user is asked
// "Save " name: 6 Yes and saved, 7 No, 2 Cancel. An untitled document (empty name) is saved
// under a name chosen in the Save dialog, without becoming named. A cancelled dialog or a
// failed write also gives 2, so no caller discards text that was not saved.
int SaveIfChanged(const std::string& name, const std::string& text, const std::string& caption);
// Reads the whole file name (expanded) into text. False when the file is too large to be
// edited, which has been reported in a box (caption "zor"); a file that cannot be opened reads
// as empty text, as with ReadTextFile.
bool ReadDocument(const std::string& name, std::string& text);
// Puts a document's text into the current editor. False when the editor could not take it
// all (reported as too large); the editor then keeps the text it had.
bool PutDocumentInEditor(const std::string& name, const std::string& text);
// Replaces the editor text with the content of the file. False when the file is too large to
// be edited (reported); the editor keeps its text and callers leave the document's name alone.
bool LoadIntoEditor(const std::string& name);

// New: 2 when the user cancelled (nothing changed), otherwise 0.
int NewDocument();
// Open: 2 when the save prompt or the Open dialog was cancelled, otherwise 0.
int OpenDocument();
// Save (modifier other than 1) and Save As (modifier 1).
void SaveDocument(int modifier);
// Opens a dropped file; 2 when the save prompt was cancelled and the drop handling must end.
int OpenDroppedFile(const std::string& name);
// Switches to the file listed after a label item of the ProjectBox: the one whose text
// equals key (ignoring case), or with byCaret the one the caret of the ProjectBox is in.
void SwitchToListedFile(const std::string& key, bool byCaret);
// Before a build: gives an untitled document the scratch name ProgramDir "\_.zobas" as its
// CurrentFile and writes a non-empty editor text there silently when it differs. Returns
// 2 when that write failed (the build should not go on with stale text), otherwise 0.
int PrepareScratchSource();
