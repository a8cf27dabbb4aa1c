// The interpreter: walks the checked tree. Every expression has a fixed kind, so integers,
// floats and strings are evaluated by separate routines without a tagged value in between.
#include "zorbasic/Interp.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "zorbasic/Builtins.h"
#include "zorbasic/NumberText.h"
#include "zorbasic/Stack.h"

namespace zb {

std::string FormatInt(int64_t v) { return std::to_string(v); }
// A bool prints as its value: true is -1 and false 0, as in every other arithmetic.
std::string FormatBool(int64_t v) { return v ? "-1" : "0"; }

namespace {

void RangeOf(Base b, int64_t& lo, int64_t& hi) {
  switch (b) {
    case Base::Byte: lo = 0, hi = 255; return;
    case Base::Word: lo = 0, hi = 65535; return;
    case Base::Dword: lo = 0, hi = 4294967295LL; return;
    default: lo = INT32_MIN, hi = INT32_MAX; return;
  }
}

std::string RangeText(Base b) {
  int64_t lo, hi;
  RangeOf(b, lo, hi);
  const char* name = b == Base::Byte ? "a byte" : b == Base::Word ? "a word" : b == Base::Dword ? "a dword" : "an int";
  return std::string(name) + " (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
}

}  // namespace

bool StoredInteger(int64_t x, Base b, int64_t& stored, std::string& why) {
  if (b == Base::Bool) {
    stored = x ? -1 : 0;
    return true;
  }
  int64_t lo, hi;
  RangeOf(b, lo, hi);
  if (x < lo || x > hi) {
    why = std::to_string(x) + " does not fit in " + RangeText(b);
    return false;
  }
  stored = x;
  return true;
}

bool StoredInteger(double x, Base b, int64_t& stored, std::string& why) {
  if (b == Base::Bool) {
    stored = x != 0 ? -1 : 0;
    return true;
  }
  int64_t lo, hi;
  RangeOf(b, lo, hi);
  double r = std::nearbyint(x);  // the default rounding: to the nearest, halves to even
  if (!(r >= static_cast<double>(lo) && r <= static_cast<double>(hi))) {
    why = FormatFloat(x) + " does not fit in " + RangeText(b);
    return false;
  }
  stored = static_cast<int64_t>(r);
  return true;
}

namespace {

struct Array;

struct Cell {
  int64_t i = 0;
  double f = 0;
  std::string s;
  std::unique_ptr<std::vector<Cell>> agg;  // a record's fields
  std::unique_ptr<Array> arr;              // an array's elements
  void* ref = nullptr;                     // a byref parameter's place (see RefTo)
};

// An array's elements in a vector of their kind: a number or a bool takes 8 bytes. Two
// dimensions are stored row after row.
struct Array {
  int64_t rows = 0, cols = 0;  // cols is 0 for one dimension
  std::vector<int64_t> ints;   // the integer types and bool
  std::vector<double> floats;
  std::vector<std::string> strs;
  std::vector<Cell> recs;
  int pinned = 0;  // elements passed byref to calls still running: the array may not move
};

struct RunError {
  int line;
  std::string message;
};
struct EndProgram {};
// An integer operation whose result needs more than 64 bits; the expression is then computed
// with floats (see Widened).
struct IntOverflow {};

enum class Flow { Normal, Break, Continue, ExitFor, ExitWhile, ExitDo, Return, Goto, GosubReturn };

constexpr int64_t MaxArray = 50'000'000;
constexpr size_t MaxText = 256u * 1024 * 1024;

// Floats become integers by rounding, halves to even.
int64_t RoundToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.2e18) return INT64_MAX;
  if (x <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(std::nearbyint(x));
}

int64_t Add(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}
int64_t Sub(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}
int64_t Mul(int64_t a, int64_t b) {
  // Two 32-bit factors never overflow, and a 32-bit program multiplies them in one instruction.
  if (a == static_cast<int32_t>(a) && b == static_cast<int32_t>(b)) return static_cast<int64_t>(static_cast<int32_t>(a)) * static_cast<int32_t>(b);
  int64_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}

// Whether the outcome of a three-way comparison (-1, 0, 1, or 2 for unordered) satisfies op.
bool Holds(EOp op, int c) {
  switch (op) {
    case EOp::Eq: return c == 0;
    case EOp::Ne: return c != 0;
    case EOp::Lt: return c == -1;
    case EOp::Gt: return c == 1;
    case EOp::Le: return c == -1 || c == 0;
    case EOp::Ge: return c == 1 || c == 0;
    default: return false;
  }
}

template <class T>
int Order(const T& x, const T& y) {
  return x < y ? -1 : y < x ? 1 : 0;
}
int Order(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return 2;  // unordered: only <> holds
  return x < y ? -1 : x > y ? 1 : 0;
}

// Elements of a vector laid out again for new sizes, those of both layouts keeping their place.
template <class T>
void Regrid(std::vector<T>& v, int64_t oldRows, int64_t oldCols, int64_t rows, int64_t cols) {
  if (cols == 0) {
    v.resize(static_cast<size_t>(rows));
    return;
  }
  std::vector<T> next(static_cast<size_t>(rows * cols));
  for (int64_t r = 0; r < std::min(rows, oldRows); ++r)
    for (int64_t c = 0; c < std::min(cols, oldCols); ++c)
      next[static_cast<size_t>(r * cols + c)] = std::move(v[static_cast<size_t>(r * oldCols + c)]);
  v = std::move(next);
}

// Frames live in chunks that never move, so a byref parameter may point into its caller's frame.
class Stack {
 public:
  Cell* Push(size_t n, size_t& savedChunk, size_t& savedTop) {
    savedChunk = chunk_;
    savedTop = top_;
    if (chunks_.empty()) Grow(0, n);
    if (top_ + n > sizes_[chunk_]) {
      ++chunk_;
      if (chunk_ == chunks_.size() || sizes_[chunk_] < n) Grow(chunk_, n);
      top_ = 0;
    }
    Cell* f = &chunks_[chunk_][top_];
    top_ += n;
    return f;
  }
  void Pop(size_t savedChunk, size_t savedTop) {
    chunk_ = savedChunk;
    top_ = savedTop;
  }

 private:
  void Grow(size_t at, size_t n) {
    size_t size = n > 4096 ? n : 4096;
    if (at == chunks_.size()) {
      chunks_.push_back(std::make_unique<Cell[]>(size));
      sizes_.push_back(size);
    } else {
      chunks_[at] = std::make_unique<Cell[]>(size);
      sizes_[at] = size;
    }
  }
  std::vector<std::unique_ptr<Cell[]>> chunks_;
  std::vector<size_t> sizes_;
  size_t chunk_ = 0, top_ = 0;
};

class Interp {
 public:
  Interp(const Program& prog, Host* host, int maxDepth) : prog_(prog), host_(host), maxDepth_(maxDepth) {
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    rng_ = seed ^ 0x9E3779B97F4A7C15ULL;
    if (!rng_) rng_ = 1;
    lastFlush_ = std::chrono::steady_clock::now();
  }

  void Main() {
    FindLabels(prog_.main);
    for (const Proc& p : prog_.procs) FindLabels(p.body);
    globals_.resize(prog_.globals.size());
    for (size_t k = 0; k < prog_.globals.size(); ++k) Init(globals_[k], prog_.globals[k].type, prog_.globals[k].array);
    frame_ = globals_.data();
    // A plain procedure has only scalar slots and no byref parameter: its frame is set up
    // and left without the work records, arrays and references need.
    for (size_t k = 0; k < prog_.procs.size(); ++k) {
      bool plain = true;
      for (const Param& par : prog_.procs[k].params) plain = plain && !par.byref;
      for (const SlotInfo& slot : prog_.procSlots[k]) plain = plain && !slot.array && slot.type.base != Base::Rec;
      plain_.push_back(plain);
    }
    Flow f = ExecBlock(prog_.main, 0);
    (void)f;
  }

  void Flush() {
    if (!out_.empty() && host_) host_->Write(out_);
    out_.clear();
    lastFlush_ = std::chrono::steady_clock::now();
  }

  int curLine = 0;

  // --- constant evaluation (no frames)
  ConstValue Constant(const Expr& e) {
    ConstValue v;
    v.kind = e.kind;
    switch (e.kind) {
      case Kind::Str: v.s = S(e); break;
      case Kind::Float: v.f = F(e); break;
      case Kind::Int:
        try {
          v.i = I(e);
        } catch (const IntOverflow&) {
          v.kind = Kind::Float;
          v.f = Widened(e);
        }
        break;
      default: v.i = I(e); break;
    }
    return v;
  }

 private:
  [[noreturn]] void Fail(int line, std::string message) { throw RunError{line, std::move(message)}; }

  void FindLabels(const Block& b) {
    for (const auto& [id, index] : b.labels) {
      if (static_cast<size_t>(id) >= labelHome_.size()) labelHome_.resize(id + 1);
      labelHome_[id] = {&b, index};
    }
    for (const auto& s : b.stmts) {
      for (const Block& inner : s->blocks) FindLabels(inner);
      for (const CaseArm& arm : s->arms) FindLabels(arm.body);
    }
  }

  // A scalar slot made empty.
  static void Clear(Cell& c) {
    c.i = 0;
    c.f = 0;
    if (!c.s.empty()) c.s.clear();
  }

  void Init(Cell& c, Type t, bool array) {
    c.i = 0;
    c.f = 0;
    if (!c.s.empty()) c.s.clear();
    c.ref = nullptr;
    if (array) {
      c.agg.reset();
      c.arr = std::make_unique<Array>();
      return;
    }
    if (c.arr) c.arr.reset();
    if (t.base != Base::Rec) {
      if (c.agg) c.agg.reset();
      return;
    }
    const RecType& r = prog_.types[t.rec];
    c.agg = std::make_unique<std::vector<Cell>>(r.fields.size());
    for (size_t k = 0; k < r.fields.size(); ++k) Init((*c.agg)[k], r.fields[k].type, false);
  }

  void CopyRecord(Cell& to, const Cell& from) {
    if (&to == &from) return;
    if (!from.agg) {
      to.agg.reset();
      return;
    }
    auto copy = std::make_unique<std::vector<Cell>>(from.agg->size());
    for (size_t k = 0; k < from.agg->size(); ++k) {
      const Cell& f = (*from.agg)[k];
      Cell& t = (*copy)[k];
      t.i = f.i;
      t.f = f.f;
      t.s = f.s;
      if (f.agg) CopyRecord(t, f);
    }
    to.agg = std::move(copy);
  }

  // Gives a record variable the fields of from, field by field, so every field keeps its
  // place: a byref parameter may be working on one of them.
  void AssignRecord(Cell& to, Cell& from) {
    if (!to.agg || !from.agg || to.agg->size() != from.agg->size()) {
      to.agg = std::move(from.agg);
      return;
    }
    for (size_t k = 0; k < to.agg->size(); ++k) {
      Cell& t = (*to.agg)[k];
      Cell& f = (*from.agg)[k];
      t.i = f.i;
      t.f = f.f;
      t.s = std::move(f.s);
      if (f.agg) AssignRecord(t, f);
    }
  }

  // --- places
  Cell& Slot(bool global, int slot) { return global ? globals_[slot] : frame_[slot]; }

  [[noreturn]] void OutOfRange(const Expr& e, const Array& a, int64_t k, int64_t j) {
    std::string at = e.b ? "(" + std::to_string(k) + ", " + std::to_string(j) + ")" : std::to_string(k);
    std::string range = a.rows == 0 ? " (it has no elements)"
                        : e.b       ? " (1 to " + std::to_string(a.rows) + ", 1 to " + std::to_string(a.cols) + ")"
                                    : " (1 to " + std::to_string(a.rows) + ")";
    Fail(e.line, "index " + at + " is out of range for array " + e.s + range);
  }

  // The element an index expression names: its array and its offset there. The indexes are
  // computed first, since computing them may run code that resizes the array.
  size_t Element(const Expr& e, Array*& array) {
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

  int64_t& IntPlace(const Expr& e) {
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
      case EOp::Field: return FieldCell(e).i;
      default: Fail(e.line, "not a place");
    }
  }

  double& FloatPlace(const Expr& e) {
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
      case EOp::Field: return FieldCell(e).f;
      default: Fail(e.line, "not a place");
    }
  }

  std::string& StrPlace(const Expr& e) {
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
      case EOp::Field: return FieldCell(e).s;
      default: Fail(e.line, "not a place");
    }
  }

  Cell& RecPlace(const Expr& e) {
    switch (e.op) {
      case EOp::Var: {
        Cell& c = Slot(e.global, e.slot);
        return e.byref ? *static_cast<Cell*>(c.ref) : c;
      }
      case EOp::Index: {
        Array* a;
        size_t k = Element(e, a);
        return a->recs[k];
      }
      case EOp::Field: return FieldCell(e);
      default: Fail(e.line, "not a place");
    }
  }

  Cell& FieldCell(const Expr& e) { return (*RecPlace(*e.a).agg)[e.slot]; }

  // A field read from a record that may be a call's result, which is then kept in tmp.
  const Cell& FieldRead(const Expr& e, Cell& tmp) { return (*RecordRead(*e.a, tmp).agg)[e.slot]; }
  const Cell& RecordRead(const Expr& e, Cell& tmp) {
    if (e.op == EOp::Call) {
      Call(e, tmp);
      return tmp;
    }
    if (e.op == EOp::Field) return FieldRead(e, tmp);
    return RecPlace(e);
  }

  // The address a byref parameter keeps: the int64_t, double, string or record cell of the place.
  void* RefTo(const Expr& e) {
    switch (KindOf(e.type)) {
      case Kind::Int:
      case Kind::Bool: return &IntPlace(e);
      case Kind::Float: return &FloatPlace(e);
      case Kind::Str: return &StrPlace(e);
      default: return &RecPlace(e);
    }
  }
  static void* SelfRef(Cell& c, Type t) {
    switch (KindOf(t)) {
      case Kind::Int:
      case Kind::Bool: return &c.i;
      case Kind::Float: return &c.f;
      case Kind::Str: return &c.s;
      default: return &c;
    }
  }

  // The array a place lies in (an element, or a field of an element), or null.
  Array* ArrayOf(const Expr& e) {
    const Expr* p = &e;
    while (p->op == EOp::Field) p = p->a.get();
    return p->op == EOp::Index ? Slot(p->global, p->slot).arr.get() : nullptr;
  }

  const std::string& SRef(const Expr& e, std::string& tmp) {
    if (e.op == EOp::Var || e.op == EOp::Index) return StrPlace(e);
    if (e.op == EOp::StrLit) return e.s;
    tmp = S(e);
    return tmp;
  }

  // --- values
  // An integer operand inside an expression: an overflow goes on to the expression's root.
  int64_t IntOf(const Expr& e) { return e.kind == Kind::Float ? RoundToInt(F(e)) : I(e); }

  // An integer where one is needed (an index, a count): a value past 64 bits is clamped.
  int64_t AsInt(const Expr& e) {
    if (e.kind == Kind::Float) return RoundToInt(F(e));
    try {
      return I(e);
    } catch (const IntOverflow&) {
      return RoundToInt(Widened(e));
    }
  }

  bool Cond(const Expr& e) {
    if (e.kind == Kind::Float) return F(e) != 0;
    try {
      return I(e) != 0;
    } catch (const IntOverflow&) {
      return Widened(e) != 0;
    }
  }

  // The value an integer variable of type b stores: it must fit the type.
  int64_t Fit(int64_t x, Base b, int line) {
    if (b == Base::Int && x == static_cast<int32_t>(x)) return x;
    return FitOther(x, b, line);
  }
  [[gnu::noinline]] int64_t FitOther(int64_t x, Base b, int line) {
    std::string why;
    if (!StoredInteger(x, b, x, why)) Fail(line, why);
    return x;
  }
  [[gnu::noinline]] int64_t Fit(double x, Base b, int line) {
    int64_t r;
    std::string why;
    if (!StoredInteger(x, b, r, why)) Fail(line, why);
    return r;
  }
  int64_t FitValue(const Expr& v, Base b) {
    if (b == Base::Bool) return Cond(v) ? -1 : 0;
    if (v.kind == Kind::Float) return Fit(F(v), b, v.line);
    try {
      return Fit(I(v), b, v.line);
    } catch (const IntOverflow&) {
      return Fit(Widened(v), b, v.line);
    }
  }

  std::string Text(const Expr& e) {
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

  static bool IsIntKind(const Expr& e) { return e.kind == Kind::Int || e.kind == Kind::Bool; }

  // Whether evaluating an expression again gives the same value and does nothing else.
  static bool Pure(const Expr& e) {
    if (e.op == EOp::Call) return false;
    if (e.op == EOp::Builtin) {
      Bi id = static_cast<Bi>(e.slot);
      if (id == Bi::Rnd || id == Bi::Irnd || id == Bi::Putfile) return false;
    }
    for (const auto& a : e.args)
      if (!Pure(*a)) return false;
    return (!e.a || Pure(*e.a)) && (!e.b || Pure(*e.b));
  }

  // An integer expression computed with floats, after its exact value overflowed 64 bits.
  double Widened(const Expr& e) {
    if (!Pure(e)) Fail(e.line, "integer overflow: the value needs more than 64 bits");
    return Wide(e);
  }
  double Wide(const Expr& e) {
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

  [[gnu::noinline]] int Compare(const Expr& e) {
    const Expr& a = *e.a;
    const Expr& b = *e.b;
    if (a.kind == Kind::Str) {
      std::string ta, tb;
      int c = SRef(a, ta).compare(SRef(b, tb));
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    if (a.kind == Kind::Float || b.kind == Kind::Float) return Order(F(a), F(b));
    return Order(I(a), I(b));
  }

  // Reading a field and calling a function need a cell on the frame: they are kept out of
  // I and F, which recurse once for every level of an expression.
  [[gnu::noinline]] int64_t FieldInt(const Expr& e) {
    Cell tmp;
    return FieldRead(e, tmp).i;
  }
  [[gnu::noinline]] int64_t CallInt(const Expr& e) {
    Cell r;
    Call(e, r);
    return r.i;
  }
  [[gnu::noinline]] double FieldFloat(const Expr& e) {
    Cell tmp;
    return FieldRead(e, tmp).f;
  }
  [[gnu::noinline]] double CallFloat(const Expr& e) {
    Cell r;
    Call(e, r);
    return r.f;
  }

  int64_t I(const Expr& e) {
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

  // An integer expression as a float, computed with floats if it overflows 64 bits.
  double IntAsFloat(const Expr& e) {
    try {
      return static_cast<double>(I(e));
    } catch (const IntOverflow&) {
      return Widened(e);
    }
  }

  double F(const Expr& e) {
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

  std::string S(const Expr& e) {
    switch (e.op) {
      case EOp::StrLit: return e.s;
      case EOp::Var:
      case EOp::Index: return StrPlace(e);
      case EOp::Field: {
        Cell tmp;
        return FieldRead(e, tmp).s;
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

  // A record's value into a fresh cell: a call's result is moved, a variable's copied.
  void RecordValue(const Expr& e, Cell& into) {
    if (e.op == EOp::Call) {
      Cell r;
      Call(e, r);
      into.agg = std::move(r.agg);
      return;
    }
    Cell tmp;
    const Cell& src = RecordRead(e, tmp);
    if (&src == &tmp) {
      into.agg = std::move(tmp.agg);
    } else {
      CopyRecord(into, src);
    }
  }

  // Stores a value into a place of the given type; the value is computed before the place is
  // looked up, since computing it may run code that moves array elements.
  [[gnu::noinline]] void Store(const Expr& target, const Expr& v) {
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
        AssignRecord(RecPlace(target), tmp);
        return;
      }
      default: return;
    }
  }

  // A scalar parameter or result straight into its cell; the rest by StoreOther.
  void StoreCell(Cell& c, Type t, const Expr& v) {
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

  [[gnu::noinline]] void StoreOther(Cell& c, Type t, const Expr& v) {
    switch (KindOf(t)) {
      case Kind::Int:
      case Kind::Bool: c.i = FitValue(v, t.base); return;
      case Kind::Float: c.f = F(v); return;
      case Kind::Str: c.s = S(v); return;
      case Kind::Rec: {
        Cell tmp;
        RecordValue(v, tmp);
        AssignRecord(c, tmp);
        return;
      }
      default: return;
    }
  }

  // --- calls
  [[noreturn, gnu::noinline]] void TooManyCalls(int line, const char* what, const char* question) {
    Fail(line, std::string("too many nested ") + what + " (" + std::to_string(maxDepth_) + "): " + question);
  }

  void Call(const Expr& e, Cell& result) { CallProc(e.slot, e.args, &result, e.line); }

  void CallProc(int index, const std::vector<ExprPtr>& args, Cell* result, int line) {
    const Proc& p = prog_.procs[index];
    const std::vector<SlotInfo>& slots = prog_.procSlots[index];
    if (depth_ >= maxDepth_) TooManyCalls(line, "calls", "is the recursion endless?");
    size_t savedChunk, savedTop;
    Cell* frame = stack_.Push(slots.size(), savedChunk, savedTop);
    size_t savedPins = pins_.size();
    bool plain = plain_[static_cast<size_t>(index)];
    // A parameter is set from its argument at once; the other slots start empty.
    if (plain) {
      for (size_t k = 0; k < args.size(); ++k) StoreCell(frame[k], p.params[k].type, *args[k]);
      for (size_t k = args.size(); k < slots.size(); ++k) Clear(frame[k]);
    }
    for (size_t k = 0; k < args.size() && !plain; ++k) {
      Cell& c = frame[k];
      if (args[k]->op == EOp::RefArg) {
        const Expr& place = *args[k]->a;
        c.ref = RefTo(place);
        if (Array* a = ArrayOf(place)) {
          ++a->pinned;
          pins_.push_back(a);
        }
        continue;
      }
      if (slots[k].type.base == Base::Rec) Init(c, slots[k].type, false);
      StoreCell(c, p.params[k].type, *args[k]);
      if (p.params[k].byref) c.ref = SelfRef(c, p.params[k].type);  // a copy of a value that is no variable
    }
    for (size_t k = args.size(); k < slots.size() && !plain; ++k) Init(frame[k], slots[k].type, slots[k].array);
    if (result) {
      if (p.ret.base == Base::Rec) Init(*result, p.ret, false);
      else Clear(*result);
    }
    Cell* savedFrame = frame_;
    Cell* savedResult = result_;
    int savedGosub = gosub_;
    const Proc* savedProc = proc_;
    frame_ = frame;
    result_ = result;
    gosub_ = 0;
    proc_ = &p;
    ++depth_;
    ExecBlock(p.body, 0);
    --depth_;
    frame_ = savedFrame;
    result_ = savedResult;
    gosub_ = savedGosub;
    proc_ = savedProc;
    if (!plain) {
      for (size_t k = savedPins; k < pins_.size(); ++k) --pins_[k]->pinned;
      pins_.resize(savedPins);
      for (size_t k = 0; k < slots.size(); ++k) {
        frame[k].agg.reset();
        frame[k].arr.reset();
      }
    }
    stack_.Pop(savedChunk, savedTop);
  }

  // --- statements
  [[noreturn, gnu::noinline]] void StackIsFull() { Fail(curLine, "blocks and calls nested too deeply for the stack"); }

  Flow ExecBlock(const Block& b, size_t start) {
    if (StackFull(prog_.stackFloor)) StackIsFull();
    size_t n = b.stmts.size();
    for (size_t k = start; k < n;) {
      Flow f = Exec(*b.stmts[k]);
      if (f == Flow::Normal) {
        ++k;
        continue;
      }
      if (f == Flow::Goto) {
        bool found = false;
        for (const auto& [id, index] : b.labels) {
          if (id == pendingLabel_) {
            k = static_cast<size_t>(index);
            found = true;
            break;
          }
        }
        if (found) continue;
      }
      return f;
    }
    return Flow::Normal;
  }

  void Write(std::string_view text) {
    out_.append(text);
    if (out_.size() > 65536) Flush();
  }

  void MaybeFlush() {
    auto now = std::chrono::steady_clock::now();
    if (now - lastFlush_ > std::chrono::milliseconds(50)) Flush();
  }

  [[gnu::noinline]] Flow Print(const Stmt& s) {
    bool newline = true;
    for (const PrintItem& item : s.items) {
      if (item.value) {
        if (item.value->kind == Kind::Str && (item.value->op == EOp::Var || item.value->op == EOp::StrLit)) {
          std::string tmp;
          Write(SRef(*item.value, tmp));
        } else {
          Write(Text(*item.value));
        }
      }
      if (item.sep == ',') Write(" ");
      newline = item.sep == 0;
    }
    if (newline) Write("\n");
    MaybeFlush();
    return Flow::Normal;
  }

  // The number a line of input holds for a numeric variable.
  double InputNumber(const std::string& line, const Expr& target, int at) {
    double x;
    if (ReadNumber(line, x)) return x;
    std::string shown = line.size() > 40 ? line.substr(0, 40) + "..." : line;
    Fail(at, "input needs a number for " + target.s + ", not \"" + shown + "\"");
  }

  [[gnu::noinline]] Flow Input(const Stmt& s) {
    Write(s.b ? Text(*s.b) : std::string("? "));
    Flush();
    std::string line;
    // At the end of the input there is nothing more to wait for: a loop that asks again
    // would never end.
    if (!host_ || !host_->ReadLine(line)) Fail(s.line, "input found the end of the input");
    const Expr& target = *s.a;
    Type t = target.type;
    switch (KindOf(t)) {
      case Kind::Str: StrPlace(target) = std::move(line); break;
      case Kind::Float: {
        double x = InputNumber(line, target, s.line);
        FloatPlace(target) = x;
        break;
      }
      case Kind::Bool: {
        bool yes = SameWord(line, "true") || (!SameWord(line, "false") && InputNumber(line, target, s.line) != 0);
        IntPlace(target) = yes ? -1 : 0;
        break;
      }
      default: {
        int64_t x = Fit(InputNumber(line, target, s.line), t.base, s.line);
        IntPlace(target) = x;
        break;
      }
    }
    return Flow::Normal;
  }

  int64_t ArraySize(const DimItem& d, const Expr& size) {
    int64_t n = AsInt(size);
    if (n < 0) Fail(d.line, "array " + d.name + " cannot have " + std::to_string(n) + " elements");
    if (n > MaxArray) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(n) + " elements)");
    return n;
  }

  // Gives an array new sizes, keeping the elements both sizes have.
  void Resize(const DimItem& d, Array& a) {
    int64_t rows = ArraySize(d, *d.size);
    int64_t cols = d.size2 ? ArraySize(d, *d.size2) : 0;
    if (cols && rows * cols > MaxArray) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(rows * cols) + " elements)");
    if (a.pinned) Fail(d.line, "array " + d.name + " cannot change while an element of it is passed byref");
    switch (KindOf(d.type)) {
      case Kind::Float: Regrid(a.floats, a.rows, a.cols, rows, cols); break;
      case Kind::Str: Regrid(a.strs, a.rows, a.cols, rows, cols); break;
      case Kind::Rec:
        Regrid(a.recs, a.rows, a.cols, rows, cols);
        for (Cell& c : a.recs)
          if (!c.agg) Init(c, d.type, false);
        break;
      default: Regrid(a.ints, a.rows, a.cols, rows, cols); break;
    }
    a.rows = rows;
    a.cols = cols;
  }

  [[gnu::noinline]] Flow Dim(const Stmt& s) {
    for (const DimItem& d : s.dims) {
      if (d.size) {
        auto fresh = std::make_unique<Array>();
        Resize(d, *fresh);
        std::unique_ptr<Array>& place = Slot(d.global, d.slot).arr;
        if (place && place->pinned) Fail(d.line, "array " + d.name + " cannot change while an element of it is passed byref");
        place = std::move(fresh);
        continue;
      }
      Cell& c = Slot(d.global, d.slot);
      if (!d.init) {
        Init(c, d.type, false);
        continue;
      }
      Cell value;
      Init(value, d.type, false);
      StoreCell(value, d.type, *d.init);
      Cell& place = Slot(d.global, d.slot);
      place.i = value.i;
      place.f = value.f;
      place.s = std::move(value.s);
      place.agg = std::move(value.agg);
    }
    return Flow::Normal;
  }

  [[gnu::noinline]] Flow Redim(const Stmt& s) {
    for (const DimItem& d : s.dims) Resize(d, *Slot(d.global, d.slot).arr);
    return Flow::Normal;
  }

  Flow If(const Stmt& s) {
    for (size_t k = 0; k < s.args.size(); ++k)
      if (Cond(*s.args[k])) return ExecBlock(s.blocks[k], 0);
    if (s.hasElse) return ExecBlock(s.blocks.back(), 0);
    return Flow::Normal;
  }

  // What a loop does with the flow its body ended with: true to leave the loop with out.
  static bool LeaveLoop(Flow f, Flow exitKind, Flow& out) {
    if (f == Flow::Normal || f == Flow::Continue) return false;
    out = (f == Flow::Break || f == exitKind) ? Flow::Normal : f;
    return true;
  }

  // The last value an integer counter may take for a float end of a for loop.
  static int64_t EndOf(double end, int64_t step) {
    if (std::isnan(end)) return step > 0 ? INT64_MIN : INT64_MAX;
    return RoundToInt(step > 0 ? std::floor(end) : std::ceil(end));
  }

  // An integer counter takes whole steps from its start and never wraps round its type: the
  // loop ends when the next value would pass the end, and the counter keeps that next value
  // when its type holds it.
  [[gnu::noinline]] Flow IntFor(const Stmt& s) {
    const Expr& counter = *s.a;
    Base base = counter.type.base;
    int64_t from = FitValue(*s.b, base);
    bool floatEnd = s.c->kind == Kind::Float;
    double endF = floatEnd ? F(*s.c) : 0;
    int64_t to = floatEnd ? 0 : AsInt(*s.c);
    int64_t step = s.d ? AsInt(*s.d) : 1;
    if (floatEnd) to = EndOf(endF, step);
    if (step == 0) Fail(s.line, "the step of a for loop cannot be 0");
    // A frame's cells never move while it runs, so the counter is looked up once.
    int64_t& c = IntPlace(counter);
    c = from;
    Flow out = Flow::Normal;
    const Block& body = s.blocks[0];
    for (;;) {
      int64_t v = c;
      if (step > 0 ? v > to : v < to) break;
      if (LeaveLoop(ExecBlock(body, 0), Flow::ExitFor, out)) return out;
      int64_t next;
      if (__builtin_add_overflow(c, step, &next)) break;
      if (step > 0 ? next > to : next < to) {
        KeepIfItFits(c, next, base);
        break;
      }
      c = Fit(next, base, s.line);
    }
    return Flow::Normal;
  }

  static void KeepIfItFits(int64_t& counter, int64_t next, Base base) {
    std::string why;
    int64_t kept;
    if (StoredInteger(next, base, kept, why)) counter = kept;
  }

  [[gnu::noinline]] Flow FloatFor(const Stmt& s) {
    const Expr& counter = *s.a;
    double from = F(*s.b), to = F(*s.c), step = s.d ? F(*s.d) : 1;
    if (step == 0 || std::isnan(step)) Fail(s.line, "the step of a for loop cannot be 0");
    double& c = FloatPlace(counter);
    c = from;
    Flow out = Flow::Normal;
    for (;;) {
      double v = c;
      if (step > 0 ? v > to : v < to) break;
      if (LeaveLoop(ExecBlock(s.blocks[0], 0), Flow::ExitFor, out)) return out;
      c = c + step;
    }
    return Flow::Normal;
  }

  Flow For(const Stmt& s) { return s.a->kind == Kind::Float ? FloatFor(s) : IntFor(s); }

  [[gnu::noinline]] Flow Select(const Stmt& s) {
    const Expr& subject = *s.a;
    bool str = subject.kind == Kind::Str;
    std::string sv;
    double fv = 0;
    int64_t iv = 0;
    bool isFloat = subject.kind == Kind::Float;
    if (str) {
      sv = S(subject);
    } else if (isFloat) {
      fv = F(subject);
    } else {
      try {
        iv = I(subject);
      } catch (const IntOverflow&) {
        isFloat = true;
        fv = Widened(subject);
      }
    }
    for (const CaseArm& arm : s.arms) {
      bool match = arm.items.empty();
      for (const CaseItem& item : arm.items) {
        if (match) break;
        if (str) {
          std::string lo = S(*item.lo);
          match = item.hi ? (sv >= lo && sv <= S(*item.hi)) : Holds(item.compare, Order(sv, lo));
        } else if (isFloat || item.lo->kind == Kind::Float || (item.hi && item.hi->kind == Kind::Float)) {
          double x = isFloat ? fv : static_cast<double>(iv);
          double lo = F(*item.lo);
          match = item.hi ? (x >= lo && x <= F(*item.hi)) : Holds(item.compare, Order(x, lo));
        } else {
          int64_t lo = AsInt(*item.lo);
          match = item.hi ? (iv >= lo && iv <= AsInt(*item.hi)) : Holds(item.compare, Order(iv, lo));
        }
      }
      if (match) return ExecBlock(arm.body, 0);
    }
    return Flow::Normal;
  }

  [[gnu::noinline]] Flow Gosub(const Stmt& s) {
    if (depth_ >= maxDepth_) TooManyCalls(s.line, "gosubs", "does every gosub return?");
    const auto& [block, index] = labelHome_[s.target];
    ++gosub_;
    ++depth_;
    Flow f = ExecBlock(*block, static_cast<size_t>(index));
    --depth_;
    --gosub_;
    if (f == Flow::GosubReturn) return Flow::Normal;
    if (f == Flow::Normal) {
      // Running off the end of the program or procedure inside a gosub ends it.
      if (block == &prog_.main) throw EndProgram{};
      if (proc_ && block == &proc_->body) return Flow::Return;
    }
    return f;
  }

  [[gnu::noinline]] void Discard(const Expr& e) {
    switch (e.kind) {
      case Kind::Str: S(e); break;
      case Kind::Float: F(e); break;
      case Kind::Rec: {
        Cell tmp;
        RecordValue(e, tmp);
        break;
      }
      default: AsInt(e); break;
    }
  }

  Flow Assign(const Stmt& s) {
    const Expr& t = *s.a;
    // The common cases straight to the variable's cell.
    if (t.op == EOp::Var && !t.byref) {
      if (t.type.base == Base::Float) {
        double x = F(*s.b);
        Slot(t.global, t.slot).f = x;
        return Flow::Normal;
      }
      if (t.type.base == Base::Int) {
        int64_t x = FitValue(*s.b, Base::Int);
        Slot(t.global, t.slot).i = x;
        return Flow::Normal;
      }
    }
    Store(t, *s.b);
    return Flow::Normal;
  }

  [[gnu::noinline]] Flow Append(const Stmt& s) {
    if (s.b->op == EOp::StrLit) {
      std::string& target = StrPlace(*s.a);
      if (target.size() + s.b->s.size() > MaxText) Fail(s.line, "text too long");
      target += s.b->s;
      return Flow::Normal;
    }
    std::string tail = Text(*s.b);
    std::string& target = StrPlace(*s.a);
    if (target.size() + tail.size() > MaxText) Fail(s.line, "text too long");
    target += tail;
    return Flow::Normal;
  }

  [[gnu::noinline]] Flow Mbox(const Stmt& s) {
    std::string text = Text(*s.a);
    Flush();
    if (host_) host_->ShowBox(text);
    return Flow::Normal;
  }

  [[gnu::noinline]] Flow CallSub(const Stmt& s) {
    if (s.target < 0) {
      Discard(*s.a);
      return Flow::Normal;
    }
    Cell result;
    CallProc(s.target, s.args, prog_.procs[s.target].isFunction ? &result : nullptr, s.line);
    return Flow::Normal;
  }

  // One statement. It stays a small dispatcher: blocks nested in blocks recurse through it.
  Flow Exec(const Stmt& s) {
    curLine = s.line;
    switch (s.op) {
      case SOp::Print: return Print(s);
      case SOp::Input: return Input(s);
      case SOp::Mbox: return Mbox(s);
      case SOp::Dim: return Dim(s);
      case SOp::Redim: return Redim(s);
      case SOp::Const:
      case SOp::Label: return Flow::Normal;
      case SOp::Assign: return Assign(s);
      case SOp::Append: return Append(s);
      case SOp::If: return If(s);
      case SOp::For: return For(s);
      case SOp::While: {
        Flow out;
        while (Cond(*s.a))
          if (LeaveLoop(ExecBlock(s.blocks[0], 0), Flow::ExitWhile, out)) return out;
        return Flow::Normal;
      }
      case SOp::Do: {
        Flow out;
        for (;;)
          if (LeaveLoop(ExecBlock(s.blocks[0], 0), Flow::ExitDo, out)) return out;
      }
      case SOp::Repeat: {
        Flow out;
        do {
          if (LeaveLoop(ExecBlock(s.blocks[0], 0), Flow::Break, out)) return out;
        } while (!Cond(*s.a));
        return Flow::Normal;
      }
      case SOp::ExitFor: return Flow::ExitFor;
      case SOp::ExitWhile: return Flow::ExitWhile;
      case SOp::ExitDo: return Flow::ExitDo;
      case SOp::Break: return Flow::Break;
      case SOp::Continue: return Flow::Continue;
      case SOp::ExitProc: return Flow::Return;
      case SOp::Select: return Select(s);
      case SOp::CallSub: return CallSub(s);
      case SOp::Goto: pendingLabel_ = s.target; return Flow::Goto;
      case SOp::Gosub: return Gosub(s);
      case SOp::Return:
        if (s.a) {
          if (result_) StoreCell(*result_, proc_->ret, *s.a);
          return Flow::Return;
        }
        if (gosub_ > 0) return Flow::GosubReturn;
        if (proc_) return Flow::Return;
        Fail(s.line, "return without gosub");
      case SOp::End: throw EndProgram{};
    }
    return Flow::Normal;
  }

  // --- built-in functions
  uint64_t NextRandom() {
    rng_ ^= rng_ >> 12;
    rng_ ^= rng_ << 25;
    rng_ ^= rng_ >> 27;
    return rng_ * 2685821657736338717ULL;
  }

  double Arg(const Expr& e, size_t k) { return F(*e.args[k]); }

  // ubound and lbound of an array, for its first or second dimension.
  int64_t Bound(const Expr& e, bool upper) {
    const Expr& name = *e.args[0];
    int64_t dim = e.args.size() == 2 ? AsInt(*e.args[1]) : 1;
    if (dim < 1 || dim > name.i) {
      Fail(e.line, "array " + name.s + " has no dimension " + std::to_string(dim) + " (it has " + std::to_string(name.i) + ")");
    }
    const Array& a = *Slot(name.global, name.slot).arr;
    if (!upper) return 1;
    return dim == 1 ? a.rows : a.cols;
  }

  [[gnu::noinline]] int64_t IntBuiltin(const Expr& e) {
    std::string t1, t2;
    switch (static_cast<Bi>(e.slot)) {
      case Bi::Len: return static_cast<int64_t>(SRef(*e.args[0], t1).size());
      case Bi::Instr: {
        size_t n = e.args.size();
        int64_t start = n == 3 ? AsInt(*e.args[0]) : 1;
        const std::string& s = SRef(*e.args[n - 2], t1);
        const std::string& find = SRef(*e.args[n - 1], t2);
        if (start < 1) start = 1;
        if (start > static_cast<int64_t>(s.size()) + 1) return 0;
        size_t at = s.find(find, static_cast<size_t>(start - 1));
        return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
      }
      case Bi::Asc: {
        const std::string& s = SRef(*e.args[0], t1);
        return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
      }
      case Bi::Abs: {
        int64_t v = I(*e.args[0]);
        return v < 0 ? Sub(0, v) : v;
      }
      case Bi::Sgn: {
        double v = F(*e.args[0]);
        return v > 0 ? 1 : v < 0 ? -1 : 0;
      }
      case Bi::Irnd: {
        int64_t lo = AsInt(*e.args[0]), hi = AsInt(*e.args[1]);
        if (lo > hi) std::swap(lo, hi);
        uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
        uint64_t pick = span == 0 ? NextRandom() : NextRandom() % span;
        return static_cast<int64_t>(static_cast<uint64_t>(lo) + pick);
      }
      case Bi::Putfile: {
        std::string name = S(*e.args[0]);
        std::string text = Text(*e.args[1]);
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(name.c_str(), "wb"), &std::fclose);
        bool ok = f && std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
        if (f && std::fclose(f.release()) != 0) ok = false;
        if (!ok) Fail(e.line, "cannot write the file " + name);
        return -1;
      }
      case Bi::Ubound: return Bound(e, true);
      case Bi::Lbound: return Bound(e, false);
      default: Fail(e.line, "internal error: no integer built-in");
    }
  }

  void Domain(const Expr& e, bool ok, const char* message) {
    if (!ok) Fail(e.line, message);
  }

  [[gnu::noinline]] double FloatBuiltin(const Expr& e) {
    switch (static_cast<Bi>(e.slot)) {
      case Bi::Val: {
        std::string t;
        return ParseNumber(SRef(*e.args[0], t));
      }
      case Bi::Abs: return std::fabs(Arg(e, 0));
      case Bi::Sqr: {
        double x = Arg(e, 0);
        Domain(e, x >= 0, "square root of a negative number");
        return std::sqrt(x);
      }
      case Bi::Sin: return std::sin(Arg(e, 0));
      case Bi::Cos: return std::cos(Arg(e, 0));
      case Bi::Tan: return std::tan(Arg(e, 0));
      case Bi::Atn: return std::atan(Arg(e, 0));
      case Bi::Asin: {
        double x = Arg(e, 0);
        Domain(e, x >= -1 && x <= 1, "asin needs a value from -1 to 1");
        return std::asin(x);
      }
      case Bi::Acos: {
        double x = Arg(e, 0);
        Domain(e, x >= -1 && x <= 1, "acos needs a value from -1 to 1");
        return std::acos(x);
      }
      case Bi::Exp: return std::exp(Arg(e, 0));
      case Bi::Log: {
        double x = Arg(e, 0);
        Domain(e, x > 0, "log needs a value above 0");
        return std::log(x);
      }
      case Bi::Pow: return std::pow(Arg(e, 0), Arg(e, 1));
      case Bi::Hypot: return std::hypot(Arg(e, 0), Arg(e, 1));
      case Bi::Int:
      case Bi::Floor: return std::floor(Arg(e, 0));
      case Bi::Frac: {
        double x = Arg(e, 0);
        return x - std::trunc(x);
      }
      case Bi::Ceil: return std::ceil(Arg(e, 0));
      case Bi::Round: return std::nearbyint(Arg(e, 0));
      case Bi::Pi: return 3.141592653589793;
      case Bi::Rnd: return static_cast<double>(NextRandom() >> 11) * (1.0 / 9007199254740992.0);
      default: Fail(e.line, "internal error: no float built-in");
    }
  }

  [[gnu::noinline]] std::string StrBuiltin(const Expr& e) {
    std::string t1;
    switch (static_cast<Bi>(e.slot)) {
      case Bi::Left:
      case Bi::Right: {
        const std::string& s = SRef(*e.args[0], t1);
        int64_t n = AsInt(*e.args[1]);
        if (n <= 0) return "";
        size_t len = static_cast<size_t>(n) < s.size() ? static_cast<size_t>(n) : s.size();
        return static_cast<Bi>(e.slot) == Bi::Left ? s.substr(0, len) : s.substr(s.size() - len);
      }
      case Bi::Mid: {
        const std::string& s = SRef(*e.args[0], t1);
        int64_t start = AsInt(*e.args[1]);
        int64_t n = e.args.size() == 3 ? AsInt(*e.args[2]) : static_cast<int64_t>(s.size());
        if (start < 1) start = 1;
        if (n < 0) n = static_cast<int64_t>(s.size());
        if (start > static_cast<int64_t>(s.size())) return "";
        return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n));
      }
      case Bi::Ucase:
      case Bi::Lcase: {
        std::string s = S(*e.args[0]);
        bool up = static_cast<Bi>(e.slot) == Bi::Ucase;
        for (char& c : s) {
          if (up && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
          if (!up && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        }
        return s;
      }
      case Bi::Ltrim: {
        const std::string& s = SRef(*e.args[0], t1);
        size_t k = s.find_first_not_of(' ');
        return k == std::string::npos ? "" : s.substr(k);
      }
      case Bi::Rtrim: {
        const std::string& s = SRef(*e.args[0], t1);
        size_t k = s.find_last_not_of(' ');
        return k == std::string::npos ? "" : s.substr(0, k + 1);
      }
      case Bi::Str: return Text(*e.args[0]);
      case Bi::Chr: {
        int64_t n = AsInt(*e.args[0]);
        if (n < 0 || n > 255) Fail(e.line, "chr needs a code from 0 to 255, not " + std::to_string(n));
        return std::string(1, static_cast<char>(n));
      }
      case Bi::Hex: {
        int64_t n = AsInt(*e.args[0]);
        char buf[24];
        if (n >= INT32_MIN && n <= static_cast<int64_t>(UINT32_MAX)) {
          std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<uint32_t>(n)));
        } else {
          std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(n));
        }
        return buf;
      }
      case Bi::Space: {
        int64_t n = AsInt(*e.args[0]);
        if (n <= 0) return "";
        if (static_cast<uint64_t>(n) > MaxText) Fail(e.line, "text too long");
        return std::string(static_cast<size_t>(n), ' ');
      }
      case Bi::Getfile: {
        std::string name = S(*e.args[0]);
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(name.c_str(), "rb"), &std::fclose);
        std::string text;
        if (!f) return text;
        std::string chunk(65536, '\0');
        size_t got;
        while ((got = std::fread(chunk.data(), 1, chunk.size(), f.get())) > 0) {
          if (text.size() + got > MaxText) Fail(e.line, "the file " + name + " is too large");
          text.append(chunk, 0, got);
        }
        return text;
      }
      default: Fail(e.line, "internal error: no string built-in");
    }
  }

  const Program& prog_;
  Host* host_;
  int maxDepth_;
  std::vector<Cell> globals_;
  Cell* frame_ = nullptr;
  Cell* result_ = nullptr;
  const Proc* proc_ = nullptr;
  int gosub_ = 0;
  int depth_ = 0;  // calls and gosubs running
  int pendingLabel_ = -1;
  Stack stack_;
  std::vector<Array*> pins_;
  std::vector<bool> plain_;  // per procedure: see Main  // arrays with an element passed byref, one entry per parameter
  std::vector<std::pair<const Block*, int>> labelHome_;
  std::string out_;
  std::chrono::steady_clock::time_point lastFlush_;
  uint64_t rng_;
};

}  // namespace

int Run(const Program& prog, Host& host, std::string& error, int maxDepth) {
  Interp in(prog, &host, maxDepth);
  try {
    in.Main();
    in.Flush();
    return 0;
  } catch (const EndProgram&) {
    in.Flush();
    return 0;
  } catch (const RunError& e) {
    in.Flush();
    error = Where(prog.unit, e.line) + ": " + e.message;
  } catch (const IntOverflow&) {
    in.Flush();
    error = Where(prog.unit, in.curLine) + ": integer overflow: the value needs more than 64 bits";
  } catch (const std::bad_alloc&) {
    in.Flush();
    error = Where(prog.unit, in.curLine) + ": out of memory";
  }
  return 1;
}

bool EvalConstant(const Program& prog, const Expr& e, ConstValue& value, std::string& error) {
  // Each level of the expression takes a frame or two of the interpreter.
  constexpr uintptr_t BytesPerLevel = 160;
  if (prog.stackFloor && StackHere() - prog.stackFloor < e.height * BytesPerLevel) {
    error = "expression nested too deeply for the stack";
    return false;
  }
  Interp in(prog, nullptr, 0);
  try {
    value = in.Constant(e);
    return true;
  } catch (const RunError& r) {
    error = r.message;
  } catch (const IntOverflow&) {
    error = "integer overflow: the value needs more than 64 bits";
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  }
  return false;
}

}  // namespace zb
