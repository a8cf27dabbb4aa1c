// Source text of a program: reading files, the preprocessor (#include, #define, #ifdef) and
// the unit it produces, whose every line remembers the file and line it came from.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zb {

struct Origin {
  int file = 0;
  int line = 0;  // 1-based line in that file
};

// The preprocessed program: lines joined with '\n', one origin per line.
struct Unit {
  std::vector<std::string> files;
  std::string text;
  std::vector<Origin> origins;
};

// An error with the place it belongs to: "file(line): message".
struct Diag {
  std::string file;
  int line = 0;
  std::string message;
  std::string Text() const;
};

// Largest source file the tools accept.
constexpr int64_t MaxSourceBytes = 64 * 1024 * 1024;

// Reads a whole source file, without a UTF-8 byte order mark at its start. Returns false with
// a message ("no such file", "is a folder", ...) when the file cannot serve as a source.
bool ReadSourceFile(const std::string& path, std::string& text, std::string& why);

using SourceReader = std::function<bool(const std::string& path, std::string& text, std::string& why)>;

struct PreprocessOptions {
  bool includes = true;  // false: #include lines are kept out, no file is read
};

// Preprocesses the main text. Errors go to diags; the unit is complete as far as it could be read.
Unit Preprocess(const std::string& mainName, std::string_view mainText, const SourceReader& reader,
                const PreprocessOptions& options, std::vector<Diag>& diags);

// The name a source file is known by when "each file once" tells files apart, as Windows tells
// them apart: a relative path taken in the current folder, "/" and "\" alike, "." and ".."
// resolved, repeated separators as one, trailing dots and blanks of each part dropped, and
// letter case folded as Windows folds the letters of code page 1252.
std::string FileKey(const std::string& path);
// The path as Windows reads it: "\" for every "/", "." and ".." resolved (".." at a root stays
// there, a relative path keeps its leading ".."), repeated separators as one, and trailing
// dots and blanks of each part dropped (a part of only dots and blanks is "."). Letter case is
// kept.
std::string NormalPath(std::string_view path);
// NormalPath with letter case folded as Windows folds the letters of code page 1252.
std::string FileNameKey(std::string_view path);

// The folder part of a path, with its trailing separator ("" when there is none).
std::string FolderOf(const std::string& path);

// ASCII lower case: names and keywords compare ignoring the case of A to Z only.
std::string Lower(std::string_view s);
bool SameWord(std::string_view a, std::string_view b);

}  // namespace zb
