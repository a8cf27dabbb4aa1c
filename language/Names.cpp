// Finding the declarations of a source, line by line.
#include "language/Names.h"

#include <algorithm>
#include <unordered_set>

#include "base/TextScan.h"
#include "language/LineTokens.h"

namespace {

enum class Tk : uint8_t { Name, Directive, Number, String, Op, End };

struct Token {
  Tk kind;
  char op;     // an Op's character, a String's quote; ':' for the End of a statement
  size_t pos;  // in the line
  size_t len;
};

// The code tokens of a line as the name finder reads them: an End between statements (at ":"
// and where a statement follows then or else), strings closed or open, comments left out.
void StatementTokens(std::string_view line, const LineRead& read, std::vector<Token>& out) {
  out.clear();
  for (const LineToken& t : read.tokens) {
    if (!t.IsCode()) continue;
    if (t.statementStart && !out.empty() && out.back().kind != Tk::End) out.push_back({Tk::End, ' ', t.start, 0});
    switch (t.kind) {
      case TokenKind::Name: out.push_back({Tk::Name, 0, t.start, t.length}); break;
      case TokenKind::Directive: out.push_back({Tk::Directive, '#', t.start, t.length}); break;
      case TokenKind::Number: out.push_back({Tk::Number, 0, t.start, t.length}); break;
      case TokenKind::String:
      case TokenKind::OtherQuote: out.push_back({Tk::String, line[t.start], t.start, t.length}); break;
      case TokenKind::Colon: out.push_back({Tk::End, ':', t.start, t.length}); break;
      default: out.push_back({Tk::Op, line[t.start], t.start, t.length}); break;
    }
  }
}

// One statement's tokens, with the line they come from.
class Statement {
 public:
  Statement(std::string_view line, const Token* t, size_t n) : line_(line), t_(t), n_(n) {}

  size_t Size() const { return n_; }
  std::string_view Text(size_t k) const { return k < n_ ? line_.substr(t_[k].pos, t_[k].len) : std::string_view(); }
  bool IsName(size_t k) const { return k < n_ && t_[k].kind == Tk::Name; }
  bool IsWord(size_t k, std::string_view w) const { return IsName(k) && SameText(Text(k), w); }
  bool IsOp(size_t k, char op) const { return k < n_ && t_[k].kind == Tk::Op && t_[k].op == op; }
  Tk Kind(size_t k) const { return t_[k].kind; }
  // The source text from token a to the end of token b - 1.
  std::string Between(size_t a, size_t b) const {
    if (a >= b || b > n_) return {};
    return std::string(line_.substr(t_[a].pos, t_[b - 1].pos + t_[b - 1].len - t_[a].pos));
  }
  // The source text inside the parentheses that open at token k, and the token behind them.
  std::string Inside(size_t k, size_t& after) const {
    size_t close = Closing(k);
    after = close + 1;
    if (close >= n_) return std::string(line_.substr(t_[k].pos + 1));
    return std::string(line_.substr(t_[k].pos + 1, t_[close].pos - t_[k].pos - 1));
  }
  // The index of the ")" that closes the "(" at k (n when it is missing).
  size_t Closing(size_t k) const {
    int depth = 0;
    for (size_t j = k; j < n_; ++j) {
      if (IsOp(j, '(')) ++depth;
      if (IsOp(j, ')') && --depth == 0) return j;
    }
    return n_;
  }
  // The token behind the next "," at the depth of k, or n.
  size_t NextItem(size_t k) const {
    int depth = 0;
    for (size_t j = k; j < n_; ++j) {
      if (IsOp(j, '(')) ++depth;
      if (IsOp(j, ')')) --depth;
      if (IsOp(j, ',') && depth <= 0) return j + 1;
    }
    return n_;
  }
  std::string All() const { return Between(0, n_); }

 private:
  std::string_view line_;
  const Token* t_;
  size_t n_;
};

FoundName Named(std::string_view name, NameKind kind) {
  FoundName d;
  d.name = std::string(name);
  d.kind = kind;
  return d;
}

// The type behind "as" at k ("" without one).
std::string TypeAt(const Statement& s, size_t k) {
  return s.IsWord(k, "as") && s.IsName(k + 1) ? std::string(s.Text(k + 1)) : std::string();
}

class LineReaderOfNames {
 public:
  explicit LineReaderOfNames(LineNames& out) : out_(out) {}

  void Read(const Statement& s) {
    if (s.Size() == 0) return;
    if (s.IsWord(0, "dim")) return Dim(s);
    if (s.IsWord(0, "const")) return Const(s);
    if (s.IsWord(0, "sub") || s.IsWord(0, "function")) return Callable(s);
    if (s.IsWord(0, "type") && s.IsName(1) && s.Size() == 2) return TypeStart(s);
    if (s.IsWord(0, "end")) return End(s);
    if (s.IsWord(0, "input")) return Input(s);
    if (s.IsWord(0, "for") && s.IsName(1) && s.IsOp(2, '=')) return Implicit(s.Text(1), "int");
    size_t k = s.IsWord(0, "let") ? 1 : 0;
    if (s.IsName(k) && s.IsOp(k + 1, '=')) {
      Tk value = k + 2 < s.Size() ? s.Kind(k + 2) : Tk::End;
      return Implicit(s.Text(k), value == Tk::String ? "string" : value == Tk::Number ? "float" : "");
    }
    if (s.IsName(0) && s.IsWord(1, "as")) Fields(s);
  }

  void Label(std::string_view name) {
    FoundName d = Named(name, NameKind::Label);
    d.text = std::string(name) + ":";
    out_.found.push_back(std::move(d));
  }

 private:
  // dim x as int, dim as float a, b, dim v(10) as int, dim s as string = "hi"
  void Dim(const Statement& s) {
    std::string shared = TypeAt(s, 1);
    size_t k = shared.empty() ? 1 : 3;
    const std::string text = s.All();
    for (; k < s.Size(); k = s.NextItem(k)) {
      if (!s.IsName(k)) continue;
      FoundName d = Named(s.Text(k), NameKind::Variable);
      size_t after = k + 1;
      if (s.IsOp(after, '(')) {
        d.kind = NameKind::Array;
        after = s.Closing(after) + 1;
      }
      d.type = shared.empty() ? TypeAt(s, after) : shared;
      d.text = text;
      out_.found.push_back(std::move(d));
    }
  }

  // const n = 10, m = 2
  void Const(const Statement& s) {
    const std::string text = s.All();
    for (size_t k = 1; k < s.Size(); k = s.NextItem(k)) {
      if (!s.IsName(k)) continue;
      FoundName d = Named(s.Text(k), NameKind::Constant);
      d.text = text;
      out_.found.push_back(std::move(d));
    }
  }

  // sub name(a as int, byref b as string) / function name(x as float) as float
  void Callable(const Statement& s) {
    if (!s.IsName(1)) return;
    bool isSub = s.IsWord(0, "sub");
    FoundName d = Named(s.Text(1), isSub ? NameKind::Sub : NameKind::Function);
    size_t after = 2;
    if (s.IsOp(2, '(')) d.parameters = s.Inside(2, after);
    if (!isSub) d.type = TypeAt(s, after);
    d.text = s.All();
    out_.found.push_back(std::move(d));
    out_.block = isSub ? Block::Sub : Block::Function;
    if (!s.IsOp(2, '(')) return;
    size_t close = s.Closing(2);
    for (size_t k = 3; k < close; k = s.NextItem(k)) {
      size_t at = k + (s.IsWord(k, "byref") || s.IsWord(k, "byval") ? 1 : 0);
      if (!s.IsName(at) || at >= close) continue;
      FoundName p = Named(s.Text(at), NameKind::Parameter);
      size_t typeAt = at + 1;
      if (s.IsOp(typeAt, '(')) typeAt = s.Closing(typeAt) + 1;
      p.type = TypeAt(s, typeAt);
      p.text = s.Between(k, std::min(s.NextItem(k) - (s.NextItem(k) < close ? 1 : 0), close));
      out_.found.push_back(std::move(p));
    }
  }

  void TypeStart(const Statement& s) {
    FoundName d = Named(s.Text(1), NameKind::Type);
    d.text = s.All();
    out_.found.push_back(std::move(d));
    out_.block = Block::Type;
  }

  void End(const Statement& s) {
    if (s.IsWord(1, "sub")) out_.block = Block::EndSub;
    else if (s.IsWord(1, "function")) out_.block = Block::EndFunction;
    else if (s.IsWord(1, "type")) out_.block = Block::EndType;
  }

  // input [prompt,] variable: a variable first met here is a string.
  void Input(const Statement& s) {
    size_t k = 1;
    for (size_t next = s.NextItem(1); next < s.Size(); next = s.NextItem(next)) k = next;
    if (s.IsName(k) && k + 1 == s.Size()) Implicit(s.Text(k), "string");
  }

  void Implicit(std::string_view name, std::string_view type) {
    FoundName d = Named(name, NameKind::Variable);
    d.implicit = true;
    d.type = std::string(type);
    out_.found.push_back(std::move(d));
  }

  // x as int [, y as float]: fields when the line stands inside a type; GatherNames decides.
  void Fields(const Statement& s) {
    for (size_t k = 0; k < s.Size(); k = s.NextItem(k)) {
      if (!s.IsName(k)) continue;
      size_t after = k + 1;
      if (s.IsOp(after, '(')) after = s.Closing(after) + 1;
      if (!s.IsWord(after, "as")) continue;
      FoundName d = Named(s.Text(k), NameKind::Field);
      d.type = TypeAt(s, after);
      d.text = s.Between(k, std::min(s.NextItem(k) - (s.NextItem(k) < s.Size() ? 1 : 0), s.Size()));
      out_.found.push_back(std::move(d));
    }
  }

  LineNames& out_;
};

// #include "file" (or `file`) on a line of its own.
void Directive(const std::vector<Token>& t, std::string_view line, LineNames& out) {
  if (t.size() < 2 || !SameText(line.substr(t[0].pos, t[0].len), "#include")) return;
  if (t[1].kind != Tk::String || t[1].len < 2 || line[t[1].pos + t[1].len - 1] != t[1].op) return;
  out.include = std::string(line.substr(t[1].pos + 1, t[1].len - 2));
  out.includes = true;
}

LineNames ReadNames(std::string_view line, bool inComment) {
  LineNames out;
  out.startsInComment = inComment;
  // Kept from line to line: a line needs no allocation.
  thread_local LineRead read;
  thread_local std::vector<Token> t;
  ReadLine(line, inComment, read);
  StatementTokens(line, read, t);
  out.endsInComment = read.endsInComment;
  if (t.empty()) return out;
  if (read.IsDirectiveLine()) {
    Directive(t, line, out);
    return out;
  }
  LineReaderOfNames reader(out);
  if (t.size() == 2 && t[0].kind == Tk::Name && t[1].kind == Tk::End && t[1].op == ':') {
    reader.Label(line.substr(t[0].pos, t[0].len));
    return out;
  }
  size_t b = 0;
  for (size_t k = 0; k <= t.size(); ++k) {
    if (k < t.size() && t[k].kind != Tk::End) continue;
    reader.Read(Statement(line, t.data() + b, k - b));
    b = k + 1;
  }
  return out;
}

// Calls each(line) for every line of text.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  size_t p = 0;
  for (;;) {
    size_t e = p;
    while (e < text.size() && text[e] != '\n' && text[e] != '\r') ++e;
    each(text.substr(p, e - p));
    if (e == text.size()) return;
    p = e + (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n' ? 2 : 1);
  }
}

}  // namespace

void ScanNames(NameIndex& index, std::string_view text) {
  index.lines.clear();
  index.lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  bool inComment = false;
  ForEachLine(text, [&](std::string_view line) {
    index.lines.push_back(ReadNames(line, inComment));
    inComment = index.lines.back().endsInComment;
  });
}

void ChangeLines(NameIndex& index, int first, int count, int newCount, const LineReader& line) {
  auto& lines = index.lines;
  first = std::clamp(first, 0, static_cast<int>(lines.size()));
  count = std::clamp(count, 0, static_cast<int>(lines.size()) - first);
  newCount = std::max(newCount, 0);
  if (newCount > count) lines.insert(lines.begin() + first + count, static_cast<size_t>(newCount - count), LineNames());
  if (newCount < count) lines.erase(lines.begin() + first + newCount, lines.begin() + first + count);
  bool inComment = first > 0 && lines[first - 1].endsInComment;
  for (int n = first; n < static_cast<int>(lines.size()); ++n) {
    if (n >= first + newCount && lines[n].startsInComment == inComment) break;
    lines[n] = ReadNames(line(n), inComment);
    inComment = lines[n].endsInComment;
  }
}

namespace {

bool SameFound(const FoundName& a, const FoundName& b) {
  return a.kind == b.kind && a.implicit == b.implicit && a.name == b.name && a.type == b.type &&
         a.parameters == b.parameters;
}

// What a line gives the gathering: its names, the block it opens or ends, its include.
bool SameDeclarations(const LineNames& a, const LineNames& b) {
  return a.block == b.block && a.includes == b.includes && a.include == b.include &&
         std::equal(a.found.begin(), a.found.end(), b.found.begin(), b.found.end(), SameFound);
}

bool Declares(const LineNames& line) { return !line.found.empty() || line.block != Block::None || line.includes; }

bool EndsBlock(Block b) { return b == Block::EndSub || b == Block::EndFunction || b == Block::EndType; }

// Where the lines of the index were before an edit and are now: the edit replaced the lines
// oldLines from first with newLines (each as the gathering sees them).
class LineMove {
 public:
  LineMove(int first, const std::vector<LineNames>& oldLines, const std::vector<LineNames>& newLines,
           const NameIndex& after)
      : first_(first), oldLines_(oldLines), newLines_(newLines), after_(after),
        oldCount_(static_cast<int>(oldLines.size())), added_(static_cast<int>(newLines.size()) - oldCount_) {
    for (size_t k = 0; k < oldLines.size(); ++k)
      if (Declares(oldLines[k])) oldAt_.push_back(static_cast<int>(k));
    for (size_t k = 0; k < newLines.size(); ++k)
      if (Declares(newLines[k])) newAt_.push_back(static_cast<int>(k));
  }

  // Whether any line is elsewhere now: lines were added or taken, or a declaring line moved
  // within the edit.
  bool MovesAnyLine() const { return added_ != 0 || oldAt_ != newAt_; }

  // The edited lines declare what they declared, in the same order.
  bool SameDeclarations() const {
    if (oldAt_.size() != newAt_.size()) return false;
    for (size_t j = 0; j < oldAt_.size(); ++j)
      if (!::SameDeclarations(oldLines_[static_cast<size_t>(oldAt_[j])], newLines_[static_cast<size_t>(newAt_[j])]))
        return false;
    return true;
  }

  // Where an old line that declares something, or lies outside the edit, is now.
  int Moved(int line) const {
    if (line < first_) return line;
    if (line >= first_ + oldCount_) return line + added_;
    for (size_t j = 0; j < oldAt_.size(); ++j)
      if (first_ + oldAt_[j] == line) return first_ + newAt_[j];
    return line;  // declares nothing: no name stands there
  }

  // Where the last line of a block is now: its "end" line, or the line before the next
  // opener (or the source's last line) for a block that is never ended.
  int MovedLast(int line) const {
    // Below the edit a block's last line moves with the rest; above it, it stays, but for the
    // line right above an opener that the edit moved.
    if (line >= first_ + oldCount_) return line + added_;
    if (line < first_ - 1) return line;
    const Block block = line >= first_ ? oldLines_[static_cast<size_t>(line - first_)].block
                                       : after_.lines[static_cast<size_t>(line)].block;
    return EndsBlock(block) ? Moved(line) : Moved(line + 1) - 1;
  }

  // Moves the gathered names (in line order) to their lines now.
  void Apply(std::vector<Declaration>& names) const {
    if (!MovesAnyLine()) return;  // a key typed within a line: every name stays
    // Names above the edit stay, but for the members of the block the edit stands in, whose
    // scope runs on into it or below it, or ends right above an opener that it moves.
    auto from = std::lower_bound(names.begin(), names.end(), first_,
                                 [](const Declaration& d, int line) { return d.line < line; });
    while (from != names.begin() && std::prev(from)->scopeLast != INT_MAX && std::prev(from)->scopeLast >= first_ - 1)
      --from;
    for (auto d = from; d != names.end(); ++d) {
      d->line = Moved(d->line);
      if (d->scopeLast == INT_MAX) continue;  // known in the whole source
      d->scopeFirst = Moved(d->scopeFirst);
      d->scopeLast = MovedLast(d->scopeLast);
    }
  }

 private:
  int first_;
  const std::vector<LineNames>& oldLines_;
  const std::vector<LineNames>& newLines_;
  const NameIndex& after_;
  int oldCount_, added_;
  std::vector<int> oldAt_, newAt_;  // the edited lines that declare something, from first
};

// Whether a name given by assignment, input or for at line is declared above it where it
// stands, so that the gathering drops it: gathered in line order, names stops at the line.
bool KnownAbove(const std::vector<Declaration>& names, std::string_view name, int line) {
  for (const Declaration& d : names) {
    if (d.line >= line) return false;
    if (d.kind != NameKind::Field && d.scopeFirst <= line && line <= d.scopeLast && SameText(d.name, name)) return true;
  }
  return false;
}

// The lines as the gathering sees them: without the implicit names declared above first, on
// the lines that stand in the block first stands in (up to the first that opens or ends one).
std::vector<LineNames> WithoutKnownNames(std::vector<LineNames> lines, const std::vector<Declaration>& names, int first) {
  for (LineNames& line : lines) {
    if (line.block != Block::None) break;
    line.found.erase(std::remove_if(line.found.begin(), line.found.end(),
                                    [&](const FoundName& f) { return f.implicit && KnownAbove(names, f.name, first); }),
                     line.found.end());
  }
  return lines;
}

// A set of names, letter case ignored: open addressing over views of the index's names, so
// gathering the names of a large source allocates almost nothing; clearing costs what it holds.
class NameSet {
 public:
  bool Contains(std::string_view name) const {
    if (slots_.empty()) return false;
    for (size_t k = Hash(name) & (slots_.size() - 1);; k = (k + 1) & (slots_.size() - 1)) {
      if (slots_[k].empty()) return false;
      if (SameText(slots_[k], name)) return true;
    }
  }

  void Insert(std::string_view name) {
    if ((used_.size() + 1) * 2 > slots_.size()) Grow();
    size_t k = Hash(name) & (slots_.size() - 1);
    for (; !slots_[k].empty(); k = (k + 1) & (slots_.size() - 1))
      if (SameText(slots_[k], name)) return;
    slots_[k] = name;
    used_.push_back(k);
  }

  void Clear() {
    for (size_t k : used_) slots_[k] = {};
    used_.clear();
  }

 private:
  static size_t Hash(std::string_view s) {
    size_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c)) * 16777619u;
    return h ^ (h >> 15);
  }

  void Grow() {
    std::vector<std::string_view> names;
    names.reserve(used_.size());
    for (size_t k : used_) names.push_back(slots_[k]);
    slots_.assign(std::max<size_t>(16, slots_.size() * 2), {});
    used_.clear();
    for (std::string_view name : names) Insert(name);
  }

  std::vector<std::string_view> slots_;
  std::vector<size_t> used_;
};

Declaration Placed(const FoundName& f, int n) {
  Declaration d;
  d.name = f.name;
  d.type = f.type;
  d.parameters = f.parameters;
  d.text = f.text;
  d.kind = f.kind;
  d.implicit = f.implicit;
  d.line = n;
  return d;
}

// Gathers the declarations of an index, following the blocks its lines open and close.
class Gatherer {
 public:
  explicit Gatherer(const NameIndex& index) : index_(index) {}

  std::vector<Declaration> Run() {
    const int count = static_cast<int>(index_.lines.size());
    size_t found = 0;
    for (const LineNames& line : index_.lines) found += line.found.size();
    out_.reserve(found);
    for (int n = 0; n < count; ++n) {
      const LineNames& line = index_.lines[n];
      bool opens = line.block == Block::Sub || line.block == Block::Function || line.block == Block::Type;
      if (opens && open_ != Block::None) Close(n - 1);
      for (const FoundName& f : line.found) Add(f, n, opens);
      if (line.block == Block::EndSub || line.block == Block::EndFunction || line.block == Block::EndType) Close(n);
    }
    if (open_ != Block::None) Close(count - 1);
    return std::move(out_);
  }

 private:
  void Add(const FoundName& f, int n, bool opens) {
    bool opener = opens && (f.kind == NameKind::Sub || f.kind == NameKind::Function || f.kind == NameKind::Type);
    if (opener) return Open(f, n);
    if ((f.kind == NameKind::Field) != (open_ == Block::Type)) return;  // a type holds fields only
    NameSet& known = open_ == Block::None ? globals_ : locals_;
    if (f.implicit && (known.Contains(f.name) || globals_.Contains(f.name))) return;
    known.Insert(f.name);
    out_.push_back(Placed(f, n));
    if (open_ == Block::None) return;
    out_.back().owner = owner_;
    out_.back().scopeFirst = openLine_;
  }

  void Open(const FoundName& f, int n) {
    globals_.Insert(f.name);
    out_.push_back(Placed(f, n));
    open_ = f.kind == NameKind::Sub ? Block::Sub : f.kind == NameKind::Function ? Block::Function : Block::Type;
    openLine_ = n;
    owner_ = f.name;
    firstInside_ = out_.size();
    locals_.Clear();
  }

  void Close(int last) {
    if (open_ == Block::None) return;
    for (size_t k = firstInside_; k < out_.size(); ++k) out_[k].scopeLast = last;
    open_ = Block::None;
  }

  const NameIndex& index_;
  std::vector<Declaration> out_;
  NameSet globals_, locals_;
  Block open_ = Block::None;
  int openLine_ = 0;
  std::string_view owner_;
  size_t firstInside_ = 0;
};

bool IsAbsolutePath(const std::string& p) {
  return (!p.empty() && (p[0] == '/' || p[0] == '\\')) || (p.size() >= 2 && p[1] == ':');
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  if (cut == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : "";
  return path.substr(0, cut + 1);
}

// The includes nest as deep as the compile tool follows them.
constexpr int IncludeDepth = 32;

// Follows the includes of one file. A file is asked for once per gathering, by its normalised
// name, also when it cannot be read: includes that loop back through ".." end at once.
void Follow(const std::string& path, const NameIndex& index, int depth, const FileReader& read,
            std::unordered_set<std::string>& seen, std::vector<IncludedFile>& out) {
  if (depth >= IncludeDepth) return;
  for (const IncludeLine& inc : IncludesOf(index)) {
    std::string target = NormalPath(IsAbsolutePath(inc.name) ? inc.name : FolderOf(path) + inc.name);
    if (!seen.insert(FileNameKey(target)).second) continue;
    std::string text;
    if (!read(target, text)) continue;
    IncludedFile file{target, depth + 1, {}};
    ScanNames(file.names, text);
    out.push_back(std::move(file));
    // out may grow while the included file's own includes are followed: work on a copy's place.
    size_t at = out.size() - 1;
    NameIndex names = std::move(out[at].names);
    Follow(target, names, depth + 1, read, seen, out);
    out[at].names = std::move(names);
  }
}

}  // namespace

std::vector<Declaration> GatherNames(const NameIndex& index) { return Gatherer(index).Run(); }

EditedLines LinesBeforeEdit(const NameIndex& index, int first, int count) {
  EditedLines before;
  before.first = std::clamp(first, 0, static_cast<int>(index.lines.size()));
  count = std::clamp(count, 0, static_cast<int>(index.lines.size()) - before.first);
  before.lines.assign(index.lines.begin() + before.first, index.lines.begin() + before.first + count);
  return before;
}

bool MoveGatheredNames(std::vector<Declaration>& names, const EditedLines& before, const NameIndex& index,
                       int newCount) {
  if (before.lines.empty() || newCount <= 0 || before.first + newCount > static_cast<int>(index.lines.size()))
    return false;
  // The state behind the edit decides what every later line holds.
  if (before.lines.back().endsInComment != index.lines[static_cast<size_t>(before.first + newCount - 1)].endsInComment)
    return false;
  const std::vector<LineNames> now(index.lines.begin() + before.first, index.lines.begin() + before.first + newCount);
  const LineMove move(before.first, before.lines, now, index);
  if (move.SameDeclarations()) {
    move.Apply(names);
    return true;
  }
  // An assignment typed or taken away to a name the lines above declare changes no name.
  const std::vector<LineNames> oldSeen = WithoutKnownNames(before.lines, names, before.first);
  const std::vector<LineNames> nowSeen = WithoutKnownNames(now, names, before.first);
  const LineMove seen(before.first, oldSeen, nowSeen, index);
  if (!seen.SameDeclarations()) return false;
  seen.Apply(names);
  return true;
}

std::vector<IncludeLine> IncludesOf(const NameIndex& index) {
  std::vector<IncludeLine> out;
  for (size_t n = 0; n < index.lines.size(); ++n)
    if (index.lines[n].includes) out.push_back({static_cast<int>(n), index.lines[n].include});
  return out;
}

std::vector<IncludedFile> GatherIncludes(const std::string& path, const NameIndex& index, const FileReader& read) {
  std::unordered_set<std::string> seen{FileNameKey(path)};
  std::vector<IncludedFile> out;
  Follow(path, index, 0, read, seen, out);
  return out;
}
