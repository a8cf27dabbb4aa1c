// The parser: statements and blocks by recursive descent, expressions by precedence climbing.
// A syntax error ends the statement; parsing goes on at the next line, so a damaged program
// is still read as far as it can be.
#include <algorithm>
#include <array>
#include <initializer_list>

#include "zorbasic/Front.h"
#include "zorbasic/Lexer.h"
#include "zorbasic/Stack.h"

namespace zb {

namespace {

struct ParseError {
  int line;
  std::string message;
};

enum class Term { None, Eof, EndIf, EndSub, EndFunction, EndType, EndSelect, EndWhile, EndDo, Next, Until, Else, ElseIf, Case, ProcStart };

const char* TermText(Term t) {
  switch (t) {
    case Term::EndIf: return "end if without if";
    case Term::EndSub: return "end sub without sub";
    case Term::EndFunction: return "end function without function";
    case Term::EndType: return "end type without type";
    case Term::EndSelect: return "end select without select";
    case Term::EndWhile: return "wend without while";
    case Term::EndDo: return "end do without do";
    case Term::Next: return "next without for";
    case Term::Until: return "until without repeat";
    case Term::Else: return "else without if";
    case Term::ElseIf: return "elseif without if";
    case Term::Case: return "case without select";
    default: return "unexpected statement";
  }
}

class Parser {
 public:
  Parser(Program& prog, std::vector<Problem>& problems)
      : prog_(prog), problems_(problems), lex_(prog.unit.text) {}

  void Run() {
    for (;;) {
      SkipEnds();
      if (Cur().kind == Tok::Eof) break;
      Term t = PeekTerm();
      try {
        if (t == Term::ProcStart) {
          if (Cur().kw == Kw::Type) ParseType();
          else ParseProc();
          continue;
        }
        if (t != Term::None) {
          int line = Cur().line;
          SkipLine();
          Fail(line, TermText(t));
          continue;
        }
        ParseStatement(prog_.main);
        EndOfBlockStatement();
      } catch (const ParseError& e) {
        open_ = false;
        Fail(e.line, e.message);
        SkipLine();
      }
    }
  }

 private:
  // --- tokens
  const Token& Cur() { return At(0); }
  // Up to three tokens of look-ahead in a ring; a reference stays valid until its token is taken.
  const Token& At(size_t k) {
    while (count_ <= k) {
      ring_[(head_ + count_) % ring_.size()] = lex_.Next();
      ++count_;
    }
    return ring_[(head_ + k) % ring_.size()];
  }
  Token Take() {
    Cur();
    Token t = std::move(ring_[head_]);
    head_ = (head_ + 1) % ring_.size();
    --count_;
    return t;
  }
  bool IsOp(char op, size_t k = 0) { return At(k).kind == Tok::Op && At(k).op == op; }
  bool IsKw(Kw kw, size_t k = 0) { return At(k).kind == Tok::Name && At(k).kw == kw; }
  bool AtEnd() { return Cur().kind == Tok::End || Cur().kind == Tok::Eof; }
  bool AtNewline(size_t k = 0) { return (At(k).kind == Tok::End && !At(k).colon) || At(k).kind == Tok::Eof; }
  std::string_view TextOf(const Token& t) { return lex_.Text(t); }

  [[noreturn]] void Error(const std::string& message) { throw ParseError{Cur().line, message}; }
  [[noreturn]] void Unexpected() {
    const Token& t = Cur();
    if (t.kind == Tok::Bad) Error(t.s);
    if (t.kind == Tok::End && !t.colon) Error("unexpected end of line");
    if (t.kind == Tok::Eof) Error("unexpected end of text");
    std::string what(TextOf(t));
    if (what.size() > 40) what = what.substr(0, 40) + "...";
    Error("unexpected " + what);
  }
  void Fail(int line, std::string message) {
    if (problems_.size() < 1000) problems_.push_back({line, std::move(message)});
  }
  void Expect(char op) {
    if (!IsOp(op)) Unexpected();
    Take();
  }
  void ExpectKw(Kw kw) {
    if (!IsKw(kw)) {
      if (AtEnd() || Cur().kind == Tok::Bad) Error("expected " + std::string(KeywordText(kw)));
      Unexpected();
    }
    Take();
  }
  std::string TakeName(const char* what) {
    if (Cur().kind != Tok::Name || Cur().kw != Kw::None) {
      if (Cur().kind == Tok::Name) Error(std::string(TextOf(Cur())) + " is a keyword and cannot name " + what);
      Error(std::string("expected ") + what);
    }
    return std::string(TextOf(Take()));
  }
  void SkipEnds() {
    while (Cur().kind == Tok::End) Take();
  }
  void SkipLine() {
    while (!AtNewline()) Take();
    if (Cur().kind == Tok::End) Take();
  }
  void EndOfStatement() {
    if (Cur().kind == Tok::Eof) return;
    if (Cur().kind != Tok::End) Unexpected();
    Take();
  }

  Term PeekTerm() {
    const Token& t = Cur();
    if (t.kind != Tok::Name) return Term::None;
    switch (t.kw) {
      case Kw::End:
        if (At(1).kind != Tok::Name) return Term::None;
        switch (At(1).kw) {
          case Kw::If: return Term::EndIf;
          case Kw::Sub: return Term::EndSub;
          case Kw::Function: return Term::EndFunction;
          case Kw::Type: return Term::EndType;
          case Kw::Select: return Term::EndSelect;
          case Kw::While: return Term::EndWhile;
          case Kw::Do: return Term::EndDo;
          default: return Term::None;
        }
      case Kw::Endif: return Term::EndIf;
      case Kw::Enddo: return Term::EndDo;
      case Kw::Endselect: return Term::EndSelect;
      case Kw::Endwhile:
      case Kw::Wend: return Term::EndWhile;
      case Kw::Next: return Term::Next;
      case Kw::Until: return Term::Until;
      case Kw::Else: return Term::Else;
      case Kw::Elseif: return Term::ElseIf;
      case Kw::Case: return Term::Case;
      case Kw::Sub:
      case Kw::Function:
      case Kw::Type: return Term::ProcStart;
      default: return Term::None;
    }
  }

  void TakeTerm(Term t) {
    bool twoWords = Cur().kw == Kw::End;
    Take();
    if (twoWords) Take();
    (void)t;
  }

  // Parses statements into b until one of the accepted terminators, which is left unread.
  Term ParseBlock(Block& b, std::initializer_list<Term> accepts) {
    for (;;) {
      SkipEnds();
      if (Cur().kind == Tok::Eof) return Term::Eof;
      Term t = PeekTerm();
      if (t == Term::ProcStart) return t;
      if (t != Term::None) {
        if (std::find(accepts.begin(), accepts.end(), t) != accepts.end()) return t;
        int line = Cur().line;
        SkipLine();
        Fail(line, TermText(t));
        continue;
      }
      try {
        ParseStatement(b);
        EndOfBlockStatement();
      } catch (const ParseError& e) {
        open_ = false;
        Fail(e.line, e.message);
        SkipLine();
      }
    }
  }

  // One level of blocks nested in blocks.
  struct Nest {
    explicit Nest(Parser& p, int line) : p_(p) {
      if (++p_.depth_ > MaxBlockDepth || StackFull(p_.prog_.stackFloor)) {
        --p_.depth_;
        throw ParseError{line, "blocks nested too deeply (more than 1000)"};
      }
    }
    ~Nest() { --p_.depth_; }
    Parser& p_;
  };

  // A block left open at the end of the text or before a sub: the error is noted and the
  // statement kept, and parsing goes on from where the block stopped.
  StmtPtr MissingEnd(int line, const char* message, StmtPtr s) {
    Fail(line, message);
    open_ = true;
    return s;
  }
  void EndOfBlockStatement() {
    if (open_) open_ = false;
    else EndOfStatement();
  }

  StmtPtr NewStmt(SOp op, int line) {
    auto s = std::make_unique<Stmt>();
    s->op = op;
    s->line = line;
    return s;
  }

  // --- statements
  void ParseStatement(Block& b) {
    const Token& t = Cur();
    int line = t.line;
    if (t.kind != Tok::Name) Unexpected();
    if (t.kw == Kw::None) return ParseNameStatement(b);
    Kw kw = t.kw;
    switch (kw) {
      case Kw::Print: Take(); return b.stmts.push_back(ParsePrint(line));
      case Kw::Input: Take(); return b.stmts.push_back(ParseInput(line));
      case Kw::Mbox:
      case Kw::Msgbox: {
        Take();
        auto s = NewStmt(SOp::Mbox, line);
        s->a = ParseExpr();
        return b.stmts.push_back(std::move(s));
      }
      case Kw::Dim: Take(); return b.stmts.push_back(ParseDim(line));
      case Kw::Redim: Take(); return b.stmts.push_back(ParseRedim(line));
      case Kw::Const: Take(); return b.stmts.push_back(ParseConst(line));
      case Kw::Let: Take(); return ParseNameStatement(b);
      case Kw::If: return b.stmts.push_back(ParseIf());
      case Kw::For: return b.stmts.push_back(ParseFor());
      case Kw::While: return b.stmts.push_back(ParseLoop(SOp::While));
      case Kw::Do: return b.stmts.push_back(ParseLoop(SOp::Do));
      case Kw::Repeat: return b.stmts.push_back(ParseLoop(SOp::Repeat));
      case Kw::Select: return b.stmts.push_back(ParseSelect());
      case Kw::Exit: {
        Take();
        SOp op;
        if (IsKw(Kw::For)) op = SOp::ExitFor;
        else if (IsKw(Kw::While)) op = SOp::ExitWhile;
        else if (IsKw(Kw::Do)) op = SOp::ExitDo;
        else if (IsKw(Kw::Sub) || IsKw(Kw::Function)) op = SOp::ExitProc;
        else Error("expected for, while, do, sub or function after exit");
        auto s = NewStmt(op, line);
        s->name = KeywordText(Cur().kw);
        Take();
        return b.stmts.push_back(std::move(s));
      }
      case Kw::Break: Take(); return b.stmts.push_back(NewStmt(SOp::Break, line));
      case Kw::Continue: Take(); return b.stmts.push_back(NewStmt(SOp::Continue, line));
      case Kw::Call: {
        Take();
        auto s = NewStmt(SOp::CallSub, line);
        s->name = TakeName("a sub");
        if (IsOp('(')) {
          Take();
          ParseArgs(s->args, ')');
        } else if (!AtEnd()) {
          ParseArgs(s->args, 0);
        }
        return b.stmts.push_back(std::move(s));
      }
      case Kw::Goto:
      case Kw::Gosub: {
        Take();
        auto s = NewStmt(kw == Kw::Goto ? SOp::Goto : SOp::Gosub, line);
        s->name = TakeName("a label");
        return b.stmts.push_back(std::move(s));
      }
      case Kw::Return: {
        Take();
        auto s = NewStmt(SOp::Return, line);
        if (!AtEnd() && !IsKw(Kw::Else)) s->a = ParseExpr();
        return b.stmts.push_back(std::move(s));
      }
      case Kw::End:
      case Kw::Terminate: Take(); return b.stmts.push_back(NewStmt(SOp::End, line));
      default: Unexpected();
    }
  }

  [[gnu::noinline]] void ParseNameStatement(Block& b) {
    int line = Cur().line;
    if (Cur().kind == Tok::Name && Cur().kw == Kw::None && At(1).kind == Tok::End && At(1).colon && AtNewline(2)) {
      auto s = NewStmt(SOp::Label, line);
      s->name = std::string(TextOf(Take()));
      Take();  // the colon; the line break ends the statement
      return b.stmts.push_back(std::move(s));
    }
    if (Cur().kind != Tok::Name || Cur().kw != Kw::None) Unexpected();
    ExprPtr target = ParsePlace();
    if (IsOp('=')) {
      Take();
      auto s = NewStmt(SOp::Assign, line);
      s->a = std::move(target);
      s->b = ParseExpr();
      return b.stmts.push_back(std::move(s));
    }
    auto s = NewStmt(SOp::CallSub, line);
    if (target->op == EOp::Name) {
      s->name = target->s;
      if (!AtEnd() && !IsKw(Kw::Else)) ParseArgs(s->args, 0);
    } else if (target->op == EOp::CallOrIndex) {
      s->name = target->s;
      s->args = std::move(target->args);
    } else {
      Error("expected = after " + target->s);
    }
    b.stmts.push_back(std::move(s));
  }

  [[gnu::noinline]] StmtPtr ParsePrint(int line) {
    auto s = NewStmt(SOp::Print, line);
    while (!AtEnd() && !IsKw(Kw::Else)) {
      PrintItem item;
      if (!IsOp(',') && !IsOp(';')) item.value = ParseExpr();
      if (IsOp(',') || IsOp(';')) item.sep = Take().op;
      bool more = item.sep != 0;
      s->items.push_back(std::move(item));
      if (!more) break;
    }
    return s;
  }

  [[gnu::noinline]] StmtPtr ParseInput(int line) {
    auto s = NewStmt(SOp::Input, line);
    ExprPtr first = ParseExpr();
    if (IsOp(',') || IsOp(';')) {
      Take();
      s->b = std::move(first);
      s->a = ParsePlace();
    } else {
      s->a = std::move(first);
    }
    return s;
  }

  // A type after "as": a built-in type word or a record type's name.
  void ParseTypeName(Type& type, std::string& name) {
    const Token& t = Cur();
    if (t.kind != Tok::Name) Error("expected a type");
    name = Lower(TextOf(t));
    switch (t.kw) {
      case Kw::Int: case Kw::Integer: case Kw::Long: type = {Base::Int, -1}; break;
      case Kw::Byte: type = {Base::Byte, -1}; break;
      case Kw::Word: type = {Base::Word, -1}; break;
      case Kw::Dword: type = {Base::Dword, -1}; break;
      case Kw::Float: case Kw::Single: case Kw::Double: type = {Base::Float, -1}; break;
      case Kw::Bool: type = {Base::Bool, -1}; break;
      case Kw::String: type = {Base::Str, -1}; break;
      case Kw::None: type = {Base::Rec, -1}; name = std::string(TextOf(t)); break;
      default: Error("expected a type");
    }
    Take();
  }

  // An array's sizes after its "(": one, or two for two dimensions, and the ")".
  void ParseSizes(DimItem& item) {
    item.size = ParseExpr();
    if (IsOp(',')) {
      Take();
      item.size2 = ParseExpr();
    }
    Expect(')');
  }

  [[gnu::noinline]] StmtPtr ParseDim(int line) {
    auto s = NewStmt(SOp::Dim, line);
    bool common = false;
    Type commonType;
    std::string commonName;
    if (IsKw(Kw::As)) {
      Take();
      ParseTypeName(commonType, commonName);
      common = true;
    }
    for (;;) {
      DimItem item;
      item.line = Cur().line;
      item.name = TakeName("a variable");
      if (IsOp('(')) {
        Take();
        ParseSizes(item);
      }
      if (IsKw(Kw::As)) {
        if (common) Error("the type is already given after dim");
        Take();
        ParseTypeName(item.type, item.typeName);
        item.hasType = true;
      } else if (common) {
        item.type = commonType;
        item.typeName = commonName;
        item.hasType = true;
      }
      if (IsOp('=')) {
        if (item.size) Error("an array cannot be given a value in its dim");
        Take();
        item.init = ParseExpr();
      }
      s->dims.push_back(std::move(item));
      if (!IsOp(',')) break;
      Take();
    }
    // "dim a, b as int": names without a type take the type given after them.
    for (size_t k = s->dims.size(); k-- > 0;) {
      DimItem& d = s->dims[k];
      if (d.hasType || k + 1 == s->dims.size() || !s->dims[k + 1].hasType || d.init) continue;
      d.type = s->dims[k + 1].type;
      d.typeName = s->dims[k + 1].typeName;
      d.hasType = true;
    }
    return s;
  }

  [[gnu::noinline]] StmtPtr ParseRedim(int line) {
    auto s = NewStmt(SOp::Redim, line);
    for (;;) {
      DimItem item;
      item.line = Cur().line;
      item.name = TakeName("an array");
      Expect('(');
      ParseSizes(item);
      if (IsKw(Kw::As)) {
        Take();
        ParseTypeName(item.type, item.typeName);
        item.hasType = true;
      }
      s->dims.push_back(std::move(item));
      if (!IsOp(',')) break;
      Take();
    }
    return s;
  }

  [[gnu::noinline]] StmtPtr ParseConst(int line) {
    auto s = NewStmt(SOp::Const, line);
    for (;;) {
      DimItem item;
      item.line = Cur().line;
      item.name = TakeName("a constant");
      if (IsKw(Kw::As)) {
        Take();
        ParseTypeName(item.type, item.typeName);
        item.hasType = true;
      }
      Expect('=');
      item.init = ParseExpr();
      s->dims.push_back(std::move(item));
      if (!IsOp(',')) break;
      Take();
    }
    return s;
  }

  // The statements of a one-line if, up to else or the end of the line.
  void ParseLineStatements(Block& b) {
    for (;;) {
      ParseStatement(b);
      if (Cur().kind == Tok::End && Cur().colon && !AtNewline(1)) {
        Take();
        continue;
      }
      if (Cur().kind == Tok::End && Cur().colon) Take();
      return;
    }
  }

  StmtPtr ParseIf() {
    int line = Cur().line;
    Nest nest(*this, line);
    Take();
    auto s = NewStmt(SOp::If, line);
    s->args.push_back(ParseExpr());
    ExpectKw(Kw::Then);
    s->blocks.emplace_back();
    if (!AtNewline()) {
      ParseLineStatements(s->blocks.back());
      if (IsKw(Kw::Else)) {
        Take();
        s->hasElse = true;
        s->blocks.emplace_back();
        ParseLineStatements(s->blocks.back());
      }
      return s;
    }
    Term t = ParseBlock(s->blocks.back(), {Term::Else, Term::ElseIf, Term::EndIf});
    while (t == Term::ElseIf) {
      Take();
      s->args.push_back(ParseExpr());
      ExpectKw(Kw::Then);
      s->blocks.emplace_back();
      t = ParseBlock(s->blocks.back(), {Term::Else, Term::ElseIf, Term::EndIf});
    }
    if (t == Term::Else) {
      Take();
      s->hasElse = true;
      s->blocks.emplace_back();
      t = ParseBlock(s->blocks.back(), {Term::EndIf});
    }
    if (t != Term::EndIf) return MissingEnd(line, "if without end if", std::move(s));
    TakeTerm(t);
    return s;
  }

  StmtPtr ParseFor() {
    int line = Cur().line;
    Nest nest(*this, line);
    Take();
    auto s = NewStmt(SOp::For, line);
    auto counter = std::make_unique<Expr>();
    counter->op = EOp::Name;
    counter->line = Cur().line;
    counter->s = TakeName("a counter");
    s->a = std::move(counter);
    Expect('=');
    s->b = ParseExpr();
    ExpectKw(Kw::To);
    s->c = ParseExpr();
    if (IsKw(Kw::Step)) {
      Take();
      s->d = ParseExpr();
    }
    s->blocks.emplace_back();
    Term t = ParseBlock(s->blocks.back(), {Term::Next});
    if (t != Term::Next) return MissingEnd(line, "for without next", std::move(s));
    Take();
    if (Cur().kind == Tok::Name && Cur().kw == Kw::None) s->name = std::string(TextOf(Take()));
    return s;
  }

  StmtPtr ParseLoop(SOp op) {
    int line = Cur().line;
    Nest nest(*this, line);
    Take();
    auto s = NewStmt(op, line);
    if (op == SOp::While) s->a = ParseExpr();
    s->blocks.emplace_back();
    Term want = op == SOp::While ? Term::EndWhile : op == SOp::Do ? Term::EndDo : Term::Until;
    Term t = ParseBlock(s->blocks.back(), {want});
    if (t != want) {
      return MissingEnd(line, op == SOp::While ? "while without wend" : op == SOp::Do ? "do without end do" : "repeat without until", std::move(s));
    }
    TakeTerm(t);
    if (op == SOp::Repeat) s->a = ParseExpr();
    return s;
  }

  StmtPtr ParseSelect() {
    int line = Cur().line;
    Nest nest(*this, line);
    Take();
    if (IsKw(Kw::Case)) Take();
    auto s = NewStmt(SOp::Select, line);
    s->a = ParseExpr();
    EndOfStatement();
    Block before;
    Term t = ParseBlock(before, {Term::Case, Term::EndSelect});
    if (!before.stmts.empty()) Fail(before.stmts[0]->line, "statement before the first case");
    while (t == Term::Case) {
      CaseArm arm;
      arm.line = Cur().line;
      Take();
      try {
        if (IsKw(Kw::Else)) {
          Take();
          if (s->hasElse) Error("a second case else");
          s->hasElse = true;
        } else {
          for (;;) {
            CaseItem item;
            if (Cur().kind == Tok::Name && SameWord(TextOf(Cur()), "is") && IsComparison(At(1))) {
              // case is > 9: the select value compared with the value that follows.
              Take();
              uint8_t level = 0;
              BinaryAt(item.compare, level);
              Take();
              item.lo = ParseExpr();
              arm.items.push_back(std::move(item));
              if (!IsOp(',')) break;
              Take();
              continue;
            }
            item.lo = ParseExpr();
            if (IsKw(Kw::To)) {
              Take();
              item.hi = ParseExpr();
            }
            arm.items.push_back(std::move(item));
            if (!IsOp(',')) break;
            Take();
          }
        }
        if (!AtEnd()) Unexpected();
      } catch (const ParseError& e) {
        Fail(e.line, e.message);
        SkipLine();
      }
      t = ParseBlock(arm.body, {Term::Case, Term::EndSelect});
      s->arms.push_back(std::move(arm));
    }
    if (t != Term::EndSelect) return MissingEnd(line, "select without end select", std::move(s));
    TakeTerm(t);
    return s;
  }

  void ParseProc() {
    int line = Cur().line;
    Proc proc;
    proc.isFunction = Cur().kw == Kw::Function;
    proc.line = line;
    Take();
    try {
      proc.name = TakeName(proc.isFunction ? "a function" : "a sub");
      if (IsOp('(')) {
        Take();
        while (!IsOp(')')) {
          Param p;
          p.line = Cur().line;
          if (IsKw(Kw::Byref)) Take(), p.byref = true;
          else if (IsKw(Kw::Byval)) Take();
          p.name = TakeName("a parameter");
          if (IsKw(Kw::As)) {
            Take();
            ParseTypeName(p.type, p.typeName);
          } else {
            p.type = {Base::Float, -1};
            p.typeName = "float";
          }
          proc.params.push_back(std::move(p));
          if (IsOp(',')) {
            Take();
            continue;
          }
          if (!IsOp(')')) Unexpected();
        }
        Take();
      }
      proc.ret = {proc.isFunction ? Base::Float : Base::Void, -1};
      proc.retName = proc.isFunction ? "float" : "";
      if (IsKw(Kw::As)) {
        if (!proc.isFunction) Error("a sub has no result type");
        Take();
        ParseTypeName(proc.ret, proc.retName);
      }
      EndOfStatement();
    } catch (const ParseError& e) {
      Fail(e.line, e.message);
      SkipLine();
    }
    Term want = proc.isFunction ? Term::EndFunction : Term::EndSub;
    Term t = ParseBlock(proc.body, {want});
    if (t != want) {
      Fail(line, proc.isFunction ? "function without end function" : "sub without end sub");
    } else {
      proc.endLine = Cur().line;
      TakeTerm(t);
      if (!AtEnd()) {
        Fail(Cur().line, "unexpected text after the end of the " + std::string(proc.isFunction ? "function" : "sub"));
        SkipLine();
      }
    }
    if (!proc.name.empty()) prog_.procs.push_back(std::move(proc));
  }

  void ParseType() {
    int line = Cur().line;
    RecType rec;
    rec.line = line;
    Take();
    try {
      rec.name = TakeName("a type");
      EndOfStatement();
    } catch (const ParseError& e) {
      Fail(e.line, e.message);
      SkipLine();
    }
    for (;;) {
      SkipEnds();
      Term t = PeekTerm();
      if (t == Term::EndType) {
        TakeTerm(t);
        break;
      }
      if (Cur().kind == Tok::Eof || t == Term::ProcStart) {
        Fail(line, "type without end type");
        break;
      }
      try {
        std::vector<Field> names;
        for (;;) {
          Field f;
          f.line = Cur().line;
          f.name = TakeName("a field");
          names.push_back(std::move(f));
          if (!IsOp(',')) break;
          Take();
        }
        ExpectKw(Kw::As);
        Type type;
        std::string typeName;
        ParseTypeName(type, typeName);
        for (Field& f : names) {
          f.type = type;
          f.typeName = typeName;
          rec.fields.push_back(std::move(f));
        }
        EndOfStatement();
      } catch (const ParseError& e) {
        Fail(e.line, e.message);
        SkipLine();
      }
    }
    if (!rec.name.empty()) prog_.types.push_back(std::move(rec));
  }

  // --- expressions
  // Read by precedence climbing over explicit stacks of values and pending operators, so
  // parentheses, signs and calls nest as deep as the text goes without using the native stack;
  // only the height of the tree is limited, since everything after the parser walks it.
  // Levels from the loosest; operators of one level group from the left.
  enum Level : uint8_t { LOr = 1, LAnd, LNot, LCompare, LShift, LAdd, LMod, LIntDiv, LMul, LNeg, LPow };

  struct Pending {
    enum What : uint8_t { Binary, Prefix, Paren, Args } what = Binary;
    EOp op = EOp::Add;
    uint8_t level = 0;
    int line = 0;
    ExprPtr call;  // Args: the name whose arguments are being read
  };

  struct ExprStack {
    std::vector<ExprPtr> values;
    std::vector<Pending> ops;
    int open = 0;  // parentheses and argument lists among ops
  };

  ExprPtr Node(EOp op, int line) {
    auto e = std::make_unique<Expr>();
    e->op = op;
    e->line = line;
    return e;
  }

  static void TooHigh(int line) { throw ParseError{line, "expression too long: more than 10000 operators deep"}; }

  ExprPtr Binary(EOp op, ExprPtr a, ExprPtr b) {
    int height = 1 + std::max(a->height, b->height);
    if (height > MaxExprHeight) TooHigh(a->line);
    auto e = Node(op, a->line);
    e->height = static_cast<uint16_t>(height);
    e->a = std::move(a);
    e->b = std::move(b);
    return e;
  }

  ExprPtr Unary(EOp op, ExprPtr a, int line) {
    if (a->height + 1 > MaxExprHeight) TooHigh(line);
    auto e = Node(op, line);
    e->height = static_cast<uint16_t>(a->height + 1);
    e->a = std::move(a);
    return e;
  }

  // The binary operator at the current token, with its level.
  bool BinaryAt(EOp& op, uint8_t& level) {
    const Token& t = Cur();
    if (t.kind == Tok::Op) {
      level = LCompare;
      switch (t.op) {
        case '^': op = EOp::Pow; level = LPow; return true;
        case '*': op = EOp::Mul; level = LMul; return true;
        case '/': op = EOp::Div; level = LMul; return true;
        case '\\': op = EOp::IntDiv; level = LIntDiv; return true;
        case '+': op = EOp::Add; level = LAdd; return true;
        case '-': op = EOp::Sub; level = LAdd; return true;
        case '&': op = EOp::Concat; level = LAdd; return true;
        case '=': op = EOp::Eq; return true;
        case OpNe: op = EOp::Ne; return true;
        case '<': op = EOp::Lt; return true;
        case '>': op = EOp::Gt; return true;
        case OpLe: op = EOp::Le; return true;
        case OpGe: op = EOp::Ge; return true;
        default: return false;
      }
    }
    if (t.kind != Tok::Name) return false;
    switch (t.kw) {
      case Kw::Mod: op = EOp::Mod; level = LMod; return true;
      case Kw::Shl: op = EOp::Shl; level = LShift; return true;
      case Kw::Shr: op = EOp::Shr; level = LShift; return true;
      case Kw::And: op = EOp::And; level = LAnd; return true;
      case Kw::Or: op = EOp::Or; level = LOr; return true;
      case Kw::Xor: op = EOp::Xor; level = LOr; return true;
      default: return false;
    }
  }

  static bool IsComparison(const Token& t) {
    return t.kind == Tok::Op && (t.op == '=' || t.op == OpNe || t.op == '<' || t.op == '>' || t.op == OpLe || t.op == OpGe);
  }

  // Applies the pending operators of at least this level, down to the innermost bracket.
  void Reduce(ExprStack& st, uint8_t level) {
    while (!st.ops.empty()) {
      Pending& p = st.ops.back();
      if (p.what == Pending::Paren || p.what == Pending::Args || p.level < level) return;
      ExprPtr b = std::move(st.values.back());
      st.values.pop_back();
      if (p.what == Pending::Prefix) {
        st.values.push_back(Unary(p.op, std::move(b), p.line));
      } else {
        ExprPtr a = std::move(st.values.back());
        st.values.pop_back();
        st.values.push_back(Binary(p.op, std::move(a), std::move(b)));
      }
      st.ops.pop_back();
    }
  }

  // A sign, not or an opening parenthesis before an operand; true when one was taken.
  bool TakePrefix(ExprStack& st) {
    const Token& t = Cur();
    Pending p;
    p.line = t.line;
    if (t.kind == Tok::Op && (t.op == '-' || t.op == '+')) {
      bool minus = Take().op == '-';
      if (!minus) return true;
      p.what = Pending::Prefix, p.op = EOp::Neg, p.level = LNeg;
    } else if (t.kind == Tok::Name && t.kw == Kw::Not) {
      Take();
      p.what = Pending::Prefix, p.op = EOp::Not, p.level = LNot;
    } else if (t.kind == Tok::Op && t.op == '(') {
      Take();
      p.what = Pending::Paren;
      ++st.open;
    } else {
      return false;
    }
    st.ops.push_back(std::move(p));
    return true;
  }

  // An operand: a literal or a name. A name followed by "(" opens its argument list: then
  // the first argument comes next and the result is true.
  bool Operand(ExprStack& st) {
    ExprPtr e = ParsePrimary();
    if (e->op != EOp::Name || !IsOp('(')) {
      st.values.push_back(std::move(e));
      return false;
    }
    Take();
    e->op = EOp::CallOrIndex;
    if (IsOp(')')) {
      Take();
      st.values.push_back(std::move(e));
      return false;
    }
    Pending p;
    p.what = Pending::Args;
    p.line = e->line;
    p.call = std::move(e);
    st.ops.push_back(std::move(p));
    ++st.open;
    return true;
  }

  // Ends the innermost argument's value: it joins its call's arguments. True at a ")".
  bool EndArgument(ExprStack& st, bool close) {
    Reduce(st, 0);
    Pending& p = st.ops.back();
    if (p.what == Pending::Paren) {
      if (!close) Unexpected();
      Take();
      st.ops.pop_back();
      --st.open;
      return true;
    }
    ExprPtr value = std::move(st.values.back());
    st.values.pop_back();
    Take();
    p.call->height = static_cast<uint16_t>(std::max<int>(p.call->height, value->height + 1));
    if (p.call->height > MaxExprHeight) TooHigh(p.line);
    p.call->args.push_back(std::move(value));
    if (!close) return false;
    st.values.push_back(std::move(p.call));
    st.ops.pop_back();
    --st.open;
    return true;
  }

  void FieldOf(ExprStack& st) {
    Take();
    int line = Cur().line;
    std::string field = TakeName("a field");
    ExprPtr f = Unary(EOp::Field, std::move(st.values.back()), line);
    f->s = std::move(field);
    st.values.back() = std::move(f);
  }

  // An expression; placeOnly reads just a place (a name with its indexes and fields), as the
  // start of an assignment or the variable of input.
  ExprPtr ParseExpression(bool placeOnly) {
    ExprStack st;
    bool operand = true;  // an operand comes next
    for (;;) {
      if (operand) {
        if (placeOnly && st.open == 0) {
          if (Cur().kind != Tok::Name || Cur().kw != Kw::None) Unexpected();
        } else if (TakePrefix(st)) {
          continue;
        }
        operand = Operand(st);
        continue;
      }
      if (IsOp('.')) {
        FieldOf(st);
        continue;
      }
      if (st.open > 0 && (IsOp(')') || IsOp(','))) {
        operand = !EndArgument(st, IsOp(')'));
        continue;
      }
      EOp op;
      uint8_t level;
      if ((placeOnly && st.open == 0) || !BinaryAt(op, level)) break;
      int line = Take().line;
      Reduce(st, level);
      Pending p;
      p.what = Pending::Binary, p.op = op, p.level = level, p.line = line;
      st.ops.push_back(std::move(p));
      operand = true;
    }
    if (st.open > 0) Unexpected();
    Reduce(st, 0);
    return std::move(st.values.back());
  }

  ExprPtr ParseExpr() { return ParseExpression(false); }
  ExprPtr ParsePlace() { return ParseExpression(true); }

  void ParseArgs(std::vector<ExprPtr>& args, char close) {
    if (close && IsOp(close)) {
      Take();
      return;
    }
    for (;;) {
      args.push_back(ParseExpr());
      if (IsOp(',')) {
        Take();
        continue;
      }
      if (close) Expect(close);
      return;
    }
  }

  // A literal or a name.
  ExprPtr ParsePrimary() {
    const Token& t = Cur();
    int line = t.line;
    switch (t.kind) {
      case Tok::Int: {
        auto e = Node(EOp::IntLit, line);
        e->i = Take().i;
        return e;
      }
      case Tok::Float: {
        auto e = Node(EOp::FloatLit, line);
        e->f = Take().f;
        return e;
      }
      case Tok::Str: {
        auto e = Node(EOp::StrLit, line);
        e->s = Take().s;
        return e;
      }
      case Tok::Name:
        if (t.kw == Kw::True || t.kw == Kw::False) {
          auto e = Node(EOp::BoolLit, line);
          e->i = Take().kw == Kw::True ? -1 : 0;
          return e;
        }
        if (t.kw == Kw::None || (t.kw == Kw::Int && IsOp('(', 1))) {
          auto e = Node(EOp::Name, line);
          e->s = std::string(TextOf(Take()));
          return e;
        }
        Unexpected();
      default:
        if (AtEnd()) Error("expected a value");
        Unexpected();
    }
  }

  Program& prog_;
  std::vector<Problem>& problems_;
  Lexer lex_;
  std::array<Token, 4> ring_;
  size_t head_ = 0, count_ = 0;
  int depth_ = 0;
  bool open_ = false;  // the last statement's block was left open
};

}  // namespace

Expr::~Expr() {
  constexpr int Tall = 64;  // below this the children's own destructors recurse
  if (height <= Tall) return;
  std::vector<std::unique_ptr<Expr>> pending;
  auto detach = [&](Expr& e) {
    if (e.a) pending.push_back(std::move(e.a));
    if (e.b) pending.push_back(std::move(e.b));
    for (auto& arg : e.args)
      if (arg) pending.push_back(std::move(arg));
  };
  detach(*this);
  while (!pending.empty()) {
    std::unique_ptr<Expr> e = std::move(pending.back());
    pending.pop_back();
    if (e->height > Tall) detach(*e);
  }
}

void Parse(Program& prog, std::vector<Problem>& problems) {
  Parser parser(prog, problems);
  parser.Run();
}

}  // namespace zb
