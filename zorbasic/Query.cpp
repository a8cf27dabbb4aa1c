// Answers to the IDE's queries. The IDE inserts the directive into a copy of the editor text:
// #list and #recordof as CR LF, the directive, CR LF after the caret's line, and #show with
// its file name at the start of the caret's line. Taking exactly that back out restores the
// user's text, so every line number in an answer is the line number in the editor. The
// program is read by the same front end as a run, without opening #include files.
#include "zorbasic/Query.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "zorbasic/Builtins.h"
#include "zorbasic/Front.h"
#include "zorbasic/Lexer.h"

namespace zb {

namespace {

enum class Directive { None, List, Recordof, Show };

struct Found {
  Directive kind = Directive::None;
  size_t lineStart = 0, lineEnd = 0;  // the directive's line, without its line break
  size_t argStart = 0;                // the first byte after the quoted file name and one blank
  std::string file;
  std::string arg;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The directive at position p (a '#' that starts a line after blanks), if it is one.
bool ReadDirective(std::string_view text, size_t lineStart, size_t p, Found& f) {
  static const std::pair<std::string_view, Directive> names[] = {
      {"list", Directive::List}, {"recordof", Directive::Recordof}, {"show", Directive::Show}};
  size_t q = p + 1;
  size_t w = q;
  while (w < text.size() && ((text[w] | 32) >= 'a' && (text[w] | 32) <= 'z')) ++w;
  Directive kind = Directive::None;
  for (const auto& [name, k] : names)
    if (SameWord(text.substr(q, w - q), name)) kind = k;
  if (kind == Directive::None) return false;
  while (w < text.size() && IsBlank(text[w])) ++w;
  if (w >= text.size() || text[w] != '"') return false;
  size_t close = w + 1;
  while (close < text.size() && text[close] != '"' && text[close] != '\r' && text[close] != '\n') ++close;
  if (close >= text.size() || text[close] != '"') return false;
  size_t end = close + 1;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  f.kind = kind;
  f.lineStart = lineStart;
  f.lineEnd = end;
  f.file = std::string(text.substr(w + 1, close - w - 1));
  f.argStart = close + 1 < end && text[close + 1] == ' ' ? close + 2 : close + 1;
  f.arg = std::string(TrimView(text.substr(close + 1, end - close - 1)));
  return true;
}

Found FindDirective(std::string_view text) {
  Found f;
  size_t p = 0;
  while ((p = text.find('#', p)) != std::string_view::npos) {
    size_t lineStart = p;
    while (lineStart > 0 && IsBlank(text[lineStart - 1])) --lineStart;
    if ((lineStart == 0 || text[lineStart - 1] == '\n' || text[lineStart - 1] == '\r') && ReadDirective(text, lineStart, p, f))
      return f;
    ++p;
  }
  return f;
}

// The user's text: the query text without what the IDE inserted.
std::string UserText(std::string_view text, const Found& f) {
  std::string user;
  if (f.kind == Directive::Show) {
    user.reserve(text.size());
    user.append(text.substr(0, f.lineStart));
    user.append(text.substr(f.argStart));
    return user;
  }
  size_t from = f.lineStart, to = f.lineEnd;
  bool breakBefore = from >= 2 && text[from - 2] == '\r' && text[from - 1] == '\n';
  size_t after = to < text.size() && text[to] == '\r' && to + 1 < text.size() && text[to + 1] == '\n' ? 2
                 : to < text.size() ? 1 : 0;
  if (breakBefore) from -= 2;
  to += after;
  user.reserve(text.size());
  user.append(text.substr(0, from));
  if (to >= text.size() && breakBefore && after == 2 && user.size() >= 2 && user.compare(user.size() - 2, 2, "  ") == 0) {
    user.resize(user.size() - 2);  // the blanks the IDE padded the last line with
  }
  user.append(text.substr(to));
  return user;
}

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (size_t p = 0; p < text.size(); ++p) {
      if (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n') ++p;
      if (text[p] == '\n' || text[p] == '\r') starts_.push_back(p + 1);
    }
  }
  // Line n (0-based) without its line break.
  std::string_view Line(size_t n) const {
    if (n >= starts_.size()) return {};
    size_t b = starts_[n];
    size_t e = n + 1 < starts_.size() ? starts_[n + 1] : text_.size();
    while (e > b && (text_[e - 1] == '\n' || text_[e - 1] == '\r')) --e;
    return text_.substr(b, e - b);
  }
  size_t LineOf(size_t pos) const {
    return static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), pos) - starts_.begin()) - 1;
  }

 private:
  std::string_view text_;
  std::vector<size_t> starts_;
};

bool IsDirectiveWord(std::string_view w) {
  static const std::string_view directives[] = {"#include", "#define", "#ifdef", "#ifndef", "#else", "#endif", "#list", "#recordof", "#show"};
  for (std::string_view d : directives)
    if (SameWord(w, d)) return true;
  return false;
}

struct Analysis {
  uintptr_t stackFloor = 0;
  Program prog;
  std::vector<Decl> defines;
  bool checked = false;  // the whole program went through the front end
  bool hasError = false;
  int errorLine = 0;
  std::string error;
};

// Up to this size a query checks the whole program; a longer one is answered from the
// lines that can declare the words asked about, so the IDE never waits long for an answer.
constexpr size_t FullCheckBytes = 2 * 1024 * 1024;

void Analyse(const std::string& text, Analysis& a, bool whole) {
  a.prog.stackFloor = a.stackFloor;
  std::vector<Diag> diags;
  PreprocessOptions options;
  options.includes = false;
  a.prog.unit = Preprocess("", text, nullptr, options, diags);
  std::vector<Problem> problems;
  Parse(a.prog, problems);
  Check(a.prog, problems);
  if (!whole) return;
  a.checked = true;
  for (const Diag& d : diags) problems.push_back({d.line - 1, d.message});
  for (const Problem& p : problems) {
    if (!a.hasError || p.line < a.errorLine) {
      a.hasError = true;
      a.errorLine = p.line;
      a.error = p.message;
    }
  }
}

bool AnyWord(const std::vector<std::string>& words, std::string_view name) {
  for (const std::string& w : words)
    if (w.size() == name.size() && SameWord(w, name)) return true;
  return false;
}

// One pass of the lexer over the user's text: the lines where the words occur, the #define
// lines, and which lines can declare one of the words (the rest are not needed to find the
// declarations): sub, function and type lines and their ends, dim, const, redim, for and
// input lines, fields, and per scope the first line where a word starts a statement.
struct Scan {
  std::vector<size_t> lines;      // lines of the occurrences, each once
  std::vector<size_t> at;         // a position in each of those lines
  std::vector<bool> declaring;    // per line
  std::vector<Decl> defines;
};

Scan ScanText(const std::string& text, const std::vector<std::string>& words) {
  Scan scan;
  Lexer lex(text, true);
  int line = -1, defineLine = -1;
  Kw first = Kw::None, second = Kw::None;
  int names = 0;
  bool has = false, atStart = false, stmtStart = true;
  bool inProc = false, inType = false, mainSeen = false, procSeen = false;
  auto finish = [&]() {
    if (line < 0) return;
    bool ends = first == Kw::End && (second == Kw::Sub || second == Kw::Function || second == Kw::Type);
    bool opens = first == Kw::Sub || first == Kw::Function || first == Kw::Type;
    bool& seen = inProc ? procSeen : mainSeen;
    bool keep = opens || ends ||
                (has && (first == Kw::Dim || first == Kw::Const || first == Kw::Redim || first == Kw::For || first == Kw::Input ||
                         first == Kw::Let || inType || (atStart && !seen)));
    if (keep && has && atStart) seen = true;
    if (keep) {
      if (scan.declaring.size() <= static_cast<size_t>(line)) scan.declaring.resize(line + 1);
      scan.declaring[line] = true;
    }
    if (first == Kw::Sub || first == Kw::Function) inProc = true, procSeen = false;
    if (first == Kw::Type) inType = true;
    if (ends) inProc = inType = false;
  };
  for (;;) {
    Token t = lex.Next();
    if (t.kind == Tok::Eof) break;
    if (t.line != line) {
      finish();
      line = t.line;
      first = second = Kw::None;
      names = 0;
      has = atStart = false;
    }
    if (t.kind == Tok::End) {
      stmtStart = true;
      continue;
    }
    bool wasStart = stmtStart;
    stmtStart = false;
    if (t.kind != Tok::Name) continue;
    std::string_view name = lex.Text(t);
    if (names == 0) first = t.kw;
    if (names == 1) second = t.kw;
    ++names;
    if (t.kw == Kw::Then || t.kw == Kw::Else) stmtStart = true;
    if (defineLine == t.line) {
      Decl d;
      d.what = Decl::Define;
      d.name = std::string(name);
      d.line = t.line;
      d.text = "#define " + d.name;
      scan.defines.push_back(std::move(d));
      defineLine = -1;
    } else if (name.size() == 7 && SameWord(name, "#define")) {
      defineLine = t.line;
    }
    if (!AnyWord(words, name)) continue;
    has = true;
    atStart = atStart || wasStart;
    if (scan.lines.empty() || scan.lines.back() != static_cast<size_t>(t.line)) {
      scan.lines.push_back(static_cast<size_t>(t.line));
      scan.at.push_back(t.pos);
    }
  }
  finish();
  return scan;
}

// The analysis of the user's text: the whole of it when it is short enough, else the lines
// that can declare the words, in their places.
void AnalyseFor(const std::string& user, const Scan& scan, Analysis& a) {
  a.defines = scan.defines;
  if (user.size() <= FullCheckBytes) return Analyse(user, a, true);
  std::string reduced;
  size_t line = 0;
  for (size_t p = 0; p <= user.size();) {
    size_t e = p;
    while (e < user.size() && user[e] != '\r' && user[e] != '\n') ++e;
    if (line < scan.declaring.size() && scan.declaring[line]) reduced.append(user, p, e - p);
    reduced += '\n';
    ++line;
    if (e >= user.size()) break;
    p = e + (user[e] == '\r' && e + 1 < user.size() && user[e + 1] == '\n' ? 2 : 1);
    if (p >= user.size()) break;
  }
  Analyse(reduced, a, false);
}

// Where a declaration is, as "line N" of the user's text.
std::string LineText(int unitLine) { return "line " + std::to_string(unitLine + 1); }

std::string Describe(const Decl& d) {
  std::string s = d.text;
  if (!d.scope.empty()) s += (d.what == Decl::FieldOf ? ", field of " : d.what == Decl::Parameter ? ", parameter of " : ", in ") + d.scope;
  return s + ", " + LineText(d.line);
}

void MatchingDecls(const Analysis& a, std::string_view word, std::vector<const Decl*>& out) {
  for (const Decl& d : a.prog.decls)
    if (SameWord(d.name, word)) out.push_back(&d);
  for (const Decl& d : a.defines)
    if (SameWord(d.name, word)) out.push_back(&d);
  std::stable_sort(out.begin(), out.end(), [](const Decl* x, const Decl* y) { return x->line < y->line; });
}

// What a word is: one line per meaning.
std::vector<std::string> WhatIs(const Analysis& a, std::string_view word) {
  std::vector<std::string> what;
  std::string w(word);
  if (KeywordOf(word) != Kw::None) what.push_back(w + ": keyword");
  if (IsDirectiveWord(word)) what.push_back(w + ": directive");
  if (const BuiltinInfo* b = FindBuiltin(word)) what.push_back(w + ": built-in function " + std::string(b->signature));
  std::vector<const Decl*> decls;
  MatchingDecls(a, word, decls);
  for (const Decl* d : decls) what.push_back(w + ": " + Describe(*d));
  if (what.empty()) what.push_back(w + ": not a keyword, a built-in function or a name declared in this program");
  return what;
}

void AddLine(std::string& out, std::string_view line) {
  out.append(line);
  out += "\r\n";
}

void AddError(std::string& out, const Analysis& a) {
  if (a.hasError) AddLine(out, "first error: " + LineText(a.errorLine) + ": " + a.error);
  if (!a.checked) AddLine(out, "(the source is over 2 MB: only the lines that declare names were checked; a run checks all of it)");
}

std::string ListAnswer(const std::string& user, const std::string& word, uintptr_t floor) {
  std::string out;
  if (word.empty()) {
    AddLine(out, "no word to list");
    return out;
  }
  Analysis a;
  a.stackFloor = floor;
  Scan scan = ScanText(user, {word});
  AnalyseFor(user, scan, a);
  const std::vector<size_t>& lines = scan.lines;
  for (const std::string& w : WhatIs(a, word)) AddLine(out, w);
  out.reserve(out.size() + lines.size() * 48);
  for (size_t k = 0; k < lines.size(); ++k) {
    size_t b = scan.at[k], e = scan.at[k];
    while (b > 0 && user[b - 1] != '\n' && user[b - 1] != '\r') --b;
    while (e < user.size() && user[e] != '\n' && user[e] != '\r') ++e;
    out += "line ";
    out += std::to_string(lines[k] + 1);
    out += ": ";
    out.append(user, b, e - b);
    out += "\r\n";
  }
  if (lines.empty()) AddLine(out, "no line holds " + word);
  else AddLine(out, std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines"));
  AddError(out, a);
  return out;
}

std::string RecordAnswer(const std::string& user, const std::string& word, uintptr_t floor) {
  std::string out;
  if (word.empty()) {
    AddLine(out, "no word to look up");
    return out;
  }
  Analysis a;
  a.stackFloor = floor;
  AnalyseFor(user, ScanText(user, {word}), a);
  Lines text(user);
  if (KeywordOf(word) != Kw::None) AddLine(out, word + ": keyword");
  if (IsDirectiveWord(word)) AddLine(out, word + ": directive");
  if (const BuiltinInfo* b = FindBuiltin(word)) AddLine(out, "built-in function " + std::string(b->signature));
  std::vector<const Decl*> decls;
  MatchingDecls(a, word, decls);
  for (const Decl* d : decls) {
    std::string head = d->text;
    if (!d->scope.empty()) head += (d->what == Decl::FieldOf ? ", field of " : d->what == Decl::Parameter ? ", parameter of " : ", in ") + d->scope;
    AddLine(out, head);
    for (const std::string& field : d->more) AddLine(out, "  " + field);
    if (d->what == Decl::RecordType) AddLine(out, "end type");
    AddLine(out, LineText(d->line) + ": " + std::string(TrimView(text.Line(static_cast<size_t>(d->line)))));
  }
  if (out.empty()) AddLine(out, word + ": not declared in this program");
  AddError(out, a);
  return out;
}

std::string ShowAnswer(const std::string& user, size_t line, uintptr_t floor) {
  std::string out;
  Lines text(user);
  std::string_view shown = text.Line(line);
  std::vector<std::string> seen;
  Lexer lex(shown, true);
  for (;;) {
    Token t = lex.Next();
    if (t.kind == Tok::Eof) break;
    if (t.kind != Tok::Name) continue;
    std::string word(lex.Text(t));
    if (!AnyWord(seen, word)) seen.push_back(word);
  }
  Analysis a;
  a.stackFloor = floor;
  AnalyseFor(user, ScanText(user, seen), a);
  for (const std::string& word : seen)
    for (const std::string& w : WhatIs(a, word)) AddLine(out, w);
  if (seen.empty()) AddLine(out, "the line holds no words");
  AddError(out, a);
  return out;
}

}  // namespace

QueryAnswer AnswerQuery(std::string_view text, uintptr_t stackFloor) {
  QueryAnswer answer;
  Found f = FindDirective(text);
  if (f.kind == Directive::None || f.file.empty()) return answer;
  answer.write = true;
  answer.file = f.file;
  std::string user = UserText(text, f);
  switch (f.kind) {
    case Directive::List: answer.text = ListAnswer(user, f.arg, stackFloor); break;
    case Directive::Recordof: answer.text = RecordAnswer(user, f.arg, stackFloor); break;
    case Directive::Show: answer.text = ShowAnswer(user, Lines(user).LineOf(f.lineStart), stackFloor); break;
    default: break;
  }
  return answer;
}

}  // namespace zb
