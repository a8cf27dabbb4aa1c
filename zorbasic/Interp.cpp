// The interpreter: walks the checked tree. Every expression has a fixed kind, so integers,
// floats and strings are evaluated by separate routines without a tagged value in between.
#include "zorbasic/Interp.h"

#include <cmath>
#include <new>
#include <stdexcept>

#include "zorbasic/InterpCore.h"
#include "zorbasic/NumberText.h"
#include "zorbasic/Stack.h"

namespace zb {

// Integers print as numbers do: plain digits below 1e16 in size, an exponent from there on.
std::string FormatInt(int64_t v) {
  constexpr int64_t Plain = 10'000'000'000'000'000;
  return v > -Plain && v < Plain ? std::to_string(v) : FormatFloat(static_cast<double>(v));
}
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

namespace interp {

Interp::Interp(const Program& prog, Host* host, int maxDepth) : prog_(prog), host_(host), maxDepth_(maxDepth) {
  uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  rng_ = seed ^ 0x9E3779B97F4A7C15ULL;
  if (!rng_) rng_ = 1;
  lastFlush_ = std::chrono::steady_clock::now();
}

void Interp::Main() {
  FindLabels(prog_.main);
  for (const Proc& p : prog_.procs) FindLabels(p.body);
  layouts_ = LayoutsOf(prog_);
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

ConstValue Interp::Constant(const Expr& e) {
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

void Interp::FindLabels(const Block& b) {
  for (const auto& [id, index] : b.labels) {
    if (static_cast<size_t>(id) >= labelHome_.size()) labelHome_.resize(id + 1);
    labelHome_[id] = {&b, index};
  }
  for (const auto& s : b.stmts) {
    for (const Block& inner : s->blocks) FindLabels(inner);
    for (const CaseArm& arm : s->arms) FindLabels(arm.body);
  }
}

void Interp::Init(Cell& c, Type t, bool array) {
  c.i = 0;
  c.f = 0;
  if (!c.s.empty()) c.s.clear();
  c.ref = nullptr;
  if (array) {
    c.rec.reset();
    c.arr = std::make_unique<Array>();
    return;
  }
  if (c.arr) c.arr.reset();
  if (t.base != Base::Rec) {
    if (c.rec) c.rec.reset();
    return;
  }
  const Layout& l = LayoutOf(t);
  if (c.rec && &c.rec->Shape() == &l) {
    l.Destroy(c.rec->Data());
    l.Construct(c.rec->Data());
    return;
  }
  c.rec = std::make_unique<Record>(l);
}

}  // namespace interp

using interp::Interp;
using interp::RunError;
using interp::EndProgram;
using interp::IntOverflow;

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
  } catch (const std::length_error&) {
    in.Flush();
    error = Where(prog.unit, in.curLine) + ": out of memory";
  }
  return 1;
}

bool EvalConstant(const Program& prog, const Expr& e, ConstValue& value, std::string& error) {
  // Each level of the expression takes a few frames of the interpreter: up to some 530 bytes
  // (nested string functions on a 64-bit build), so this leaves room to spare.
  constexpr uintptr_t BytesPerLevel = 1024;
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
  } catch (const std::length_error&) {
    error = "out of memory";
  }
  return false;
}

}  // namespace zb
