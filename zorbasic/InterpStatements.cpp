// The interpreter's calls and statements.
#include "zorbasic/InterpCore.h"

#include <cmath>

namespace zb::interp {

void Interp::CallProc(int index, const std::vector<ExprPtr>& args, Cell* result, int line) {
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
      frame[k].rec.reset();
      frame[k].arr.reset();
    }
  }
  stack_.Pop(savedChunk, savedTop);
}

Flow Interp::ExecBlock(const Block& b, size_t start) {
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

Flow Interp::Print(const Stmt& s) {
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

double Interp::InputNumber(const std::string& line, const Expr& target, int at) {
  double x;
  if (ReadNumber(line, x)) return x;
  std::string shown = line.size() > 40 ? line.substr(0, 40) + "..." : line;
  Fail(at, "input needs a number for " + target.s + ", not \"" + shown + "\"");
}

Flow Interp::Input(const Stmt& s) {
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

int64_t Interp::ArraySize(const DimItem& d, const Expr& size) {
  int64_t n = AsInt(size);
  if (n < 0) Fail(d.line, "array " + d.name + " cannot have " + std::to_string(n) + " elements");
  if (n > MaxArray) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(n) + " elements)");
  return n;
}

void Interp::Resize(const DimItem& d, Array& a) {
  int64_t rows = ArraySize(d, *d.size);
  int64_t cols = d.size2 ? ArraySize(d, *d.size2) : 0;
  if (cols && rows * cols > MaxArray) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(rows * cols) + " elements)");
  if (a.pinned) Fail(d.line, "array " + d.name + " cannot change while an element of it is passed byref");
  if (KindOf(d.type) == Kind::Rec) {
    const Layout& l = LayoutOf(d.type);
    uint64_t count = static_cast<uint64_t>(cols ? rows * cols : rows);
    if (count * l.bytes > MaxRecordArrayBytes) Fail(d.line, "array " + d.name + " is too large (" + std::to_string(count) + " elements)");
    ResizeRecords(a, l, rows, cols);
    a.rows = rows;
    a.cols = cols;
    return;
  }
  switch (KindOf(d.type)) {
    case Kind::Float: Regrid(a.floats, a.rows, a.cols, rows, cols); break;
    case Kind::Str: Regrid(a.strs, a.rows, a.cols, rows, cols); break;
    default: Regrid(a.ints, a.rows, a.cols, rows, cols); break;
  }
  a.rows = rows;
  a.cols = cols;
}

void Interp::ResizeRecords(Array& a, const Layout& l, int64_t rows, int64_t cols) {
  if (!a.recs.Shape()) {
    a.recs.Reset(&l, static_cast<size_t>(cols ? rows * cols : rows));
    return;
  }
  if (cols == 0) {
    a.recs.Resize(static_cast<size_t>(rows));
    return;
  }
  RecordPages next;
  next.Reset(&l, static_cast<size_t>(rows * cols));
  for (int64_t r = 0; r < std::min(rows, a.rows); ++r) {
    for (int64_t c = 0; c < std::min(cols, a.cols); ++c) {
      size_t from = static_cast<size_t>(r * a.cols + c);
      if (a.recs.Written(from)) l.Move(next.Write(static_cast<size_t>(r * cols + c)), a.recs.Write(from));
    }
  }
  a.recs = std::move(next);
}

Flow Interp::Dim(const Stmt& s) {
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
    place.rec = std::move(value.rec);
  }
  return Flow::Normal;
}

Flow Interp::If(const Stmt& s) {
  for (size_t k = 0; k < s.args.size(); ++k)
    if (Cond(*s.args[k])) return ExecBlock(s.blocks[k], 0);
  if (s.hasElse) return ExecBlock(s.blocks.back(), 0);
  return Flow::Normal;
}

Flow Interp::IntFor(const Stmt& s) {
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

Flow Interp::FloatFor(const Stmt& s) {
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

Flow Interp::Select(const Stmt& s) {
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

Flow Interp::Gosub(const Stmt& s) {
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

void Interp::Discard(const Expr& e) {
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

Flow Interp::Assign(const Stmt& s) {
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

Flow Interp::Append(const Stmt& s) {
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

Flow Interp::Mbox(const Stmt& s) {
  std::string text = Text(*s.a);
  Flush();
  if (host_) host_->ShowBox(text);
  return Flow::Normal;
}

Flow Interp::CallSub(const Stmt& s) {
  if (s.target < 0) {
    Discard(*s.a);
    return Flow::Normal;
  }
  Cell result;
  CallProc(s.target, s.args, prog_.procs[s.target].isFunction ? &result : nullptr, s.line);
  return Flow::Normal;
}

Flow Interp::Exec(const Stmt& s) {
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

}  // namespace zb::interp
