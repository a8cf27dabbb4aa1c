// The names and reports of whole-file reading and writing: the temporary file a write goes to
// first, and the texts that tell a failed read or write. Platform-free.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// Longest path the system's file routines take (MAX_PATH without the terminating zero).
constexpr size_t LongestPath = 259;
// A temporary file name in the folder of path (the current folder for a bare name), made
// unique by tag: the new content is written there first and then put in place of path. Where
// the usual name would make a path longer than LongestPath, the name is no longer than the
// file's own ("~" and the end of tag), so any file that can be written can also be saved.
// Never the name of the file itself: a file that bears the scratch name gets it with another
// first character.
std::string TempNameBeside(std::string_view path, std::string_view tag);
// True for the names that the safe write gives its temporary files ("~zor" ... ".tmp").
bool IsScratchName(std::string_view name);
// The text of the message that reports a failed write of path, with the system's reason; a
// long path is broken into lines so that the box fits on the screen. keptCopy names the scratch
// file that holds the file's old content when a failed write into the file could not put it back.
std::string WriteFailureText(std::string_view path, std::string_view reason, std::string_view keptCopy = {});
// The report of a file that exists but cannot be read: "Cannot read " path ": " reason.
std::string ReadFailureText(std::string_view path, std::string_view reason);
// The reason given for a name that opens no file on a disk but a device or a pipe.
constexpr std::string_view NotAFileReason = "it is a device, not a file on a disk.";
// The report of a save refused because the folder holds the file under names that differ only
// in letter case (possible on some file systems) and none is exactly the one asked for.
std::string CaseTwinsText(std::string_view path, const std::vector<std::string>& names);
// The report of temporary files that an interrupted save left beside path.
std::string LeftBehindText(std::string_view path, const std::vector<std::string>& names);
// The text broken into lines (CR LF) of at most width characters (a width of 0 counts as 1),
// each break placed after a path separator or blank where the line has one.
std::string WrapLongLine(std::string_view text, size_t width);
