// The parser: statements and blocks by recursive descent, expressions by precedence climbing.
// A syntax error ends the statement; parsing goes on at the next line, so a damaged program
// is still read as far as it can be.
#include "zorbasic/ParserCore.h"

namespace zb {

namespace parse {

void Parser::Run() {
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

void Parser::ReadDebugText(DebugText what, ExprPtr& place, ExprPtr& value) {
  if (what != DebugText::Expression) place = ParsePlace();
  if (what == DebugText::Assignment) Expect('=');
  if (what != DebugText::Place) value = ParseExpr();
  while (Cur().kind == Tok::End && !Cur().colon) Take();
  if (Cur().kind != Tok::Eof) Unexpected();
}

const Token& Parser::At(size_t k) {
  while (count_ <= k) {
    ring_[(head_ + count_) % ring_.size()] = lex_.Next();
    ++count_;
  }
  return ring_[(head_ + k) % ring_.size()];
}

Token Parser::Take() {
  Cur();
  Token t = std::move(ring_[head_]);
  head_ = (head_ + 1) % ring_.size();
  --count_;
  return t;
}

void Parser::Unexpected() {
  const Token& t = Cur();
  if (t.kind == Tok::Bad) Error(t.s);
  if (t.kind == Tok::End && !t.colon) Error("unexpected end of line");
  if (t.kind == Tok::Eof) Error("unexpected end of text");
  std::string what(TextOf(t));
  if (what.size() > 40) what = what.substr(0, 40) + "...";
  Error("unexpected " + what);
}

void Parser::ExpectKw(Kw kw) {
  if (!IsKw(kw)) {
    if (AtEnd() || Cur().kind == Tok::Bad) Error("expected " + std::string(KeywordText(kw)));
    Unexpected();
  }
  Take();
}

std::string Parser::TakeName(const char* what) {
  if (Cur().kind != Tok::Name || Cur().kw != Kw::None) {
    if (Cur().kind == Tok::Name) Error(std::string(TextOf(Cur())) + " is a keyword and cannot name " + what);
    Error(std::string("expected ") + what);
  }
  return std::string(TextOf(Take()));
}

Term Parser::PeekTerm() {
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

void Parser::TakeTerm(Term t) {
  bool twoWords = Cur().kw == Kw::End;
  Take();
  if (twoWords) Take();
  (void)t;
}

Term Parser::ParseBlock(Block& b, std::initializer_list<Term> accepts) {
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

StmtPtr Parser::NewStmt(SOp op, int line) {
  auto s = std::make_unique<Stmt>();
  s->op = op;
  s->line = line;
  return s;
}

}  // namespace parse

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
  parse::Parser parser(prog, problems);
  parser.Run();
}

}  // namespace zb
