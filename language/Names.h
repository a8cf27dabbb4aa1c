// The names a Zorvex Basic source declares, as completion and going to a definition need them.
// The source is read line by line and what each line declares is kept with that line, so an
// edit re-reads only the lines it changed (and those whose block-comment state it changed);
// which sub, function or type a declaration belongs to is worked out when the names are
// gathered, from the markers the lines keep. Lines are counted from 0.
#pragma once
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class NameKind : uint8_t { Sub, Function, Type, Field, Variable, Array, Constant, Label, Parameter };

// A name as one line declares it.
struct FoundName {
  std::string name;        // as declared
  std::string type;        // as written: of a variable, array element, field or parameter; a
                           // function's result; "" when none is written or known
  std::string parameters;  // of a sub or function: as written between its parentheses
  std::string text;        // the statement that declares it, as written ("" when implicit)
  NameKind kind = NameKind::Variable;
  bool implicit = false;   // declared by its first assignment, by input or as a for counter
};

// A declared name with its line and the lines where it is known. Its texts are views into the
// index it was gathered from: valid until that index changes.
struct Declaration {
  std::string_view name, type, parameters, text;
  std::string_view owner;  // a field's type; the sub or function of a parameter or local name
  NameKind kind = NameKind::Variable;
  bool implicit = false;
  int line = 0;
  int scopeFirst = 0, scopeLast = INT_MAX;
};

// What starts or ends on a line: the blocks that parameters, local names and fields live in.
enum class Block : uint8_t { None, Sub, Function, Type, EndSub, EndFunction, EndType };

// What one line declares; line numbers and scopes are given by GatherNames.
struct LineNames {
  std::vector<FoundName> found;
  std::string include;  // the file a #include line names, as written between its quotes
  Block block = Block::None;
  bool includes = false;          // the line is a #include with a file name
  bool startsInComment = false;   // inside /* */ where the line starts
  bool endsInComment = false;     // ... and where it ends
};

struct NameIndex {
  std::vector<LineNames> lines;
};

// Reads every line of text (CR LF, LF or CR line ends) into the index.
void ScanNames(NameIndex& index, std::string_view text);
// The text of line n of the source as it is now, without its line end.
using LineReader = std::function<std::string(int n)>;
// The count lines from first on were replaced by newCount lines: reads those again, and the
// lines after them whose block-comment state at their start changed; the others only move.
void ChangeLines(NameIndex& index, int first, int count, int newCount, const LineReader& line);

// The lines an edit is about to replace, kept to tell afterwards whether it changed what they
// declare.
struct EditedLines {
  int first = 0;
  std::vector<LineNames> lines;
};
EditedLines LinesBeforeEdit(const NameIndex& index, int first, int count);
// After ChangeLines replaced the lines of before with newCount lines: when those declare what
// they declared, in the same order, and end in the block-comment state they ended in, the names
// gathered from the index before (in line order, as GatherNames gives them) are moved to their
// lines now, the lines below the edit by the lines it added or removed, and the result is true:
// they are what GatherNames would give now. False when a declaration changed: gather again.
bool MoveGatheredNames(std::vector<Declaration>& names, const EditedLines& before, const NameIndex& index,
                       int newCount);

// Every declaration in line order, with its line and scope: parameters and the names declared
// inside a sub or function are known from its first line to its end, fields belong to their
// type, everything else is known in the whole source. A name declared by its first assignment,
// input or for is left out where the same name is already known.
std::vector<Declaration> GatherNames(const NameIndex& index);

struct IncludeLine {
  int line;
  std::string name;  // as written
};
std::vector<IncludeLine> IncludesOf(const NameIndex& index);

// Reads the file at path; false when it cannot be read.
using FileReader = std::function<bool(const std::string& path, std::string& text)>;
struct IncludedFile {
  std::string path;  // relative names behind the including folder, as NormalPath gives it
  int depth;         // 1 for a file the source includes itself
  NameIndex names;
};
// The files a source includes, directly or through other included files, in the order the
// compile tool reads them: a relative name is taken in the folder of the file that names it,
// each file read or asked for once, known by its FileNameKey (so "lib\..\x" is "x", and the
// source itself is never read), files that cannot be read left out, and includes followed 32
// files deep.
std::vector<IncludedFile> GatherIncludes(const std::string& path, const NameIndex& index, const FileReader& read);
