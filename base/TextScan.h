// Byte-string scanners and path helpers shared by the settings, project, command-line and
// document code. Positions are 1-based; a position below 1 or past the end reads as code 0.
#pragma once
#include <string>
#include <string_view>

// The code (0..255) of the character at 1-based pos; 0 outside the text.
int CodeAt(std::string_view text, int pos);

// Advances pos over blanks (codes 1 to 32); returns the code where it stopped.
int SkipBlanks(std::string_view text, int& pos);
// Moves pos back to the first character of its line (one past a line break it starts on).
void LineStart(std::string_view text, int& pos);
// Moves pos forward onto the next line break or the end of the text.
void LineEnd(std::string_view text, int& pos);
// The item from pos up to the next CR LF, pos moved behind it; empty and pos unchanged when no
// CR LF follows, so an unterminated last item is never returned. A pos of 0 counts as 1.
std::string NextListLine(std::string_view text, int& pos);
// Equal ignoring the case of A to Z; inline, since names are compared so at every key.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    const char x = a[k], y = b[k];
    if (x != y && ((x | 32) != (y | 32) || (x | 32) < 'a' || (x | 32) > 'z')) return false;
  }
  return true;
}
// The next word: a quoted string with its quotes, "(", ")" or ",", a 255 pair, or a run of
// other characters; comments from ";" to the line end are skipped. Empty at the end.
std::string ReadWord(std::string_view text, int& pos);
// s without one pair of matching outer quotes (", ' or `).
std::string Unquote(std::string_view s);
// The next value: the content of a bracket group (nested brackets of its own kind counted),
// or, unbracketed, everything up to the end of the text.
std::string ReadGroup(std::string_view text, int& pos);
// The value read by ReadGroup behind the first occurrence of key at or after start.
std::string ValueAfterKey(std::string_view text, std::string_view key, int start = 1);
// The content of the "[" ... "]" item around start. On success start is the first content
// position, end the position of the "]" (or length + 1) and length their difference; when no
// item is found the result is empty and the three are unchanged.
std::string BracketAt(std::string_view text, int& start, int& end, int& length);
// For an item written <[label]> around start: the content of the next [ ... ] after it.
std::string LabelTarget(std::string_view text, int start, int end);
// Inserts ins before 1-based position p (p of 0 or 1: in front; beyond the end: appended).
void InsertText(std::string& s, int p, std::string_view ins);

// Path parts, searched from the end; separators are "\" and "/".
std::string DirPart(std::string_view path);   // before the last separator, else the whole path
std::string NamePart(std::string_view path);  // after the last separator, else the whole path
std::string ExtPart(std::string_view path);   // from the last "." on, else empty
std::string StripExt(std::string_view path);  // before the last ".", else the whole path
std::string ExpandPath(std::string_view name);  // a leading "$" stands for ProgramDir
// The file a document's includes are read beside, as the compile tool and the check take it:
// the document's name with "$" expanded, or for an untitled one the scratch source
// ProgramDir "\_.zobas" that F5 writes and runs.
std::string DocumentSourcePath(std::string_view currentFile);
// The path as Windows reads it: "\" for every "/", "." and ".." resolved (".." at a root stays
// there, a relative path keeps its leading ".."), repeated separators as one, and trailing
// dots and blanks of each part dropped (a part of only dots and blanks is "."). Letter case is
// kept.
std::string NormalPath(std::string_view path);
// The name a file is known by when files are told apart, as Windows tells them apart: its
// NormalPath with letter case folded the way Windows folds the letters of code page 1252.
std::string FileNameKey(std::string_view path);
// A relative path (no drive, no leading separator, no "$") taken inside folder; any other path,
// and any path when folder is empty, unchanged.
std::string PathInFolder(std::string_view folder, std::string_view path);
// The folder as SetCurrentDirectoryA must be given it: a bare drive "C:" (the folder of a file
// at a drive's root, kept without its trailing backslash) becomes "C:\", for "C:" alone names
// that drive's current folder. Any other folder unchanged.
std::string FolderToEnter(std::string_view folder);

// Lower case of A to Z only; every other byte is kept.
std::string LowerText(std::string_view s);
// The number at the start of text: leading blanks, an optional sign, digits and an optional
// fraction, rounded to the nearest integer with halves to the even neighbour. No number: 0.
// Values beyond the int range are clamped.
int ReadNumber(std::string_view text);
// value rounded to the nearest integer, halves to the even neighbour; NaN gives 0.
long long RoundHalfEven(double value);
