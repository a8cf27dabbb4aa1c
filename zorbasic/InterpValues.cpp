// The interpreter's places and values: variables, array elements and fields, and the
// evaluation of expressions of each kind.
#include "zorbasic/InterpCore.h"

#include <cmath>

namespace zb::interp {

void Interp::OutOfRange(const Expr& e, const Array& a, int64_t k, int64_t j) {
  std::string at = e.b ? "(" + std::to_string(k) + ", " + std::to_string(j) + ")" : std::to_string(k);
  std::string range = a.rows == 0 ? " (it has no elements)"
                      : e.b       ? " (1 to " + std::to_string(a.rows) + ", 1 to " + std::to_string(a.cols) + ")"
                                  : " (1 to " + std::to_string(a.rows) + ")";
  Fail(e.line, "index " + at + " is out of range for array " + e.s + range);
}

size_t Interp::Element(const Expr& e, Array*& array) {
  int64_t k = AsInt(*e.a);
  int64_t j = e.b ? AsInt(*e.b) : 1;
  Array& a = *Slot(e.global, e.slot).arr;
  array = &a;
  if (!e.b) {
    if (k < 1 || k > a.rows) OutOfRange(e, a, k, 0);
    return static_cast<size_t>(k - 1);
  }
  if (k < 1 || k > a.rows || j < 1 || j > a.cols) OutOfRange(e, a, k, j);
  return static_cast<size_t>((k - 1) * a.cols + (j - 1));
}

int64_t& Interp::IntPlace(const Expr& e) {
  switch (e.op) {
    case EOp::Var: {
      Cell& c = Slot(e.global, e.slot);
      return e.byref ? *static_cast<int64_t*>(c.ref) : c.i;
    }
    case EOp::Index: {
      Array* a;
      size_t k = Element(e, a);
      return a->ints[k];
    }
    case EOp::Field: return *reinterpret_cast<int64_t*>(FieldPlace(e));
    default: Fail(e.line, "not a place");
  }
}

double& Interp::FloatPlace(const Expr& e) {
  switch (e.op) {
    case EOp::Var: {
      Cell& c = Slot(e.global, e.slot);
      return e.byref ? *static_cast<double*>(c.ref) : c.f;
    }
    case EOp::Index: {
      Array* a;
      size_t k = Element(e, a);
      return a->floats[k];
    }
    case EOp::Field: return *reinterpret_cast<double*>(FieldPlace(e));
    default: Fail(e.line, "not a place");
  }
}

std::string& Interp::StrPlace(const Expr& e) {
  switch (e.op) {
    case EOp::Var: {
      Cell& c = Slot(e.global, e.slot);
      return e.byref ? *static_cast<std::string*>(c.ref) : c.s;
    }
    case EOp::Index: {
      Array* a;
      size_t k = Element(e, a);
      return a->strs[k];
    }
    case EOp::Field: return Layout::Str(FieldPlace(e));
    default: Fail(e.line, "not a place");
  }
}

std::byte* Interp::RecPlace(const Expr& e) {
  switch (e.op) {
    case EOp::Var: {
      Cell& c = Slot(e.global, e.slot);
      return e.byref ? static_cast<std::byte*>(c.ref) : c.rec->Data();
    }
    case EOp::Index: {
      Array* a;
      size_t k = Element(e, a);
      return a->recs.Write(k);
    }
    case EOp::Field: return FieldPlace(e);
    default: Fail(e.line, "not a place");
  }
}

const std::byte* Interp::RecordRead(const Expr& e, Cell& tmp) {
  switch (e.op) {
    case EOp::Call: Call(e, tmp); return tmp.rec->Data();
    case EOp::Field: return FieldRead(e, tmp);
    case EOp::Index: {
      Array* a;
      size_t k = Element(e, a);
      return a->recs.Read(k);
    }
    default: return RecPlace(e);
  }
}

void* Interp::RefTo(const Expr& e) {
  switch (KindOf(e.type)) {
    case Kind::Int:
    case Kind::Bool: return &IntPlace(e);
    case Kind::Float: return &FloatPlace(e);
    case Kind::Str: return &StrPlace(e);
    default: return RecPlace(e);
  }
}

void* Interp::SelfRef(Cell& c, Type t) {
  switch (KindOf(t)) {
    case Kind::Int:
    case Kind::Bool: return &c.i;
    case Kind::Float: return &c.f;
    case Kind::Str: return &c.s;
    default: return c.rec->Data();
  }
}

const std::string& Interp::SRef(const Expr& e, std::string& tmp) {
  if (e.op == EOp::Var || e.op == EOp::Index) return StrPlace(e);
  if (e.op == EOp::StrLit) return e.s;
  tmp = S(e);
  return tmp;
}

int64_t Interp::AsInt(const Expr& e) {
  if (e.kind == Kind::Float) return RoundToInt(F(e));
  try {
    return I(e);
  } catch (const IntOverflow&) {
    return RoundToInt(Widened(e));
  }
}

bool Interp::Cond(const Expr& e) {
  if (e.kind == Kind::Float) return F(e) != 0;
  try {
    return I(e) != 0;
  } catch (const IntOverflow&) {
    return Widened(e) != 0;
  }
}

int64_t Interp::Fit(double x, Base b, int line) {
  int64_t r;
  std::string why;
  if (!StoredInteger(x, b, r, why)) Fail(line, why);
  return r;
}

int64_t Interp::FitValue(const Expr& v, Base b) {
  if (b == Base::Bool) return Cond(v) ? -1 : 0;
  if (v.kind == Kind::Float) return Fit(F(v), b, v.line);
  try {
    return Fit(I(v), b, v.line);
  } catch (const IntOverflow&) {
    return Fit(Widened(v), b, v.line);
  }
}

std::string Interp::Text(const Expr& e) {
  switch (e.kind) {
    case Kind::Str: return S(e);
    case Kind::Float: return FormatFloat(F(e));
    default:
      try {
        return e.kind == Kind::Bool ? FormatBool(I(e)) : FormatInt(I(e));
      } catch (const IntOverflow&) {
        double w = Widened(e);
        return e.kind == Kind::Bool ? FormatBool(w != 0) : FormatFloat(w);
      }
  }
}

bool Interp::Pure(const Expr& e) {
  if (e.op == EOp::Call) return false;
  if (e.op == EOp::Builtin) {
    Bi id = static_cast<Bi>(e.slot);
    if (id == Bi::Rnd || id == Bi::Irnd || id == Bi::Putfile) return false;
  }
  for (const auto& a : e.args)
    if (!Pure(*a)) return false;
  return (!e.a || Pure(*e.a)) && (!e.b || Pure(*e.b));
}

double Interp::Wide(const Expr& e) {
  if (e.kind == Kind::Float) return F(e);
  switch (e.op) {
    case EOp::Neg: return -Wide(*e.a);
    case EOp::Add: return Wide(*e.a) + Wide(*e.b);
    case EOp::Sub: return Wide(*e.a) - Wide(*e.b);
    case EOp::Mul: return Wide(*e.a) * Wide(*e.b);
    case EOp::IntDiv:
    case EOp::Mod: {
      double x = Wide(*e.a), y = Wide(*e.b);
      if (y == 0) Fail(e.line, "division by zero");
      return e.op == EOp::Mod ? std::fmod(x, y) : std::trunc(x / y);
    }
    case EOp::Eq: case EOp::Ne: case EOp::Lt: case EOp::Gt: case EOp::Le: case EOp::Ge:
      if (e.a->kind == Kind::Str) break;
      return Holds(e.op, Order(Wide(*e.a), Wide(*e.b))) ? -1 : 0;
    case EOp::Builtin:
      if (static_cast<Bi>(e.slot) == Bi::Abs) return std::fabs(Wide(*e.args[0]));
      break;
    default: break;
  }
  return static_cast<double>(I(e));
}

int Interp::Compare(const Expr& e) {
  const Expr& a = *e.a;
  const Expr& b = *e.b;
  if (a.kind == Kind::Str) {
    std::string ta, tb;
    int c = SHeld(a, ta, b.calls).compare(SRef(b, tb));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  if (a.kind == Kind::Float || b.kind == Kind::Float) return Order(F(a), F(b));
  return Order(I(a), I(b));
}

int64_t Interp::I(const Expr& e) {
  switch (e.op) {
    case EOp::IntLit:
    case EOp::BoolLit: return e.i;
    case EOp::Var: {
      const Cell& c = Slot(e.global, e.slot);
      return e.byref ? *static_cast<const int64_t*>(c.ref) : c.i;
    }
    case EOp::Index: return IntPlace(e);
    case EOp::Field: return FieldInt(e);
    case EOp::Call: return CallInt(e);
    case EOp::Builtin: return IntBuiltin(e);
    case EOp::Neg: return Sub(0, I(*e.a));
    case EOp::Not: return ~IntOf(*e.a);
    case EOp::Add: return Add(I(*e.a), I(*e.b));
    case EOp::Sub: return Sub(I(*e.a), I(*e.b));
    case EOp::Mul: return Mul(I(*e.a), I(*e.b));
    case EOp::IntDiv:
    case EOp::Mod: {
      int64_t x = IntOf(*e.a), y = IntOf(*e.b);
      if (y == 0) Fail(e.line, "division by zero");
      if (y == -1) return e.op == EOp::Mod ? 0 : Sub(0, x);
      return e.op == EOp::Mod ? x % y : x / y;
    }
    case EOp::Shl: {
      int64_t x = IntOf(*e.a), n = IntOf(*e.b);
      if (n < 0 || n >= 64) return 0;
      return static_cast<int64_t>(static_cast<uint64_t>(x) << n);
    }
    case EOp::Shr: {
      int64_t x = IntOf(*e.a), n = IntOf(*e.b);
      if (n < 0 || n >= 64) return x < 0 ? -1 : 0;
      return x >> n;
    }
    case EOp::And: return IntOf(*e.a) & IntOf(*e.b);
    case EOp::Or: return IntOf(*e.a) | IntOf(*e.b);
    case EOp::Xor: return IntOf(*e.a) ^ IntOf(*e.b);
    case EOp::Eq:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) == I(*e.b) ? -1 : 0;
      return Compare(e) == 0 ? -1 : 0;
    case EOp::Ne:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) != I(*e.b) ? -1 : 0;
      return Compare(e) != 0 ? -1 : 0;
    case EOp::Lt:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) < I(*e.b) ? -1 : 0;
      return Compare(e) == -1 ? -1 : 0;
    case EOp::Gt:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) > I(*e.b) ? -1 : 0;
      return Compare(e) == 1 ? -1 : 0;
    case EOp::Le:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) <= I(*e.b) ? -1 : 0;
      return Holds(EOp::Le, Compare(e)) ? -1 : 0;
    case EOp::Ge:
      if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) >= I(*e.b) ? -1 : 0;
      return Holds(EOp::Ge, Compare(e)) ? -1 : 0;
    default: Fail(e.line, "internal error: no integer value");
  }
}

double Interp::IntAsFloat(const Expr& e) {
  try {
    return static_cast<double>(I(e));
  } catch (const IntOverflow&) {
    return Widened(e);
  }
}

double Interp::F(const Expr& e) {
  if (e.kind != Kind::Float) {
    if (e.op == EOp::Var && !e.byref) return static_cast<double>(Slot(e.global, e.slot).i);
    return IntAsFloat(e);
  }
  switch (e.op) {
    case EOp::FloatLit: return e.f;
    case EOp::Var: {
      const Cell& c = Slot(e.global, e.slot);
      return e.byref ? *static_cast<const double*>(c.ref) : c.f;
    }
    case EOp::Index: return FloatPlace(e);
    case EOp::Field: return FieldFloat(e);
    case EOp::Call: return CallFloat(e);
    case EOp::Builtin: return FloatBuiltin(e);
    case EOp::Neg: return -F(*e.a);
    case EOp::Add: return F(*e.a) + F(*e.b);
    case EOp::Sub: return F(*e.a) - F(*e.b);
    case EOp::Mul: return F(*e.a) * F(*e.b);
    case EOp::Div: {
      double x = F(*e.a), y = F(*e.b);
      if (y == 0) Fail(e.line, "division by zero");
      return x / y;
    }
    case EOp::Pow: return std::pow(F(*e.a), F(*e.b));
    default: Fail(e.line, "internal error: no float value");
  }
}

std::string Interp::S(const Expr& e) {
  switch (e.op) {
    case EOp::StrLit: return e.s;
    case EOp::Var:
    case EOp::Index: return StrPlace(e);
    case EOp::Field: {
      Cell tmp;
      return *reinterpret_cast<const std::string*>(FieldRead(e, tmp));
    }
    case EOp::Call: {
      Cell r;
      Call(e, r);
      return std::move(r.s);
    }
    case EOp::Builtin: return StrBuiltin(e);
    case EOp::Concat: {
      std::string r = Text(*e.a);
      std::string tmp;
      const std::string& b = e.b->kind == Kind::Str ? SRef(*e.b, tmp) : (tmp = Text(*e.b));
      if (r.size() + b.size() > MaxText) Fail(e.line, "text too long");
      r += b;
      return r;
    }
    default: Fail(e.line, "internal error: no string value");
  }
}

void Interp::RecordValue(const Expr& e, Cell& into) {
  if (e.op == EOp::Call) {
    Cell r;
    Call(e, r);
    into.rec = std::move(r.rec);
    return;
  }
  Cell tmp;
  const std::byte* from = RecordRead(e, tmp);
  const Layout& l = LayoutOf(e.type);
  auto copy = std::make_unique<Record>(l);
  l.Copy(copy->Data(), from);
  into.rec = std::move(copy);
}

void Interp::Store(const Expr& target, const Expr& v) {
  Type t = target.type;
  switch (KindOf(t)) {
    case Kind::Int:
    case Kind::Bool: {
      int64_t x = FitValue(v, t.base);
      IntPlace(target) = x;
      return;
    }
    case Kind::Float: {
      double x = F(v);
      FloatPlace(target) = x;
      return;
    }
    case Kind::Str: {
      std::string x = S(v);
      StrPlace(target) = std::move(x);
      return;
    }
    case Kind::Rec: {
      Cell tmp;
      RecordValue(v, tmp);
      LayoutOf(t).Move(RecPlace(target), tmp.rec->Data());
      return;
    }
    default: return;
  }
}

void Interp::StoreCell(Cell& c, Type t, const Expr& v) {
  if (t.base == Base::Int) {
    c.i = FitValue(v, Base::Int);
    return;
  }
  if (t.base == Base::Float) {
    c.f = F(v);
    return;
  }
  StoreOther(c, t, v);
}

void Interp::StoreOther(Cell& c, Type t, const Expr& v) {
  switch (KindOf(t)) {
    case Kind::Int:
    case Kind::Bool: c.i = FitValue(v, t.base); return;
    case Kind::Float: c.f = F(v); return;
    case Kind::Str: c.s = S(v); return;
    case Kind::Rec: {
      Cell tmp;
      RecordValue(v, tmp);
      LayoutOf(t).Move(c.rec->Data(), tmp.rec->Data());
      return;
    }
    default: return;
  }
}

}  // namespace zb::interp
