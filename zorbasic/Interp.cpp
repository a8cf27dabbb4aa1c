// The interpreter: walks the checked tree. Every expression has a fixed kind, so integers,
// floats and strings are evaluated by separate routines without a tagged value in between.
#include "zorbasic/Interp.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "zorbasic/Builtins.h"
#include "zorbasic/NumberText.h"

namespace zb {

std::string FormatInt(int64_t v) { return std::to_string(v); }
// A bool prints as its value: true is -1 and false 0, as in every other arithmetic.
std::string FormatBool(int64_t v) { return v ? "-1" : "0"; }

namespace {

struct Cell {
  int64_t i = 0;
  double f = 0;
  std::string s;
  std::unique_ptr<std::vector<Cell>> agg;  // a record's fields or an array's elements
  Cell* ref = nullptr;                     // a byref parameter's place
};

struct RunError {
  int line;
  std::string message;
};
struct EndProgram {};

enum class Flow { Normal, Break, Continue, ExitFor, ExitWhile, ExitDo, Return, Goto, GosubReturn };

constexpr int64_t MaxArray = 50'000'000;
constexpr size_t MaxText = 256u * 1024 * 1024;

int64_t Wrap(int64_t v, Base b) {
  switch (b) {
    case Base::Int: return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
    case Base::Byte: return v & 0xFF;
    case Base::Word: return v & 0xFFFF;
    case Base::Dword: return v & 0xFFFFFFFFLL;
    case Base::Bool: return v ? -1 : 0;
    default: return v;
  }
}

// Floats become integers by rounding, halves to even.
int64_t RoundToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.2e18) return INT64_MAX;
  if (x <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(std::nearbyint(x));
}

int64_t AddWrap(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t SubWrap(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
int64_t MulWrap(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }

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

  void Init(Cell& c, Type t, bool array) {
    c.i = 0;
    c.f = 0;
    if (!c.s.empty()) c.s.clear();
    c.ref = nullptr;
    if (!array && t.base != Base::Rec) {
      if (c.agg) c.agg.reset();
      return;
    }
    if (array) {
      c.agg = std::make_unique<std::vector<Cell>>();
    } else if (t.base == Base::Rec) {
      const RecType& r = prog_.types[t.rec];
      c.agg = std::make_unique<std::vector<Cell>>(r.fields.size());
      for (size_t k = 0; k < r.fields.size(); ++k) Init((*c.agg)[k], r.fields[k].type, false);
    } else {
      c.agg.reset();
    }
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

  // --- places
  Cell& Slot(bool global, int slot) { return global ? globals_[slot] : frame_[slot]; }

  Cell& P(const Expr& e) {
    switch (e.op) {
      case EOp::Var: {
        Cell& c = Slot(e.global, e.slot);
        return e.byref ? *c.ref : c;
      }
      case EOp::Index: {
        Cell& arr = Slot(e.global, e.slot);
        int64_t k = AsInt(*e.a);
        int64_t n = static_cast<int64_t>(arr.agg->size());
        if (k < 1 || k > n) {
          Fail(e.line, "index " + std::to_string(k) + " is out of range for array " + e.s +
                           (n ? " (1 to " + std::to_string(n) + ")" : " (it has no elements)"));
        }
        return (*arr.agg)[static_cast<size_t>(k - 1)];
      }
      case EOp::Field: return (*P(*e.a).agg)[e.slot];
      case EOp::RefArg: return P(*e.a);
      default: Fail(e.line, "not a place");
    }
  }

  // A readable place; a call's result is kept in tmp.
  const Cell& Read(const Expr& e, Cell& tmp) {
    switch (e.op) {
      case EOp::Field: {
        if (e.a->op == EOp::Var || e.a->op == EOp::Index || e.a->op == EOp::Field) return (*P(*e.a).agg)[e.slot];
        const Cell& b = Read(*e.a, tmp);
        return (*b.agg)[e.slot];
      }
      case EOp::Call:
        Call(e, tmp);
        return tmp;
      default: return P(e);
    }
  }

  const std::string& SRef(const Expr& e, std::string& tmp) {
    if (e.op == EOp::Var || e.op == EOp::Index) return P(e).s;
    if (e.op == EOp::StrLit) return e.s;
    tmp = S(e);
    return tmp;
  }

  // --- values
  int64_t AsInt(const Expr& e) { return e.kind == Kind::Float ? RoundToInt(F(e)) : I(e); }
  bool Cond(const Expr& e) { return e.kind == Kind::Float ? F(e) != 0 : I(e) != 0; }

  std::string Text(const Expr& e) {
    switch (e.kind) {
      case Kind::Str: return S(e);
      case Kind::Float: return FormatFloat(F(e));
      case Kind::Bool: return FormatBool(I(e));
      default: return FormatInt(I(e));
    }
  }

  int64_t IntOperand(const Expr& e) { return AsInt(e); }
  static bool IsIntKind(const Expr& e) { return e.kind == Kind::Int || e.kind == Kind::Bool; }

  int Compare(const Expr& e) {
    const Expr& a = *e.a;
    const Expr& b = *e.b;
    if (a.kind == Kind::Str) {
      std::string ta, tb;
      int c = SRef(a, ta).compare(SRef(b, tb));
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    if (a.kind == Kind::Float || b.kind == Kind::Float) {
      double x = F(a), y = F(b);
      if (std::isnan(x) || std::isnan(y)) return 2;  // unordered: only <> holds
      return x < y ? -1 : x > y ? 1 : 0;
    }
    int64_t x = I(a), y = I(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }

  int64_t I(const Expr& e) {
    switch (e.op) {
      case EOp::IntLit:
      case EOp::BoolLit: return e.i;
      case EOp::Var: {
        const Cell& c = Slot(e.global, e.slot);
        return e.byref ? c.ref->i : c.i;
      }
      case EOp::Index: return P(e).i;
      case EOp::Field: {
        Cell tmp;
        return Read(e, tmp).i;
      }
      case EOp::Call: {
        Cell r;
        Call(e, r);
        return r.i;
      }
      case EOp::Builtin: return IntBuiltin(e);
      case EOp::Neg: return SubWrap(0, I(*e.a));
      case EOp::Not: return ~IntOperand(*e.a);
      case EOp::Add: return AddWrap(I(*e.a), I(*e.b));
      case EOp::Sub: return SubWrap(I(*e.a), I(*e.b));
      case EOp::Mul: return MulWrap(I(*e.a), I(*e.b));
      case EOp::IntDiv:
      case EOp::Mod: {
        int64_t x = IntOperand(*e.a), y = IntOperand(*e.b);
        if (y == 0) Fail(e.line, "division by zero");
        if (y == -1) return e.op == EOp::Mod ? 0 : SubWrap(0, x);
        return e.op == EOp::Mod ? x % y : x / y;
      }
      case EOp::Shl: {
        int64_t x = IntOperand(*e.a), n = IntOperand(*e.b);
        if (n < 0 || n >= 64) return 0;
        return static_cast<int64_t>(static_cast<uint64_t>(x) << n);
      }
      case EOp::Shr: {
        int64_t x = IntOperand(*e.a), n = IntOperand(*e.b);
        if (n < 0 || n >= 64) return x < 0 ? -1 : 0;
        return x >> n;
      }
      case EOp::And: return IntOperand(*e.a) & IntOperand(*e.b);
      case EOp::Or: return IntOperand(*e.a) | IntOperand(*e.b);
      case EOp::Xor: return IntOperand(*e.a) ^ IntOperand(*e.b);
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
      case EOp::Le: {
        if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) <= I(*e.b) ? -1 : 0;
        int c = Compare(e);
        return c == -1 || c == 0 ? -1 : 0;
      }
      case EOp::Ge: {
        if (IsIntKind(*e.a) && IsIntKind(*e.b)) return I(*e.a) >= I(*e.b) ? -1 : 0;
        int c = Compare(e);
        return c == 1 || c == 0 ? -1 : 0;
      }
      default: Fail(e.line, "internal error: no integer value");
    }
  }

  double F(const Expr& e) {
    if (e.kind != Kind::Float) return static_cast<double>(I(e));
    switch (e.op) {
      case EOp::FloatLit: return e.f;
      case EOp::Var: {
        const Cell& c = Slot(e.global, e.slot);
        return e.byref ? c.ref->f : c.f;
      }
      case EOp::Index: return P(e).f;
      case EOp::Field: {
        Cell tmp;
        return Read(e, tmp).f;
      }
      case EOp::Call: {
        Cell r;
        Call(e, r);
        return r.f;
      }
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
      case EOp::Index: return P(e).s;
      case EOp::Field: {
        Cell tmp;
        return Read(e, tmp).s;
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

  void RecordValue(const Expr& e, Cell& into) {
    if (e.op == EOp::Call) {
      Cell r;
      Call(e, r);
      into.agg = std::move(r.agg);
      return;
    }
    Cell tmp;
    const Cell& src = Read(e, tmp);
    if (&src == &tmp) {
      into.agg = std::move(tmp.agg);
    } else {
      CopyRecord(into, src);
    }
  }

  // Stores a value into a place of the given type; the value is computed before the place is
  // looked up, since computing it may run code that moves array elements.
  void Store(const Expr& target, const Expr& v) {
    Type t = target.type;
    switch (KindOf(t)) {
      case Kind::Int:
      case Kind::Bool: {
        int64_t x = t.base == Base::Bool ? (Cond(v) ? -1 : 0) : AsInt(v);
        P(target).i = Wrap(x, t.base);
        return;
      }
      case Kind::Float: {
        double x = F(v);
        P(target).f = x;
        return;
      }
      case Kind::Str: {
        std::string x = S(v);
        P(target).s = std::move(x);
        return;
      }
      case Kind::Rec: {
        Cell tmp;
        RecordValue(v, tmp);
        P(target).agg = std::move(tmp.agg);
        return;
      }
      default: return;
    }
  }

  void StoreCell(Cell& c, Type t, const Expr& v) {
    switch (KindOf(t)) {
      case Kind::Int: c.i = Wrap(AsInt(v), t.base); return;
      case Kind::Bool: c.i = Cond(v) ? -1 : 0; return;
      case Kind::Float: c.f = F(v); return;
      case Kind::Str: c.s = S(v); return;
      case Kind::Rec: RecordValue(v, c); return;
      default: return;
    }
  }

  // --- calls
  void Call(const Expr& e, Cell& result) { CallProc(e.slot, e.args, &result, e.line); }

  void CallProc(int index, const std::vector<ExprPtr>& args, Cell* result, int line) {
    const Proc& p = prog_.procs[index];
    const std::vector<SlotInfo>& slots = prog_.procSlots[index];
    if (depth_ >= maxDepth_) Fail(line, "too many nested calls (" + std::to_string(maxDepth_) + "): is the recursion endless?");
    size_t savedChunk, savedTop;
    Cell* frame = stack_.Push(slots.size(), savedChunk, savedTop);
    // A parameter is set from its argument at once; the other slots start empty.
    for (size_t k = 0; k < args.size(); ++k) {
      if (args[k]->op == EOp::RefArg) {
        frame[k].ref = &P(*args[k]->a);
      } else {
        if (slots[k].array || slots[k].type.base == Base::Rec) Init(frame[k], slots[k].type, slots[k].array);
        StoreCell(frame[k], p.params[k].type, *args[k]);
      }
    }
    for (size_t k = args.size(); k < slots.size(); ++k) Init(frame[k], slots[k].type, slots[k].array);
    if (result) Init(*result, p.ret, false);
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
    for (size_t k = 0; k < slots.size(); ++k) frame[k].agg.reset();
    stack_.Pop(savedChunk, savedTop);
  }

  // --- statements
  Flow ExecBlock(const Block& b, size_t start) {
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

  Flow Print(const Stmt& s) {
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

  Flow Input(const Stmt& s) {
    Write(s.b ? Text(*s.b) : std::string("? "));
    Flush();
    std::string line;
    // At the end of the input there is nothing more to wait for: a loop that asks again
    // would never end.
    if (!host_ || !host_->ReadLine(line)) Fail(s.line, "input found the end of the input");
    Type t = s.a->type;
    switch (KindOf(t)) {
      case Kind::Str: P(*s.a).s = std::move(line); break;
      case Kind::Float: P(*s.a).f = ParseNumber(line); break;
      case Kind::Bool: P(*s.a).i = ParseNumber(line) != 0 || SameWord(line, "true") ? -1 : 0; break;
      default: P(*s.a).i = Wrap(RoundToInt(ParseNumber(line)), t.base); break;
    }
    return Flow::Normal;
  }

  int64_t ArraySize(const DimItem& d) {
    int64_t n = AsInt(*d.size);
    if (n < 0) Fail(d.line, "array " + d.name + " cannot have " + std::to_string(n) + " elements");
    if (n > MaxArray) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(n) + " elements)");
    return n;
  }

  Flow Dim(const Stmt& s) {
    for (const DimItem& d : s.dims) {
      if (d.size) {
        int64_t n = ArraySize(d);
        auto elements = std::make_unique<std::vector<Cell>>(static_cast<size_t>(n));
        if (d.type.base == Base::Rec)
          for (Cell& c : *elements) Init(c, d.type, false);
        Slot(d.global, d.slot).agg = std::move(elements);
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

  Flow Redim(const Stmt& s) {
    for (const DimItem& d : s.dims) {
      int64_t n = ArraySize(d);
      std::vector<Cell>& v = *Slot(d.global, d.slot).agg;
      size_t old = v.size();
      v.resize(static_cast<size_t>(n));
      if (d.type.base == Base::Rec)
        for (size_t k = old; k < v.size(); ++k) Init(v[k], d.type, false);
    }
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

  Flow For(const Stmt& s) {
    const Expr& counter = *s.a;
    const Block& body = s.blocks[0];
    Flow out = Flow::Normal;
    if (s.intLoop) {
      int64_t from = I(*s.b), to = I(*s.c), step = s.d ? I(*s.d) : 1;
      if (step == 0) Fail(s.line, "the step of a for loop cannot be 0");
      // A frame's cells never move while it runs, so the counter's cell is looked up once.
      Cell& c = P(counter);
      c.i = Wrap(from, Base::Int);
      for (;;) {
        int64_t v = c.i;
        if (step > 0 ? v > to : v < to) break;
        if (LeaveLoop(ExecBlock(body, 0), Flow::ExitFor, out)) return out;
        int64_t next = c.i + step;
        if (next > INT32_MAX || next < INT32_MIN) break;  // the counter cannot go past its type
        c.i = next;
      }
      return Flow::Normal;
    }
    bool isInt = counter.kind != Kind::Float;
    double from = F(*s.b), to = F(*s.c), step = s.d ? F(*s.d) : 1;
    if (isInt) step = static_cast<double>(RoundToInt(step));  // an integer counter takes whole steps
    if (step == 0 || std::isnan(step)) Fail(s.line, "the step of a for loop cannot be 0");
    auto set = [&](double v) {
      if (isInt) P(counter).i = Wrap(RoundToInt(v), counter.type.base);
      else P(counter).f = v;
    };
    auto get = [&]() { return isInt ? static_cast<double>(P(counter).i) : P(counter).f; };
    set(from);
    for (;;) {
      double v = get();
      if (step > 0 ? v > to : v < to) break;
      if (LeaveLoop(ExecBlock(body, 0), Flow::ExitFor, out)) return out;
      set(get() + step);
    }
    return Flow::Normal;
  }

  Flow Select(const Stmt& s) {
    const Expr& subject = *s.a;
    bool str = subject.kind == Kind::Str;
    std::string sv;
    double fv = 0;
    int64_t iv = 0;
    bool isFloat = subject.kind == Kind::Float;
    if (str) sv = S(subject);
    else if (isFloat) fv = F(subject);
    else iv = I(subject);
    for (const CaseArm& arm : s.arms) {
      bool match = arm.items.empty();
      for (const CaseItem& item : arm.items) {
        if (match) break;
        if (str) {
          std::string lo = S(*item.lo);
          match = item.hi ? (sv >= lo && sv <= S(*item.hi)) : sv == lo;
        } else if (isFloat || item.lo->kind == Kind::Float || (item.hi && item.hi->kind == Kind::Float)) {
          double x = isFloat ? fv : static_cast<double>(iv);
          double lo = F(*item.lo);
          match = item.hi ? (x >= lo && x <= F(*item.hi)) : x == lo;
        } else {
          int64_t lo = I(*item.lo);
          match = item.hi ? (iv >= lo && iv <= I(*item.hi)) : iv == lo;
        }
      }
      if (match) return ExecBlock(arm.body, 0);
    }
    return Flow::Normal;
  }

  Flow Gosub(const Stmt& s) {
    const auto& [block, index] = labelHome_[s.target];
    ++gosub_;
    Flow f = ExecBlock(*block, static_cast<size_t>(index));
    --gosub_;
    if (f == Flow::GosubReturn) return Flow::Normal;
    if (f == Flow::Normal) {
      // Running off the end of the program or procedure inside a gosub ends it.
      if (block == &prog_.main) throw EndProgram{};
      if (proc_ && block == &proc_->body) return Flow::Return;
    }
    return f;
  }

  void Discard(const Expr& e) {
    switch (e.kind) {
      case Kind::Str: S(e); break;
      case Kind::Float: F(e); break;
      case Kind::Rec: {
        Cell tmp;
        RecordValue(e, tmp);
        break;
      }
      default: I(e); break;
    }
  }

  Flow Exec(const Stmt& s) {
    curLine = s.line;
    switch (s.op) {
      case SOp::Print: return Print(s);
      case SOp::Input: return Input(s);
      case SOp::Mbox: {
        std::string text = Text(*s.a);
        Flush();
        if (host_) host_->ShowBox(text);
        return Flow::Normal;
      }
      case SOp::Dim: return Dim(s);
      case SOp::Redim: return Redim(s);
      case SOp::Const:
      case SOp::Label: return Flow::Normal;
      case SOp::Assign: {
        const Expr& t = *s.a;
        // The common cases straight to the variable's cell.
        if (t.op == EOp::Var && !t.byref) {
          if (t.type.base == Base::Float) {
            double x = F(*s.b);
            Slot(t.global, t.slot).f = x;
            return Flow::Normal;
          }
          if (t.type.base == Base::Int) {
            int64_t x = AsInt(*s.b);
            Slot(t.global, t.slot).i = Wrap(x, Base::Int);
            return Flow::Normal;
          }
        }
        Store(t, *s.b);
        return Flow::Normal;
      }
      case SOp::Append: {
        if (s.b->op == EOp::StrLit) {
          std::string& target = P(*s.a).s;
          if (target.size() + s.b->s.size() > MaxText) Fail(s.line, "text too long");
          target += s.b->s;
          return Flow::Normal;
        }
        std::string tail = Text(*s.b);
        std::string& target = P(*s.a).s;
        if (target.size() + tail.size() > MaxText) Fail(s.line, "text too long");
        target += tail;
        return Flow::Normal;
      }
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
      case SOp::CallSub:
        if (s.target >= 0) {
          Cell result;
          CallProc(s.target, s.args, prog_.procs[s.target].isFunction ? &result : nullptr, s.line);
        } else {
          Discard(*s.a);
        }
        return Flow::Normal;
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

  int64_t IntBuiltin(const Expr& e) {
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
        return v < 0 ? SubWrap(0, v) : v;
      }
      case Bi::Sgn: {
        double v = F(*e.args[0]);
        return v > 0 ? 1 : v < 0 ? -1 : 0;
      }
      case Bi::Irnd: {
        int64_t lo = AsInt(*e.args[0]), hi = AsInt(*e.args[1]);
        if (lo > hi) std::swap(lo, hi);
        uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
        return span == 0 ? static_cast<int64_t>(NextRandom()) : AddWrap(lo, static_cast<int64_t>(NextRandom() % span));
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
      default: Fail(e.line, "internal error: no integer built-in");
    }
  }

  void Domain(const Expr& e, bool ok, const char* message) {
    if (!ok) Fail(e.line, message);
  }

  double FloatBuiltin(const Expr& e) {
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

  std::string StrBuiltin(const Expr& e) {
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
        char chunk[65536];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
          if (text.size() + got > MaxText) Fail(e.line, "the file " + name + " is too large");
          text.append(chunk, got);
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
  int depth_ = 0;
  int pendingLabel_ = -1;
  Stack stack_;
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
  } catch (const std::bad_alloc&) {
    in.Flush();
    error = Where(prog.unit, in.curLine) + ": out of memory";
  }
  return 1;
}

bool EvalConstant(const Program& prog, const Expr& e, ConstValue& value, std::string& error) {
  Interp in(prog, nullptr, 0);
  try {
    value = in.Constant(e);
    return true;
  } catch (const RunError& r) {
    error = r.message;
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  }
  return false;
}

}  // namespace zb
