// The interpreter's parts shared by its files: the cells that hold values, arrays, the
// frames' stack and the Interp class, which walks the checked tree.
#pragma once
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zorbasic/Builtins.h"
#include "zorbasic/Interp.h"
#include "zorbasic/InterpRecords.h"
#include "zorbasic/NumberText.h"
#include "zorbasic/Stack.h"

namespace zb::interp {

struct Array;

struct Cell {
  int64_t i = 0;
  double f = 0;
  std::string s;
  std::unique_ptr<Record> rec;  // a record's fields
  std::unique_ptr<Array> arr;   // an array's elements
  void* ref = nullptr;          // a byref parameter's place (see RefTo)
};

// An array's elements in a vector of their kind: a number or a bool takes 8 bytes, a record
// its fields' bytes. Two dimensions are stored row after row.
struct Array {
  int64_t rows = 0, cols = 0;  // cols is 0 for one dimension
  std::vector<int64_t> ints;   // the integer types and bool
  std::vector<double> floats;
  std::vector<std::string> strs;
  RecordPages recs;
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

inline constexpr int64_t MaxArray = 50'000'000;
// A 32-bit program cannot address as many records as the limit allows: an array of records
// there may hold at most this many bytes once every element is written (32 million records of
// one number).
inline constexpr uint64_t MaxRecordArrayBytes = sizeof(void*) < 8 ? uint64_t{256} << 20 : UINT64_MAX;
inline constexpr size_t MaxText = 256u * 1024 * 1024;

// Floats become integers by rounding, halves to even.
inline int64_t RoundToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.2e18) return INT64_MAX;
  if (x <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(std::nearbyint(x));
}

inline int64_t Add(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}
inline int64_t Sub(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}
inline int64_t Mul(int64_t a, int64_t b) {
  // Two 32-bit factors never overflow, and a 32-bit program multiplies them in one instruction.
  if (a == static_cast<int32_t>(a) && b == static_cast<int32_t>(b)) return static_cast<int64_t>(static_cast<int32_t>(a)) * static_cast<int32_t>(b);
  int64_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw IntOverflow{};
  return r;
}

// Whether the outcome of a three-way comparison (-1, 0, 1, or 2 for unordered) satisfies op.
inline bool Holds(EOp op, int c) {
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
inline int Order(double x, double y) {
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
  Interp(const Program& prog, Host* host, int maxDepth);
  void Main();

  void Flush() {
    if (!out_.empty() && host_) host_->Write(out_);
    out_.clear();
    lastFlush_ = std::chrono::steady_clock::now();
  }

  int curLine = 0;

  // --- constant evaluation (no frames)
  ConstValue Constant(const Expr& e);

 private:
  [[noreturn]] void Fail(int line, std::string message) { throw RunError{line, std::move(message)}; }

  void FindLabels(const Block& b);

  // A scalar slot made empty.
  static void Clear(Cell& c) {
    c.i = 0;
    c.f = 0;
    if (!c.s.empty()) c.s.clear();
  }

  void Init(Cell& c, Type t, bool array);
  const Layout& LayoutOf(Type t) const { return layouts_[static_cast<size_t>(t.rec)]; }
  // Where a field lies in its record.
  size_t Offset(const Expr& field) const { return LayoutOf(field.a->type).offsets[static_cast<size_t>(field.slot)]; }

  // --- places
  Cell& Slot(bool global, int slot) { return global ? globals_[slot] : frame_[slot]; }

  [[noreturn]] void OutOfRange(const Expr& e, const Array& a, int64_t k, int64_t j);

  // The element an index expression names: its array and its offset there. The indexes are
  // computed first, since computing them may run code that resizes the array.
  size_t Element(const Expr& e, Array*& array);
  int64_t& IntPlace(const Expr& e);
  double& FloatPlace(const Expr& e);
  std::string& StrPlace(const Expr& e);
  // A record place's block, to be written: an element's page is made if it was never written.
  std::byte* RecPlace(const Expr& e);
  std::byte* FieldPlace(const Expr& e) { return RecPlace(*e.a) + Offset(e); }

  // A field read from a record that may be a call's result, which is then kept in tmp.
  const std::byte* FieldRead(const Expr& e, Cell& tmp) { return RecordRead(*e.a, tmp) + Offset(e); }
  const std::byte* RecordRead(const Expr& e, Cell& tmp);

  // The address a byref parameter keeps: the int64_t, double, string or record block of the place.
  void* RefTo(const Expr& e);
  static void* SelfRef(Cell& c, Type t);

  // The array a place lies in (an element, or a field of an element), or null.
  Array* ArrayOf(const Expr& e) {
    const Expr* p = &e;
    while (p->op == EOp::Field) p = p->a.get();
    return p->op == EOp::Index ? Slot(p->global, p->slot).arr.get() : nullptr;
  }

  const std::string& SRef(const Expr& e, std::string& tmp);

  // A string operand that stays in use while later operands are evaluated. When one of them
  // calls a procedure, a variable or an element is copied first: the call may give it a new
  // value, or resize or replace the array it lies in.
  const std::string& SHeld(const Expr& e, std::string& tmp, bool laterCalls) {
    if (laterCalls && (e.op == EOp::Var || e.op == EOp::Index)) {
      tmp = StrPlace(e);
      return tmp;
    }
    return SRef(e, tmp);
  }

  // --- values
  // An integer operand inside an expression: an overflow goes on to the expression's root.
  int64_t IntOf(const Expr& e) { return e.kind == Kind::Float ? RoundToInt(F(e)) : I(e); }

  // An integer where one is needed (an index, a count): a value past 64 bits is clamped.
  int64_t AsInt(const Expr& e);
  bool Cond(const Expr& e);

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
  [[gnu::noinline]] int64_t Fit(double x, Base b, int line);
  int64_t FitValue(const Expr& v, Base b);
  std::string Text(const Expr& e);

  static bool IsIntKind(const Expr& e) { return e.kind == Kind::Int || e.kind == Kind::Bool; }

  // Whether evaluating an expression again gives the same value and does nothing else.
  static bool Pure(const Expr& e);

  // An integer expression computed with floats, after its exact value overflowed 64 bits.
  double Widened(const Expr& e) {
    if (!Pure(e)) Fail(e.line, "integer overflow: the value needs more than 64 bits");
    return Wide(e);
  }
  double Wide(const Expr& e);
  [[gnu::noinline]] int Compare(const Expr& e);

  // Reading a field and calling a function need a cell on the frame: they are kept out of
  // I and F, which recurse once for every level of an expression.
  [[gnu::noinline]] int64_t FieldInt(const Expr& e) {
    Cell tmp;
    return *reinterpret_cast<const int64_t*>(FieldRead(e, tmp));
  }
  [[gnu::noinline]] int64_t CallInt(const Expr& e) {
    Cell r;
    Call(e, r);
    return r.i;
  }
  [[gnu::noinline]] double FieldFloat(const Expr& e) {
    Cell tmp;
    return *reinterpret_cast<const double*>(FieldRead(e, tmp));
  }
  [[gnu::noinline]] double CallFloat(const Expr& e) {
    Cell r;
    Call(e, r);
    return r.f;
  }

  int64_t I(const Expr& e);

  // An integer expression as a float, computed with floats if it overflows 64 bits.
  double IntAsFloat(const Expr& e);
  double F(const Expr& e);
  std::string S(const Expr& e);

  // A record's value into a fresh cell: a call's result is moved, a variable's copied.
  void RecordValue(const Expr& e, Cell& into);

  // Stores a value into a place of the given type; the value is computed before the place is
  // looked up, since computing it may run code that moves array elements.
  [[gnu::noinline]] void Store(const Expr& target, const Expr& v);

  // A scalar parameter or result straight into its cell; the rest by StoreOther.
  void StoreCell(Cell& c, Type t, const Expr& v);
  [[gnu::noinline]] void StoreOther(Cell& c, Type t, const Expr& v);

  // --- calls
  [[noreturn, gnu::noinline]] void TooManyCalls(int line, const char* what, const char* question) {
    Fail(line, std::string("too many nested ") + what + " (" + std::to_string(maxDepth_) + "): " + question);
  }

  void Call(const Expr& e, Cell& result) { CallProc(e.slot, e.args, &result, e.line); }

  void CallProc(int index, const std::vector<ExprPtr>& args, Cell* result, int line);

  // --- statements
  [[noreturn, gnu::noinline]] void StackIsFull() { Fail(curLine, "blocks and calls nested too deeply for the stack"); }

  Flow ExecBlock(const Block& b, size_t start);

  void Write(std::string_view text) {
    out_.append(text);
    if (out_.size() > 65536) Flush();
  }

  void MaybeFlush() {
    auto now = std::chrono::steady_clock::now();
    if (now - lastFlush_ > std::chrono::milliseconds(50)) Flush();
  }

  [[gnu::noinline]] Flow Print(const Stmt& s);

  // The number a line of input holds for a numeric variable.
  double InputNumber(const std::string& line, const Expr& target, int at);
  [[gnu::noinline]] Flow Input(const Stmt& s);
  int64_t ArraySize(const DimItem& d, const Expr& size);

  // Gives an array new sizes, keeping the elements both sizes have.
  void Resize(const DimItem& d, Array& a);
  void ResizeRecords(Array& a, const Layout& l, int64_t rows, int64_t cols);
  [[gnu::noinline]] Flow Dim(const Stmt& s);

  [[gnu::noinline]] Flow Redim(const Stmt& s) {
    for (const DimItem& d : s.dims) Resize(d, *Slot(d.global, d.slot).arr);
    return Flow::Normal;
  }

  Flow If(const Stmt& s);

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
  [[gnu::noinline]] Flow IntFor(const Stmt& s);

  static void KeepIfItFits(int64_t& counter, int64_t next, Base base) {
    std::string why;
    int64_t kept;
    if (StoredInteger(next, base, kept, why)) counter = kept;
  }

  [[gnu::noinline]] Flow FloatFor(const Stmt& s);

  Flow For(const Stmt& s) { return s.a->kind == Kind::Float ? FloatFor(s) : IntFor(s); }

  [[gnu::noinline]] Flow Select(const Stmt& s);
  [[gnu::noinline]] Flow Gosub(const Stmt& s);
  [[gnu::noinline]] void Discard(const Expr& e);
  Flow Assign(const Stmt& s);
  [[gnu::noinline]] Flow Append(const Stmt& s);
  [[gnu::noinline]] Flow Mbox(const Stmt& s);
  [[gnu::noinline]] Flow CallSub(const Stmt& s);

  // One statement. It stays a small dispatcher: blocks nested in blocks recurse through it.
  Flow Exec(const Stmt& s);

  // --- built-in functions
  uint64_t NextRandom();

  double Arg(const Expr& e, size_t k) { return F(*e.args[k]); }

  // ubound and lbound of an array, for its first or second dimension.
  int64_t Bound(const Expr& e, bool upper);
  [[gnu::noinline]] int64_t IntBuiltin(const Expr& e);

  void Domain(const Expr& e, bool ok, const char* message) {
    if (!ok) Fail(e.line, message);
  }

  [[gnu::noinline]] double FloatBuiltin(const Expr& e);
  [[gnu::noinline]] std::string StrBuiltin(const Expr& e);

  const Program& prog_;
  std::vector<Layout> layouts_;  // per record type
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
  std::vector<Array*> pins_;  // arrays with an element passed byref, pinned until the call returns
  std::vector<bool> plain_;  // per procedure: a frame with only scalar slots and no byref parameter (see Main)
  std::vector<std::pair<const Block*, int>> labelHome_;
  std::string out_;
  std::chrono::steady_clock::time_point lastFlush_;
  uint64_t rng_;
};

}  // namespace zb::interp
