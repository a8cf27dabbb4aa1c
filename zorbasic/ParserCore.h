// The parser's parts shared by its files: the Parser class, which reads statements and blocks
// by recursive descent and expressions by precedence climbing.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "zorbasic/Front.h"
#include "zorbasic/Lexer.h"
#include "zorbasic/Stack.h"

namespace zb::parse {

struct ParseError {
  int line;
  std::string message;
};

enum class Term { None, Eof, EndIf, EndSub, EndFunction, EndType, EndSelect, EndWhile, EndDo, Next, Until, Else, ElseIf, Case, ProcStart };

inline const char* TermText(Term t) {
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

  void Run();
  // A debugger's text, alone on its line (see CheckDebugText); a syntax error is thrown.
  void ReadDebugText(DebugText what, ExprPtr& place, ExprPtr& value);

 private:
  // --- tokens
  const Token& Cur() { return At(0); }
  // Up to three tokens of look-ahead in a ring; a reference stays valid until its token is taken.
  const Token& At(size_t k);
  Token Take();
  bool IsOp(char op, size_t k = 0) { return At(k).kind == Tok::Op && At(k).op == op; }
  bool IsKw(Kw kw, size_t k = 0) { return At(k).kind == Tok::Name && At(k).kw == kw; }
  bool AtEnd() { return Cur().kind == Tok::End || Cur().kind == Tok::Eof; }
  bool AtNewline(size_t k = 0) { return (At(k).kind == Tok::End && !At(k).colon) || At(k).kind == Tok::Eof; }
  std::string_view TextOf(const Token& t) { return lex_.Text(t); }

  [[noreturn]] void Error(const std::string& message) { throw ParseError{Cur().line, message}; }
  [[noreturn]] void Unexpected();
  void Fail(int line, std::string message) {
    if (problems_.size() < 1000) problems_.push_back({line, std::move(message)});
  }
  void Expect(char op) {
    if (!IsOp(op)) Unexpected();
    Take();
  }
  void ExpectKw(Kw kw);
  std::string TakeName(const char* what);
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

  Term PeekTerm();
  void TakeTerm(Term t);

  // Parses statements into b until one of the accepted terminators, which is left unread.
  Term ParseBlock(Block& b, std::initializer_list<Term> accepts);

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

  StmtPtr NewStmt(SOp op, int line);

  // --- statements
  void ParseStatement(Block& b);
  [[gnu::noinline]] void ParseNameStatement(Block& b);
  [[gnu::noinline]] StmtPtr ParsePrint(int line);
  [[gnu::noinline]] StmtPtr ParseInput(int line);

  // A type after "as": a built-in type word or a record type's name.
  void ParseTypeName(Type& type, std::string& name);

  // An array's sizes after its "(": one, or two for two dimensions, and the ")".
  void ParseSizes(DimItem& item);
  [[gnu::noinline]] StmtPtr ParseDim(int line);
  [[gnu::noinline]] StmtPtr ParseRedim(int line);
  [[gnu::noinline]] StmtPtr ParseConst(int line);

  // The statements of a one-line if, up to else or the end of the line.
  void ParseLineStatements(Block& b);
  StmtPtr ParseIf();
  StmtPtr ParseFor();
  StmtPtr ParseLoop(SOp op);
  StmtPtr ParseSelect();
  void ParseProc();
  void ParseType();

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

  ExprPtr Node(EOp op, int line);

  static void TooHigh(int line) { throw ParseError{line, "expression too long: more than 10000 operators deep"}; }

  ExprPtr Binary(EOp op, ExprPtr a, ExprPtr b);
  ExprPtr Unary(EOp op, ExprPtr a, int line);

  // The binary operator at the current token, with its level.
  bool BinaryAt(EOp& op, uint8_t& level);

  static bool IsComparison(const Token& t) {
    return t.kind == Tok::Op && (t.op == '=' || t.op == OpNe || t.op == '<' || t.op == '>' || t.op == OpLe || t.op == OpGe);
  }

  // Applies the pending operators of at least this level, down to the innermost bracket.
  void Reduce(ExprStack& st, uint8_t level);

  // A sign, not or an opening parenthesis before an operand; true when one was taken.
  bool TakePrefix(ExprStack& st);

  // An operand: a literal or a name. A name followed by "(" opens its argument list: then
  // the first argument comes next and the result is true.
  bool Operand(ExprStack& st);

  // Ends the innermost argument's value: it joins its call's arguments. True at a ")".
  bool EndArgument(ExprStack& st, bool close);
  void FieldOf(ExprStack& st);

  // An expression; placeOnly reads just a place (a name with its indexes and fields), as the
  // start of an assignment or the variable of input.
  ExprPtr ParseExpression(bool placeOnly);

  ExprPtr ParseExpr() { return ParseExpression(false); }
  ExprPtr ParsePlace() { return ParseExpression(true); }

  void ParseArgs(std::vector<ExprPtr>& args, char close);

  // A literal or a name.
  ExprPtr ParsePrimary();

  Program& prog_;
  std::vector<Problem>& problems_;
  Lexer lex_;
  std::array<Token, 4> ring_;
  size_t head_ = 0, count_ = 0;
  int depth_ = 0;
  bool open_ = false;  // the last statement's block was left open
};

}  // namespace zb::parse
