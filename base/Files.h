// Whole files of raw bytes: the one reader every floor reads files with, the one writer that
// replaces a file's content safely, and the facts about a file that tell a change. Failures are
// told: a read says what kept it from the text, a write names the file and the system's reason.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The most bytes a whole file read as text may have: what a string of the 32-bit program can
// hold, and the most the editor holds in both programs (its positions are 32-bit signed
// numbers in the kind of document the IDE makes, so a larger text would wrap them in the
// 64-bit program). The 64-bit program refuses a larger file as the 32-bit one does.
constexpr unsigned long long MaxTextBytes = 0x7FFFFFFF;

// A file's size and the time of its last write, as the system tells them.
struct DiskStamp {
  bool exists = false;
  uint64_t size = 0;
  uint64_t time = 0;
  bool operator==(const DiskStamp&) const = default;
};

// What reading a whole file gave.
enum class FileRead {
  Whole,     // text holds every byte
  Missing,   // the file or its folder does not exist (or the name is empty): text is empty
  Failed,    // the file exists but could not be opened or read: error holds the system's code
  TooLarge,  // the file is larger than asked for, or than a string of this process can be
  NotAFile,  // the name opens a device or a pipe, which may never end or never answer
};
struct WholeFile {
  FileRead result = FileRead::Missing;
  unsigned long error = 0;  // Failed: the system's code
  DiskStamp stamp;          // the file as it was opened; exists is false when it was not
};
// The whole file at path as raw bytes (no "$" expansion), at most largest bytes; text is empty
// unless the result is Whole.
WholeFile ReadWholeFile(const std::string& path, std::string& text, unsigned long long largest = MaxTextBytes);
// The whole content of the file (name expanded with ExpandPath) as raw bytes; "" when the
// file cannot be opened or read. For the program's own files (settings, listings), where an
// unreadable file is as good as none; documents and projects are read with ReadDocument.
std::string ReadTextFile(const std::string& name);
// The stamp of the file at path now; exists is false for a missing file or a folder.
DiskStamp FileStamp(const std::string& path);
// True when the file (name expanded) holds exactly text, compared piece by piece without
// reading the file whole; a file that cannot be read counts as empty.
bool FileHolds(const std::string& name, std::string_view text);

// Replaces the content of the file (name expanded) with text, raw bytes as given. The new
// content goes to a temporary file in the same folder first, which then takes the old
// file's place in one atomic rename, so a failed or interrupted write leaves the old file
// whole. A file reached through a link (a symbolic link, a reparse point, a second hard link),
// which the rename would cut off from the link, and a file in a folder that takes no new file
// are written in place instead: their old content is copied to a scratch file first and put
// back if the write fails, and the file keeps its security and attributes. A failure is
// reported in a message box (caption "zor") naming the file and the system's reason, and the
// result is false.
bool WriteTextFile(const std::string& name, std::string_view text);
// Writes as WriteTextFile does but shows no report of a failure: the report's text, or ""
// when the file was written.
std::string TryWriteTextFile(const std::string& name, std::string_view text);

// The system's message for an error code, without its line break.
std::string SystemReason(unsigned long error);
// The name as a full path, so that a change of the working directory cannot make it name
// another file; an empty or "$" name, and one the system cannot make whole, as it is.
std::string FullPath(const std::string& name);
