// The parser's statements: blocks, declarations, loops, procedures and record types. A
// syntax error ends the statement; parsing goes on at the next line.
#include "zorbasic/ParserCore.h"

#include <algorithm>

namespace zb::parse {

void Parser::ParseStatement(Block& b) {
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

void Parser::ParseNameStatement(Block& b) {
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

StmtPtr Parser::ParsePrint(int line) {
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

StmtPtr Parser::ParseInput(int line) {
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

void Parser::ParseTypeName(Type& type, std::string& name) {
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

void Parser::ParseSizes(DimItem& item) {
  item.size = ParseExpr();
  if (IsOp(',')) {
    Take();
    item.size2 = ParseExpr();
  }
  Expect(')');
}

StmtPtr Parser::ParseDim(int line) {
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

StmtPtr Parser::ParseRedim(int line) {
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

StmtPtr Parser::ParseConst(int line) {
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

void Parser::ParseLineStatements(Block& b) {
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

StmtPtr Parser::ParseIf() {
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

StmtPtr Parser::ParseFor() {
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

StmtPtr Parser::ParseLoop(SOp op) {
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

StmtPtr Parser::ParseSelect() {
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

void Parser::ParseProc() {
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

void Parser::ParseType() {
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

}  // namespace zb::parse
