// Reading source files and preprocessing them into one unit. Every input line gives exactly
// one output line (directive lines and lines left out by #ifdef become empty), so a line of
// the unit always names the line of the file it came from.
#include "zorbasic/Source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "language/CharClasses.h"
#include "zorbasic/Lexer.h"
#include "zorbasic/Utf8Text.h"

namespace zb {

std::string Diag::Text() const {
  if (file.empty()) return message;
  if (line <= 0) return file + ": " + message;
  return file + "(" + std::to_string(line) + "): " + message;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  if (cut == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : "";
  return path.substr(0, cut + 1);
}

bool ReadSourceFile(const std::string& path, std::string& text, std::string& why) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) {
    why = "no such file";
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    why = "is a folder, not a source file";
    return false;
  }
  if (static_cast<int64_t>(st.st_size) > MaxSourceBytes) {
    why = "is too large (" + std::to_string(static_cast<int64_t>(st.st_size)) + " bytes; a source may have at most 64 MB)";
    return false;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) {
    why = "cannot be read";
    return false;
  }
  text.clear();
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
    text.append(chunk, got);
    if (static_cast<int64_t>(text.size()) > MaxSourceBytes) {
      why = "is too large (a source may have at most 64 MB)";
      return false;
    }
  }
  if (std::ferror(f.get())) {
    why = "cannot be read";
    return false;
  }
  if (std::memchr(text.data(), 0, text.size())) {
    why = "is not a text file (it holds binary data)";
    return false;
  }
  // A UTF-8 file's byte order mark is no part of its first line.
  if (StartsWithUtf8Mark(text)) text.erase(0, Utf8Mark.size());
  return true;
}

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The text of a #define without a trailing comment.
std::string_view CutComment(std::string_view s) {
  char quote = 0;
  for (size_t k = 0; k < s.size(); ++k) {
    char c = s[k];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '`') {
      quote = c;
    } else if (c == '\'' || (c == '/' && k + 1 < s.size() && (s[k + 1] == '/' || s[k + 1] == '*'))) {
      return Trim(s.substr(0, k));
    }
  }
  return s;
}

std::string_view LeadingName(std::string_view s) {
  size_t n = 0;
  if (n < s.size() && IsNameStart(s[n]))
    while (n < s.size() && IsNameChar(s[n])) ++n;
  return s.substr(0, n);
}

bool IsAbsolute(const std::string& p) {
  return (!p.empty() && (p[0] == '/' || p[0] == '\\')) || (p.size() >= 2 && p[1] == ':');
}

// A byte of code page 1252 in the case Windows compares file names in (see FileKey).
char FoldedLetter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 32);
  switch (u) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
  }
}

// A part of a path as Windows reads it: trailing dots and blanks dropped; "." and ".." stay,
// and a part of nothing but dots and blanks is the folder itself (".").
std::string_view TrimmedPart(std::string_view part) {
  if (part == "." || part == "..") return part;
  while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
  return part.empty() ? std::string_view(".") : part;
}

// The root of a path with "\" separators ("\\server\share\", "C:\", "C:", "\" or none), and
// whether ".." can climb no higher than it.
std::string_view RootOf(std::string_view path, bool& absolute) {
  absolute = true;
  if (path.substr(0, 2) == "\\\\") {
    size_t server = path.find('\\', 2);
    size_t share = server == std::string_view::npos ? server : path.find('\\', server + 1);
    return share == std::string_view::npos ? path : path.substr(0, share + 1);
  }
  if (path.size() >= 2 && path[1] == ':') {
    absolute = path.size() >= 3 && path[2] == '\\';
    return path.substr(0, absolute ? 3 : 2);
  }
  if (!path.empty() && path[0] == '\\') return path.substr(0, 1);
  absolute = false;
  return {};
}

// The folder that relative names of this run stand in, with a trailing separator ("" when the
// system does not say).
const std::string& CurrentFolder() {
  static const std::string folder = [] {
    char buffer[4096];
    if (!getcwd(buffer, sizeof buffer)) return std::string();
    std::string f(buffer);
    if (!f.empty() && f.back() != '/' && f.back() != '\\') f += '/';
    return f;
  }();
  return folder;
}

}  // namespace

std::string NormalPath(std::string_view path) {
  std::string slashed(path);
  for (char& c : slashed)
    if (c == '/') c = '\\';
  bool absolute = false;
  const std::string_view whole(slashed);
  const std::string_view root = RootOf(whole, absolute);
  std::vector<std::string_view> parts;
  for (size_t p = root.size(); p < whole.size();) {
    size_t end = whole.find('\\', p);
    if (end == std::string_view::npos) end = whole.size();
    std::string_view part = TrimmedPart(whole.substr(p, end - p));
    p = end + 1;
    if (part.empty() || part == ".") continue;
    if (part != "..") parts.push_back(part);
    else if (!parts.empty() && parts.back() != "..") parts.pop_back();
    else if (!absolute) parts.push_back(part);
  }
  std::string normal(root);
  for (size_t k = 0; k < parts.size(); ++k) (k ? normal += '\\' : normal) += parts[k];
  return normal;
}

std::string FileNameKey(std::string_view path) {
  std::string key = NormalPath(path);
  for (char& c : key) c = FoldedLetter(c);
  return key;
}

std::string FileKey(const std::string& path) { return FileNameKey(IsAbsolute(path) ? path : CurrentFolder() + path); }

namespace {

struct Cond {
  bool active;     // lines of the current branch are taken
  bool outer;      // the enclosing region was active
  bool inElse;
  int line;
};

class Preprocessor {
 public:
  Preprocessor(const SourceReader& reader, const PreprocessOptions& options, std::vector<Diag>& diags)
      : reader_(reader), options_(options), diags_(diags) {}

  void File(const std::string& name, std::string_view text, int depth) {
    int fileIndex = static_cast<int>(unit.files.size());
    unit.files.push_back(name);
    seen_.insert(FileKey(name));
    std::vector<Cond> conds;
    bool inBlock = false;
    int lineNo = 0, blockLine = 0;
    size_t p = 0;
    for (;;) {
      size_t e = p;
      while (e < text.size() && text[e] != '\n' && text[e] != '\r') ++e;
      std::string_view line = text.substr(p, e - p);
      ++lineNo;
      bool active = conds.empty() || conds.back().active;
      std::string_view lead = Trim(line);
      if (!inBlock && !lead.empty() && lead[0] == '#') {
        Emit(fileIndex, lineNo, "");
        Directive(name, lineNo, lead.substr(1), conds, active, depth);
      } else if (!active) {
        Emit(fileIndex, lineNo, "");
      } else if (defines_.empty()) {
        Emit(fileIndex, lineNo, line);
      } else {
        Emit(fileIndex, lineNo, Replace(line, inBlock));
      }
      bool wasInBlock = inBlock;
      inBlock = EndsInBlockComment(line, inBlock);
      if (inBlock && !wasInBlock) blockLine = lineNo;
      if (e >= text.size()) break;
      p = e + ((text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1);
      if (p >= text.size()) break;
    }
    for (const Cond& c : conds) Error(name, c.line, "#ifdef without #endif");
    // Without its */ a comment would silently take the rest of the program with it.
    if (inBlock) Error(name, blockLine, "/* without */: the comment is never closed");
  }

  Unit unit;

 private:
  void Emit(int file, int line, std::string_view text) {
    unit.text.append(text);
    unit.text += '\n';
    unit.origins.push_back({file, line});
  }

  void Error(const std::string& file, int line, std::string message) {
    diags_.push_back({file, line, std::move(message)});
  }

  void Directive(const std::string& file, int lineNo, std::string_view rest,
                 std::vector<Cond>& conds, bool active, int depth) {
    std::string word = Lower(LeadingName(rest));
    std::string_view arg = Trim(rest.substr(LeadingName(rest).size()));
    if (word == "ifdef" || word == "ifndef") {
      std::string name = Lower(LeadingName(arg));
      if (name.empty()) Error(file, lineNo, "#" + word + " needs a name");
      bool defined = defines_.count(name) > 0;
      conds.push_back({active && (defined == (word == "ifdef")), active, false, lineNo});
    } else if (word == "else") {
      if (conds.empty() || conds.back().inElse) return Error(file, lineNo, "#else without #ifdef");
      conds.back().inElse = true;
      conds.back().active = conds.back().outer && !conds.back().active;
    } else if (word == "endif") {
      if (conds.empty()) return Error(file, lineNo, "#endif without #ifdef");
      conds.pop_back();
    } else if (!active) {
      // Other directives in a region left out are left out too.
    } else if (word == "define") {
      std::string_view name = LeadingName(arg);
      if (name.empty()) return Error(file, lineNo, "#define needs a name");
      defines_[Lower(name)] = std::string(CutComment(Trim(arg.substr(name.size()))));
    } else if (word == "include") {
      Include(file, lineNo, arg, depth);
    } else if (word == "list" || word == "recordof" || word == "show") {
      // Query directives answered by the compiler library; a run leaves them alone.
    } else {
      Error(file, lineNo, "unknown directive #" + std::string(LeadingName(rest)));
    }
  }

  void Include(const std::string& file, int lineNo, std::string_view arg, int depth) {
    if (!options_.includes) return;
    if (arg.size() < 2 || (arg[0] != '"' && arg[0] != '`') || arg.find(arg[0], 1) == std::string_view::npos)
      return Error(file, lineNo, "#include needs a file name in quotes");
    std::string name(arg.substr(1, arg.find(arg[0], 1) - 1));
    std::string path = IsAbsolute(name) ? name : FolderOf(file) + name;
    if (seen_.count(FileKey(path))) return;  // each file once, however its name is written
    if (depth >= 32) return Error(file, lineNo, "#include nested too deeply");
    std::string text, why;
    if (!reader_ || !reader_(path, text, why)) return Error(file, lineNo, "cannot include \"" + name + "\": " + why);
    File(path, text, depth + 1);
  }

  std::string Replace(std::string_view line, bool inBlock) {
    Lexer lex(line, false, inBlock);
    std::string out;
    size_t done = 0;
    for (;;) {
      Token t = lex.Next();
      if (t.kind == Tok::Eof) break;
      if (t.kind != Tok::Name) continue;
      auto it = defines_.find(Lower(lex.Text(t)));
      if (it == defines_.end()) continue;
      out.append(line.substr(done, t.pos - done));
      out.append(it->second);
      done = t.pos + t.len;
    }
    out.append(line.substr(done));
    return out;
  }

  const SourceReader& reader_;
  const PreprocessOptions& options_;
  std::vector<Diag>& diags_;
  std::unordered_map<std::string, std::string> defines_;
  std::unordered_set<std::string> seen_;
};

}  // namespace

Unit Preprocess(const std::string& mainName, std::string_view mainText, const SourceReader& reader,
                const PreprocessOptions& options, std::vector<Diag>& diags) {
  Preprocessor pre(reader, options, diags);
  pre.File(mainName, mainText, 0);
  return std::move(pre.unit);
}

}  // namespace zb
