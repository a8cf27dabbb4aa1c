// The checker's expressions: every node typed, names resolved to slots, procedures, constants
// and built-in functions.
#include "zorbasic/CheckerCore.h"

namespace zb::check {

void Checker::Assignable(Type to, const Expr& value, int line, const std::string& what) {
  Kind k = KindOf(to);
  Kind v = value.kind;
  bool ok = (IsNumeric(k) && IsNumeric(v)) || (k == Kind::Str && v == Kind::Str) ||
            (k == Kind::Rec && v == Kind::Rec && value.type.rec == to.rec);
  if (!ok) Error(line, std::string("type mismatch: cannot give ") + KindText(v) + " to " + what + " (" + TypeName(prog_, to) + ")");
}

void Checker::Place(Expr& e) {
  if (e.op == EOp::Name) {
    Sym* s = Find(e.s);
    if (s && s->k == Sym::Const) Error(e.line, "cannot change the constant " + e.s);
  }
  Value(e);
  if (e.op != EOp::Var && e.op != EOp::Index && e.op != EOp::Field) Error(e.line, "cannot assign to " + (e.s.empty() ? std::string("this expression") : e.s));
  // A field of a function's result is a value that lives only while the statement runs.
  const Expr* root = &e;
  while (root->op == EOp::Field) root = root->a.get();
  if (root->op == EOp::Call) Error(e.line, "cannot assign to a field of the result of " + root->s);
}

void Checker::Literal(Expr& e, const ConstValue& v) {
  e.kind = v.kind;
  switch (v.kind) {
    case Kind::Str: e.op = EOp::StrLit; e.s = v.s; e.type = {Base::Str, -1}; break;
    case Kind::Float: e.op = EOp::FloatLit; e.f = v.f; e.type = {Base::Float, -1}; break;
    case Kind::Bool: e.op = EOp::BoolLit; e.i = v.i; e.type = {Base::Bool, -1}; break;
    default: e.op = EOp::IntLit; e.i = v.i; e.type = {Base::Int, -1}; break;
  }
}

void Checker::Value(Expr& root) {
  struct Step {
    Expr* e;
    bool operandsDone;
  };
  std::vector<Step> steps{{&root, false}};
  while (!steps.empty()) {
    Step step = steps.back();
    Expr& e = *step.e;
    if (step.operandsDone) {
      steps.pop_back();
      TypeNode(e);
      e.calls = e.op == EOp::Call || (e.a && e.a->calls) || (e.b && e.b->calls);
      for (const auto& arg : e.args) e.calls = e.calls || arg->calls;
      continue;
    }
    steps.back().operandsDone = true;
    switch (e.op) {
      case EOp::CallOrIndex:
        if (NamesArrayFirst(e)) ArrayArgument(e);
        for (size_t k = e.args.size(); k-- > 0;) steps.push_back({e.args[k].get(), false});
        break;
      case EOp::Field:
      case EOp::Neg:
      case EOp::Not: steps.push_back({e.a.get(), false}); break;
      case EOp::IntLit: case EOp::FloatLit: case EOp::StrLit: case EOp::BoolLit: case EOp::Name:
      case EOp::Var: case EOp::Index: case EOp::Call: case EOp::Builtin: case EOp::RefArg: break;
      default:  // the binary operators
        steps.push_back({e.b.get(), false});
        steps.push_back({e.a.get(), false});
        break;
    }
  }
}

void Checker::TypeNode(Expr& e) {
  switch (e.op) {
    case EOp::IntLit: SetType(e, {Base::Int, -1}); return;
    case EOp::FloatLit: SetType(e, {Base::Float, -1}); return;
    case EOp::StrLit: SetType(e, {Base::Str, -1}); return;
    case EOp::BoolLit: SetType(e, {Base::Bool, -1}); return;
    case EOp::Name: return NameValue(e);
    case EOp::CallOrIndex: return CallOrIndex(e);
    case EOp::Field: return FieldValue(e);
    case EOp::Var: case EOp::Index: case EOp::Call: case EOp::Builtin: case EOp::RefArg: return;  // checked already
    case EOp::Neg:
    case EOp::Not: return UnaryValue(e);
    default: return BinaryValue(e);
  }
}

void Checker::UnaryValue(Expr& e) {
  if (e.op == EOp::Neg) {
    if (!IsNumeric(e.a->kind)) Error(e.line, std::string("cannot negate ") + KindText(e.a->kind));
    return SetType(e, e.a->kind == Kind::Float ? Type{Base::Float, -1} : Type{Base::Int, -1});
  }
  if (!IsNumeric(e.a->kind)) Error(e.line, std::string("not needs a number or a comparison, not ") + KindText(e.a->kind));
  SetType(e, e.a->kind == Kind::Bool ? Type{Base::Bool, -1} : Type{Base::Int, -1});
}

void Checker::BinaryValue(Expr& e) {
  Kind a = e.a->kind, b = e.b->kind;
  auto numbers = [&](const char* op) {
    if (!IsNumeric(a) || !IsNumeric(b)) {
      Error(e.line, std::string("type mismatch: ") + op + " needs numbers, not " + KindText(IsNumeric(a) ? b : a));
    }
  };
  bool ints = (a == Kind::Int || a == Kind::Bool) && (b == Kind::Int || b == Kind::Bool);
  switch (e.op) {
    case EOp::Add:
      if (a == Kind::Str && b == Kind::Str) {
        e.op = EOp::Concat;
        SetType(e, {Base::Str, -1});
        return;
      }
      numbers("+");
      SetType(e, ints ? Type{Base::Int, -1} : Type{Base::Float, -1});
      return;
    case EOp::Sub: case EOp::Mul:
      numbers(e.op == EOp::Sub ? "-" : "*");
      SetType(e, ints ? Type{Base::Int, -1} : Type{Base::Float, -1});
      return;
    case EOp::Div: numbers("/"); SetType(e, {Base::Float, -1}); return;
    case EOp::Pow: numbers("^"); SetType(e, {Base::Float, -1}); return;
    case EOp::IntDiv: case EOp::Mod: case EOp::Shl: case EOp::Shr:
      numbers(e.op == EOp::IntDiv ? "\\" : e.op == EOp::Mod ? "mod" : e.op == EOp::Shl ? "shl" : "shr");
      SetType(e, {Base::Int, -1});
      return;
    case EOp::And: case EOp::Or: case EOp::Xor:
      numbers(e.op == EOp::And ? "and" : e.op == EOp::Or ? "or" : "xor");
      SetType(e, a == Kind::Bool && b == Kind::Bool ? Type{Base::Bool, -1} : Type{Base::Int, -1});
      return;
    case EOp::Concat:
      if (a == Kind::Rec || b == Kind::Rec) Error(e.line, "cannot join a record");
      SetType(e, {Base::Str, -1});
      return;
    default:  // comparisons
      if (!((IsNumeric(a) && IsNumeric(b)) || (a == Kind::Str && b == Kind::Str))) {
        Error(e.line, std::string("type mismatch: cannot compare ") + KindText(a) + " with " + KindText(b));
      }
      SetType(e, {Base::Bool, -1});
      return;
  }
}

void Checker::NameValue(Expr& e) {
  if (Sym* s = Find(e.s)) {
    if (s->k == Sym::Const) return Literal(e, s->value);
    if (s->k == Sym::Array) Error(e.line, e.s + " is an array: name an element, as in " + e.s + "(1)");
    e.op = EOp::Var;
    e.slot = s->slot;
    e.global = s->global;
    e.byref = s->byref;
    SetType(e, s->type);
    return;
  }
  if (procs_.count(Lower(e.s)) || FindBuiltin(e.s)) return CallOrIndex(e);
  Error(e.line, "unknown name " + e.s);
}

void Checker::CallOrIndex(Expr& e) {
  Sym* s = Find(e.s);
  if (s && s->k == Sym::Array) {
    if (e.args.size() != static_cast<size_t>(s->dims)) {
      Error(e.line, "array " + e.s + " takes " + (s->dims == 1 ? "one index" : "two indexes") + ", not " + std::to_string(e.args.size()));
    }
    for (auto& a : e.args)
      if (!IsNumeric(a->kind)) Error(e.line, "the index of array " + e.s + " must be a number");
    e.op = EOp::Index;
    e.slot = s->slot;
    e.global = s->global;
    e.a = std::move(e.args[0]);
    if (e.args.size() == 2) e.b = std::move(e.args[1]);
    e.args.clear();
    SetType(e, s->type);
    return;
  }
  if (s) Error(e.line, e.s + " is not an array or a function");
  auto it = procs_.find(Lower(e.s));
  if (it != procs_.end()) {
    const Proc& p = prog_.procs[it->second];
    if (!p.isFunction) Error(e.line, "sub " + p.name + " gives no value; call it as a statement");
    CheckArgs(p, e.args, e.line);
    e.op = EOp::Call;
    e.slot = it->second;
    SetType(e, p.ret);
    return;
  }
  const BuiltinInfo* b = FindBuiltin(e.s);
  if (!b) Error(e.line, "unknown function " + e.s);
  int n = static_cast<int>(e.args.size());
  if (n < b->minArgs || n > b->maxArgs) {
    Error(e.line, std::string(b->name) + " takes " +
                      (b->minArgs == b->maxArgs ? std::to_string(b->minArgs) : std::to_string(b->minArgs) + " or " + std::to_string(b->maxArgs)) +
                      " argument" + (b->maxArgs == 1 ? "" : "s") + ", not " + std::to_string(n));
  }
  e.op = EOp::Builtin;
  e.slot = static_cast<int>(b->id);
  BuiltinTypes(e, b->id);
}

void Checker::ArrayArgument(Expr& e) {
  Expr& a = *e.args[0];
  Sym* s = a.op == EOp::Name ? Find(a.s) : nullptr;
  if (!s || s->k != Sym::Array) Error(e.line, e.s + " needs the name of an array");
  a.op = EOp::Var;
  a.slot = s->slot;
  a.global = s->global;
  a.i = s->dims;
  a.type = s->type;
  a.kind = Kind::Void;
}

void Checker::BuiltinTypes(Expr& e, Bi id) {
  const Type tInt{Base::Int, -1}, tFloat{Base::Float, -1}, tStr{Base::Str, -1}, tBool{Base::Bool, -1};
  size_t n = e.args.size();
  switch (id) {
    case Bi::Len: Arg(e, 0, Kind::Str); return SetType(e, tInt);
    case Bi::Left: case Bi::Right: Arg(e, 0, Kind::Str); Arg(e, 1, Kind::Int); return SetType(e, tStr);
    case Bi::Mid:
      Arg(e, 0, Kind::Str);
      for (size_t k = 1; k < n; ++k) Arg(e, k, Kind::Int);
      return SetType(e, tStr);
    case Bi::Ucase: case Bi::Lcase: case Bi::Ltrim: case Bi::Rtrim: Arg(e, 0, Kind::Str); return SetType(e, tStr);
    case Bi::Instr:
      if (n == 3) Arg(e, 0, Kind::Int);
      Arg(e, n - 2, Kind::Str);
      Arg(e, n - 1, Kind::Str);
      return SetType(e, tInt);
    case Bi::Str: Arg(e, 0, Kind::Void); return SetType(e, tStr);
    case Bi::Val: Arg(e, 0, Kind::Str); return SetType(e, tFloat);
    case Bi::Chr: case Bi::Hex: case Bi::Space: Arg(e, 0, Kind::Int); return SetType(e, tStr);
    case Bi::Asc: Arg(e, 0, Kind::Str); return SetType(e, tInt);
    case Bi::Abs: Arg(e, 0, Kind::Int); return SetType(e, e.args[0]->kind == Kind::Float ? tFloat : tInt);
    case Bi::Sgn: Arg(e, 0, Kind::Int); return SetType(e, tInt);
    case Bi::Irnd: Arg(e, 0, Kind::Int); Arg(e, 1, Kind::Int); return SetType(e, tInt);
    case Bi::Getfile: Arg(e, 0, Kind::Str); return SetType(e, tStr);
    case Bi::Ubound: case Bi::Lbound:
      if (n == 2) Arg(e, 1, Kind::Int);
      return SetType(e, tInt);
    case Bi::Putfile: Arg(e, 0, Kind::Str); Arg(e, 1, Kind::Void); return SetType(e, tBool);
    default:
      for (size_t k = 0; k < n; ++k) Arg(e, k, Kind::Float);
      return SetType(e, tFloat);
  }
}

void Checker::FieldValue(Expr& e) {
  if (e.a->kind != Kind::Rec) Error(e.line, "." + e.s + " needs a record, not " + std::string(KindText(e.a->kind)));
  const RecType& r = prog_.types[e.a->type.rec];
  for (size_t k = 0; k < r.fields.size(); ++k) {
    if (SameWord(r.fields[k].name, e.s)) {
      e.slot = static_cast<int>(k);
      SetType(e, r.fields[k].type);
      return;
    }
  }
  Error(e.line, "type " + r.name + " has no field " + e.s);
}

}  // namespace zb::check
