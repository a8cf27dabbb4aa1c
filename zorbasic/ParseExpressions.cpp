// The parser's expressions, read by precedence climbing over explicit stacks of values and
// pending operators.
#include "zorbasic/ParserCore.h"

#include <algorithm>

namespace zb::parse {

ExprPtr Parser::Node(EOp op, int line) {
  auto e = std::make_unique<Expr>();
  e->op = op;
  e->line = line;
  return e;
}

ExprPtr Parser::Binary(EOp op, ExprPtr a, ExprPtr b) {
  int height = 1 + std::max(a->height, b->height);
  if (height > MaxExprHeight) TooHigh(a->line);
  auto e = Node(op, a->line);
  e->height = static_cast<uint16_t>(height);
  e->a = std::move(a);
  e->b = std::move(b);
  return e;
}

ExprPtr Parser::Unary(EOp op, ExprPtr a, int line) {
  if (a->height + 1 > MaxExprHeight) TooHigh(line);
  auto e = Node(op, line);
  e->height = static_cast<uint16_t>(a->height + 1);
  e->a = std::move(a);
  return e;
}

bool Parser::BinaryAt(EOp& op, uint8_t& level) {
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

void Parser::Reduce(ExprStack& st, uint8_t level) {
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

bool Parser::TakePrefix(ExprStack& st) {
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

bool Parser::Operand(ExprStack& st) {
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

bool Parser::EndArgument(ExprStack& st, bool close) {
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

void Parser::FieldOf(ExprStack& st) {
  Take();
  int line = Cur().line;
  std::string field = TakeName("a field");
  ExprPtr f = Unary(EOp::Field, std::move(st.values.back()), line);
  f->s = std::move(field);
  st.values.back() = std::move(f);
}

ExprPtr Parser::ParseExpression(bool placeOnly) {
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

void Parser::ParseArgs(std::vector<ExprPtr>& args, char close) {
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

ExprPtr Parser::ParsePrimary() {
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

}  // namespace zb::parse
