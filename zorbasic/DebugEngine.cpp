// The debugger inside the interpreter: its hooks, the stops they decide, stepping forward and
// back, and the user's commands while the program is stopped.
#include "zorbasic/DebugEngine.h"

#include <new>
#include <stdexcept>

namespace zb {

const char* StopReasonName(StopReason r) {
  switch (r) {
    case StopReason::Entry: return "entry";
    case StopReason::Breakpoint: return "breakpoint";
    case StopReason::Step: return "step";
    case StopReason::Pause: return "pause";
    case StopReason::Watch: return "watch";
    case StopReason::When: return "when";
    case StopReason::Error: return "error";
    case StopReason::RunTo: return "runTo";
  }
  return "step";
}

namespace interp {

// --- the interpreter's hooks, out of its fast paths

void Interp::AtStatement(const Stmt& s) { debug_->Statement(s); }
void Interp::AtEmptyBlock() { debug_->EmptyBlock(); }
void Interp::AtError(int line, const std::string& message) { debug_->Error(line, message); }
void Interp::AtCall(int proc, Cell* frame) { debug_->Enter(proc, frame); }
void Interp::AtReturn() { debug_->Leave(); }
void Interp::Changing(int64_t& place) { rec_->Int(place); }
void Interp::Changing(double& place) { rec_->Float(place); }
void Interp::Changing(std::string& place) { rec_->Str(place); }
void Interp::Appending(std::string& place) { rec_->Append(place); }
void Interp::ChangingCell(Cell& c) { rec_->Whole(c); }
void Interp::ChangingRecord(std::byte* at, const Layout& l) { rec_->Block(at, l); }

void Interp::ChangingFrame(Cell* frame, const std::vector<SlotInfo>& slots, bool plain) {
  for (size_t k = 0; k < slots.size(); ++k) {
    Cell& c = frame[k];
    if (!plain) {
      rec_->Whole(c);
      continue;
    }
    // A plain frame writes only the numbers and the string of its cells, which hold no record,
    // array or reference before it (a frame that had them gave them up when it returned).
    rec_->Int(c.i);
    rec_->Float(c.f);
    if (!c.s.empty() || KindOf(slots[k].type) == Kind::Str) rec_->Str(c.s);
  }
}

void Interp::ChangingArray(Cell& c) {
  const Array& a = *c.arr;
  auto copy = std::make_unique<Array>();
  copy->rows = a.rows;
  copy->cols = a.cols;
  copy->ints = a.ints;
  copy->floats = a.floats;
  copy->strs = a.strs;
  if (const Layout* l = a.recs.Shape()) {
    copy->recs.Reset(l, a.recs.Count());
    for (size_t k = 0; k < a.recs.Count(); ++k)
      if (a.recs.Written(k)) l->Copy(copy->recs.Write(k), a.recs.Read(k));
  }
  rec_->Whole(c);
  c.arr = std::move(copy);
}

void Interp::Wrote() {
  wrote_ = true;
  rec_->Output();
}

namespace {

std::string Trim(std::string_view s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string_view::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(a, b - a + 1));
}

// Whether text starts with the word w (any case), followed by a blank or its end; rest is after it.
bool Starts(const std::string& text, std::string_view w, std::string& rest) {
  if (text.size() < w.size() || !SameWord(std::string_view(text).substr(0, w.size()), w)) return false;
  if (text.size() > w.size() && text[w.size()] != ' ' && text[w.size()] != '\t') return false;
  rest = Trim(std::string_view(text).substr(w.size()));
  return true;
}

std::string NamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A path as Windows compares it: either slash, letter case folded, "." and ".." resolved.
std::string NormalPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  std::string lowered = Lower(path);
  for (size_t k = 0; k <= lowered.size(); ++k) {
    char c = k < lowered.size() ? lowered[k] : '\\';
    if (c != '/' && c != '\\') {
      part += c;
      continue;
    }
    if (part == "..") {
      if (!parts.empty() && parts.back() != ".." && !parts.back().empty()) parts.pop_back();
      else parts.push_back(part);
    } else if (part != "." && !(part.empty() && !parts.empty())) {
      parts.push_back(part);
    }
    part.clear();
  }
  std::string out;
  for (size_t k = 0; k < parts.size(); ++k) out += (k ? "\\" : "") + parts[k];
  return out;
}

bool UsesLocals(const Expr& e) {
  if ((e.op == EOp::Var || e.op == EOp::Index) && !e.global) return true;
  if (e.a && UsesLocals(*e.a)) return true;
  if (e.b && UsesLocals(*e.b)) return true;
  for (const auto& arg : e.args)
    if (UsesLocals(*arg)) return true;
  return false;
}

void MarkStatements(const Block& b, std::vector<uint8_t>& lines) {
  for (const auto& s : b.stmts) {
    if (s->op != SOp::Label && s->op != SOp::Const && static_cast<size_t>(s->line) < lines.size()) lines[static_cast<size_t>(s->line)] = 1;
    for (const Block& inner : s->blocks) MarkStatements(inner, lines);
    for (const CaseArm& arm : s->arms) MarkStatements(arm.body, lines);
  }
}

}  // namespace

Debugger::Debugger(Interp& in, DebugDriver& driver, const DebugOptions& options)
    : in_(in), prog_(in.prog_), driver_(driver), options_(options) {
  statementLines_.assign(prog_.unit.origins.size() + 1, 0);
  breaks_.assign(prog_.unit.origins.size() + 1, 0);
  MarkStatements(prog_.main, statementLines_);
  for (const Proc& p : prog_.procs) MarkStatements(p.body, statementLines_);
  Configure(options);
}

void Debugger::Configure(const DebugOptions& options) {
  if (!frames_.empty()) return;  // the program runs already
  options_ = options;
  history_.reset();
  if (options.record) history_ = std::make_unique<History>(frames_, options.recordBytes);
  entry_ = options.stopOnEntry;
  Refresh();
}

void Debugger::Begin() { frames_.push_back({-1, in_.globals_.data(), -1, 0}); }

void Debugger::Refresh() {
  idle_ = mode_ == Mode::Run && runTo_ < 0 && !pause_ && !entry_ && watches_.empty() && whens_.empty();
}

void Debugger::Statement(const Stmt& s) {
  if (evaluating_) {
    // A statement of a procedure that an expression calls: only a pause or the end cut it short.
    if (driver_.attention.load(std::memory_order_relaxed)) driver_.Attend(*this);
    if (terminate_) throw Terminated{};
    if (cut_) throw EvaluationCut{};
    return;
  }
  DebugFrame& top = frames_.back();
  bool arrival = s.op != SOp::Label && s.op != SOp::Const && !(s.follows && top.line == s.line);
  int before = top.line;
  top.line = s.line;
  if (history_) {
    history_->Step(s.line, before, in_.depth_, arrival);
    in_.wrote_ = false;
  }
  if (driver_.attention.load(std::memory_order_relaxed)) driver_.Attend(*this);
  if (terminate_) throw Terminated{};
  if (idle_ && !(arrival && breaks_[static_cast<size_t>(s.line)])) return;
  StopReason why;
  std::string text;
  if (Decide(arrival, in_.depth_, s.line, why, text)) StopLoop(why, std::move(text), s.line, in_.depth_);
}

void Debugger::EmptyBlock() {
  if (driver_.attention.load(std::memory_order_relaxed)) driver_.Attend(*this);
  if (terminate_) throw Terminated{};
  if (evaluating_) {
    if (cut_) throw EvaluationCut{};
    return;
  }
  if (pause_) StopLoop(StopReason::Pause, "", in_.curLine, in_.depth_);
}

void Debugger::Enter(int proc, Cell* cells) {
  if (evaluating_) return;
  frames_.push_back({proc, cells, prog_.procs[static_cast<size_t>(proc)].line, ++serial_});
  if (history_) history_->Enter(frames_.back());
}

void Debugger::Leave() {
  if (evaluating_) return;
  if (history_) history_->Leave(frames_.back());
  frames_.pop_back();
}

void Debugger::Error(int line, const std::string& message) {
  if (evaluating_ || frames_.empty()) return;
  error_ = true;
  errorText_ = message;
  errorLine_ = line;
  StopLoop(StopReason::Error, message, line, in_.depth_);
  error_ = false;
}

bool Debugger::Decide(bool arrival, int depth, int line, StopReason& why, std::string& text) {
  text.clear();
  if (pause_) return why = StopReason::Pause, true;
  // Every watch and condition is read, so none misses its change when another one stops.
  std::string changed, became;
  bool watch = CheckWatches(changed), when = CheckWhens(became);
  if (watch || when) {
    why = watch ? StopReason::Watch : StopReason::When;
    text = changed + (watch && when ? "; " : "") + became;
    return true;
  }
  if (!arrival) return false;
  if (entry_) {
    entry_ = false;
    return why = StopReason::Entry, true;
  }
  if (breaks_[static_cast<size_t>(line)]) return why = StopReason::Breakpoint, true;
  if (line == runTo_) return why = StopReason::RunTo, true;
  why = StopReason::Step;
  switch (mode_) {
    case Mode::In: return true;
    case Mode::Over: return depth <= stepDepth_;
    case Mode::Out: return depth < stepDepth_;
    default: return false;
  }
}

void Debugger::SetStop(StopReason why, std::string text, int line, bool present) {
  current_.reason = why;
  current_.text = std::move(text);
  current_.present = present;
  current_.outputKept = false;
  if (line >= 0 && static_cast<size_t>(line) < prog_.unit.origins.size()) {
    const Origin& o = prog_.unit.origins[static_cast<size_t>(line)];
    current_.file = prog_.unit.files[static_cast<size_t>(o.file)];
    current_.line = o.line;
  }
}

void Debugger::StopLoop(StopReason why, std::string text, int line, int depth) {
  in_.Flush();
  for (;;) {
    mode_ = Mode::Run;
    runTo_ = -1;
    pause_ = false;
    entry_ = false;
    Refresh();
    stopDepth_ = depth;
    SetStop(why, std::move(text), line, !history_ || history_->AtPresent());
    ++stops_;
    stopped_ = true;
    driver_.Stopped(*this, current_);
    stopped_ = false;
    if (terminate_) throw Terminated{};
    Baselines();
    if (!history_ || history_->AtPresent()) return;
    // Stepped back: the record is done again, statement by statement, up to the next stop or
    // the present, where the program goes on running.
    bool again = false;
    while (history_->Forward()) {
      History::Mark m = history_->Current();
      if (Decide(m.arrival, m.depth, m.line, why, text)) {
        again = true;
        line = m.line;
        depth = m.depth;
        break;
      }
      if (history_->AtPresent()) break;
    }
    if (again) continue;
    if (!error_) return;
    // The present is where the error happened: it stops there again before the program ends.
    why = StopReason::Error;
    text = errorText_;
    line = errorLine_;
    depth = in_.depth_;
  }
}

void Debugger::Resume(Mode m) {
  mode_ = m;
  stepDepth_ = stopDepth_;
  Refresh();
}

void Debugger::Pause() {
  if (evaluating_) {
    cut_ = true;
    return;
  }
  if (stopped_) return;
  pause_ = true;
  Refresh();
}

// --- evaluation

const DebugFrame* Debugger::FrameOf(uint64_t serial) const {
  for (size_t k = frames_.size(); k-- > 0;)
    if (frames_[k].serial == serial) return &frames_[k];
  return nullptr;
}

template <class Work>
bool Debugger::InFrame(const DebugFrame& f, Work&& work, std::string& error) {
  // What a call sets up and, cut short by an error, leaves behind.
  Cell* frame = in_.frame_;
  Cell* result = in_.result_;
  const Proc* proc = in_.proc_;
  int gosub = in_.gosub_, depth = in_.depth_, line = in_.curLine;
  size_t pins = in_.pins_.size(), chunk, top;
  in_.stack_.Where(chunk, top);
  History* record = in_.rec_;
  // Stepped back, whatever the expression changes is undone afterwards: the record holds the
  // present, which stepping forward must find as it was.
  std::unique_ptr<History> scratch;
  if (history_ && !history_->AtPresent()) {
    scratch = std::make_unique<History>(frames_, size_t{64} << 10);  // grows as needed: it keeps no statements
    in_.rec_ = scratch.get();
  }
  in_.frame_ = f.cells;
  in_.proc_ = f.proc >= 0 ? &prog_.procs[static_cast<size_t>(f.proc)] : nullptr;
  in_.result_ = nullptr;
  in_.gosub_ = 0;
  ++evaluating_;
  cut_ = false;
  bool ok = false;
  try {
    work();
    ok = true;
  } catch (const RunError& e) {
    error = e.message;
  } catch (const IntOverflow&) {
    error = "integer overflow: the value needs more than 64 bits";
  } catch (const EndProgram&) {
    error = "the expression reached end, which would stop the program here";
  } catch (const EvaluationCut&) {
    error = "the expression was cut short while it was still running";
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::length_error&) {
    error = "out of memory";
  }
  --evaluating_;
  cut_ = false;
  in_.frame_ = frame;
  in_.result_ = result;
  in_.proc_ = proc;
  in_.gosub_ = gosub;
  in_.depth_ = depth;
  in_.curLine = line;
  in_.stack_.Pop(chunk, top);
  for (size_t k = pins; k < in_.pins_.size(); ++k) --in_.pins_[k]->pinned;
  in_.pins_.resize(pins);
  if (scratch) {
    scratch->UndoSince(0);
    in_.rec_ = record;
  }
  in_.Flush();
  return ok;
}

std::string Debugger::ValueOfExpr(const Expr& e, size_t room, std::string* exact) {
  std::string shown;
  switch (e.kind) {
    case Kind::Str: {
      std::string v = in_.S(e);
      shown = ShowValue(prog_, in_.layouts_, {e.type, &v}, room);
      if (exact) *exact = std::move(v);
      return shown;
    }
    case Kind::Float: shown = FormatFloat(in_.F(e)); break;
    case Kind::Bool: shown = in_.Cond(e) ? "true" : "false"; break;
    case Kind::Int: shown = in_.Text(e); break;
    case Kind::Rec: {
      Cell tmp;
      in_.RecordValue(e, tmp);
      ValueRef v{e.type, tmp.rec->Data()};
      shown = ShowValue(prog_, in_.layouts_, v, room);
      if (exact) *exact = ExactValue(prog_, in_.layouts_, v);
      return shown;
    }
    default: shown = "nothing"; break;
  }
  if (exact) *exact = shown;
  return shown;
}

bool Debugger::ShowArray(const std::string& name, const DebugFrame& f, std::string& answer) {
  auto find = [&](const std::vector<SlotInfo>& slots, Cell* cells) -> bool {
    for (size_t k = 0; k < slots.size(); ++k) {
      if (!slots[k].array || !SameWord(slots[k].name, name) || !cells[k].arr) continue;
      answer = ShowValue(prog_, in_.layouts_, {slots[k].type, nullptr, cells[k].arr.get()}, 1000);
      return true;
    }
    return false;
  };
  if (f.proc >= 0 && find(prog_.procSlots[static_cast<size_t>(f.proc)], f.cells)) return true;
  return find(prog_.globals, in_.globals_.data());
}

bool Debugger::Evaluate(const std::string& text, const DebugFrame& f, std::string& answer) {
  if (ShowArray(text, f, answer)) return true;
  ExprPtr place, value;
  std::string error;
  if (!CheckDebugText(prog_, f.proc, text, DebugText::Expression, place, value, error)) {
    answer = error;
    return false;
  }
  std::string shown;
  bool ok = InFrame(f, [&] { shown = ValueOfExpr(*value, 1000, nullptr); }, error);
  answer = ok ? shown : error;
  return ok;
}

bool Debugger::Assign(const std::string& text, const DebugFrame& f, std::string& answer) {
  if (history_ && !history_->AtPresent()) {
    answer = "values can change only at the present: step forward to it first";
    return false;
  }
  ExprPtr place, value;
  std::string error;
  if (!CheckDebugText(prog_, f.proc, text, DebugText::Assignment, place, value, error)) {
    answer = error;
    return false;
  }
  std::string shown;
  bool ok = InFrame(f, [&] {
    in_.Store(*place, *value);
    shown = ValueOfExpr(*place, 200, nullptr);
  }, error);
  answer = ok ? Trim(std::string_view(text).substr(0, text.find('='))) + " = " + shown : error;
  return ok;
}

bool Debugger::AddWatch(const std::string& text, const DebugFrame& f, bool condition, std::string& answer) {
  Watch w;
  std::string error;
  if (!CheckDebugText(prog_, f.proc, text, condition ? DebugText::Expression : DebugText::Place, w.place, w.value, error)) {
    answer = error;
    return false;
  }
  const Expr& e = condition ? *w.value : *w.place;
  if (condition && !IsNumeric(e.kind)) {
    answer = "a condition must be a number or a comparison";
    return false;
  }
  w.text = text;
  bool local = UsesLocals(e);
  w.serial = local ? f.serial : 0;
  w.proc = local ? f.proc : -1;
  std::string shown;
  bool ok = InFrame(f, [&] {
    if (condition) w.last = in_.Cond(e) ? "1" : "0";
    else shown = ValueOfExpr(e, 60, &w.last);
  }, error);
  if (!ok) {
    answer = error;
    return false;
  }
  w.lastShown = shown;
  answer = condition ? "stopping when " + text + " (now " + (w.last == "1" ? "true" : "false") + ")"
                     : "watching " + text + " (now " + shown + ")";
  (condition ? whens_ : watches_).push_back(std::move(w));
  Refresh();
  return true;
}

bool Debugger::CheckWatches(std::string& text) {
  bool any = false;
  for (Watch& w : watches_) {
    const DebugFrame* f = FrameOf(w.serial);
    if (!f) continue;
    std::string shown, exact, error;
    if (!InFrame(*f, [&] { shown = ValueOfExpr(*w.place, 60, &exact); }, error)) shown = exact = error;
    if (exact == w.last) continue;
    text += (any ? "; " : "") + w.text + " changed from " + w.lastShown + " to " + shown;
    any = true;
    w.last = std::move(exact);
    w.lastShown = std::move(shown);
  }
  return any;
}

bool Debugger::CheckWhens(std::string& text) {
  bool any = false;
  for (Watch& w : whens_) {
    const DebugFrame* f = FrameOf(w.serial);
    if (!f) continue;
    bool now = false;
    std::string error;
    InFrame(*f, [&] { now = in_.Cond(*w.value); }, error);
    bool before = w.last == "1";
    w.last = now ? "1" : "0";
    if (now && !before) {
      text += (any ? "; " : "") + w.text + " became true";
      any = true;
    }
  }
  return any;
}

void Debugger::Baselines() {
  for (Watch& w : watches_) {
    const DebugFrame* f = FrameOf(w.serial);
    std::string error;
    if (f && !InFrame(*f, [&] { w.lastShown = ValueOfExpr(*w.place, 60, &w.last); }, error)) w.last = w.lastShown = error;
  }
  for (Watch& w : whens_) {
    const DebugFrame* f = FrameOf(w.serial);
    std::string error;
    if (f) InFrame(*f, [&] { w.last = in_.Cond(*w.value) ? "1" : "0"; }, error);
  }
}

bool Debugger::Command(const std::string& text, size_t frame, std::string& answer) {
  if (frame >= frames_.size()) {
    answer = "there is no frame " + std::to_string(frame);
    return false;
  }
  const DebugFrame& f = frames_[frames_.size() - 1 - frame];
  std::string t = Trim(text), rest;
  if (!t.empty() && t[0] == '?') return Evaluate(Trim(std::string_view(t).substr(1)), f, answer);
  if (Starts(t, "let", rest)) return Assign(rest, f, answer);
  if (Starts(t, "watch", rest)) return AddWatch(rest, f, false, answer);
  if (Starts(t, "when", rest)) return AddWatch(rest, f, true, answer);
  if (Starts(t, "unwatch", rest) && rest.empty()) {
    size_t n = watches_.size() + whens_.size();
    watches_.clear();
    whens_.clear();
    Refresh();
    answer = n == 0 ? "nothing was watched" : "no more watches";
    return true;
  }
  if (t.empty()) {
    answer = "type ? expression, let place = expression, watch place, when condition or unwatch";
    return false;
  }
  return Evaluate(t, f, answer);
}

// --- breakpoints and stepping

int Debugger::FileIndex(const std::string& file) const {
  std::string wanted = NormalPath(file);
  for (size_t k = 0; k < prog_.unit.files.size(); ++k)
    if (NormalPath(prog_.unit.files[k]) == wanted) return static_cast<int>(k);
  return -1;
}

int Debugger::Resolve(int file, int line) const {
  const std::vector<Origin>& origins = prog_.unit.origins;
  size_t u = 0;
  while (u < origins.size() && !(origins[u].file == file && origins[u].line == line)) ++u;
  for (; u < origins.size(); ++u)
    if (origins[u].file == file && statementLines_[u]) return static_cast<int>(u);
  return -1;
}

std::vector<int> Debugger::SetBreakpoints(const std::string& file, const std::vector<int>& lines) {
  int index = FileIndex(file);
  std::vector<int> placed;
  std::vector<int>& kept = fileBreaks_[index];
  for (int u : kept) breaks_[static_cast<size_t>(u)] = 0;
  kept.clear();
  for (int line : lines) {
    int u = index >= 0 ? Resolve(index, line) : -1;
    if (u < 0) {
      placed.push_back(0);
      continue;
    }
    breaks_[static_cast<size_t>(u)] = 1;
    kept.push_back(u);
    placed.push_back(prog_.unit.origins[static_cast<size_t>(u)].line);
  }
  return placed;
}

bool Debugger::RunTo(const std::string& file, int line, std::string& why) {
  int index = FileIndex(file);
  int u = index >= 0 ? Resolve(index, line) : -1;
  if (u < 0) {
    why = index < 0 ? NamePart(file) + " is no part of the program" : "no statement runs at or after line " + std::to_string(line) + " of " + NamePart(file);
    return false;
  }
  Resume(Mode::Run);
  runTo_ = u;
  Refresh();
  return true;
}

bool Debugger::StepBack(std::string& why) {
  if (!history_) {
    why = "stepping back needs the record of changes, which this session does not keep";
    return false;
  }
  bool output = false;
  if (!history_->Back(output)) {
    size_t budget = history_->Budget();
    std::string size = budget >= (size_t{1} << 20) ? std::to_string(budget >> 20) + " MB" : std::to_string(budget >> 10) + " KB";
    why = history_->Dropped() ? "the record goes no further back: older statements were dropped to keep it within " + size
                              : "this is the program's first statement: there is nothing to step back to";
    return false;
  }
  History::Mark m = history_->Current();
  stopDepth_ = m.depth;
  SetStop(StopReason::Step, "", m.line, false);
  if (output && !outputTold_) {
    outputTold_ = true;
    current_.outputKept = true;
  }
  Baselines();
  return true;
}

// --- what the user sees

std::vector<StackLine> Debugger::Stack() {
  std::vector<StackLine> lines;
  for (size_t k = frames_.size(); k-- > 0;) {
    const DebugFrame& f = frames_[k];
    StackLine s;
    if (f.proc < 0) {
      s.name = "main program";
    } else {
      const Proc& p = prog_.procs[static_cast<size_t>(f.proc)];
      s.name = (p.isFunction ? "function " : "sub ") + p.name;
    }
    int line = f.line >= 0 ? f.line : 0;
    if (static_cast<size_t>(line) < prog_.unit.origins.size()) {
      const Origin& o = prog_.unit.origins[static_cast<size_t>(line)];
      s.file = prog_.unit.files[static_cast<size_t>(o.file)];
      s.line = o.line;
    }
    s.text = s.name + ", line " + std::to_string(s.line) + " of " + NamePart(s.file);
    lines.push_back(std::move(s));
  }
  return lines;
}

VariableLine Debugger::Line(const std::string& name, const SlotInfo& slot, Cell& c, bool byref, bool global, uint64_t serial) {
  ValueRef v{slot.type};
  if (slot.array) {
    v.array = c.arr.get();
  } else if (byref) {
    v.at = c.ref;
  } else {
    switch (KindOf(slot.type)) {
      case Kind::Float: v.at = &c.f; break;
      case Kind::Str: v.at = &c.s; break;
      case Kind::Rec: v.at = c.rec ? c.rec->Data() : in_.LayoutOf(slot.type).Defaults(); break;
      default: v.at = &c.i; break;
    }
  }
  VariableLine line;
  line.name = name;
  line.type = TypeName(prog_, slot.type);
  line.global = global;
  std::string head = name;
  if (slot.array) head += "(" + (v.array ? ShowBounds(*v.array) : std::string()) + ")";
  head += " as " + line.type + " = ";
  constexpr size_t LineRoom = 200;
  if (slot.array && !v.array) line.value = "{}";
  else line.value = ShowValue(prog_, in_.layouts_, v, head.size() < LineRoom ? LineRoom - head.size() : 40);
  line.text = head + line.value;
  uint64_t print = slot.array && !v.array ? 0 : Fingerprint(in_.layouts_, v);
  Shown& seen = shown_[serial][Lower(name)];
  if (seen.stop != stops_) {
    seen.before = seen.stop ? seen.now : print;
    seen.now = print;
    seen.stop = stops_;
  }
  line.changed = seen.before != print;
  return line;
}

std::vector<VariableLine> Debugger::Variables(size_t frame) {
  std::vector<VariableLine> lines;
  if (frame >= frames_.size()) return lines;
  const DebugFrame& f = frames_[frames_.size() - 1 - frame];
  if (f.proc >= 0) {
    const Proc& p = prog_.procs[static_cast<size_t>(f.proc)];
    const std::vector<SlotInfo>& slots = prog_.procSlots[static_cast<size_t>(f.proc)];
    for (size_t k = 0; k < slots.size(); ++k)
      lines.push_back(Line(slots[k].name, slots[k], f.cells[k], k < p.params.size() && p.params[k].byref, false, f.serial));
  }
  for (size_t k = 0; k < prog_.globals.size(); ++k)
    lines.push_back(Line(prog_.globals[k].name, prog_.globals[k], in_.globals_[k], false, true, 0));
  return lines;
}

}  // namespace interp

int RunDebugged(const Program& prog, Host& host, std::string& error, DebugDriver& driver, const DebugOptions& options,
                int maxDepth) {
  interp::Interp in(prog, &host, maxDepth);
  interp::Debugger debugger(in, driver, options);
  driver.Starting(debugger);
  in.Attach(&debugger, debugger.Record());
  try {
    return interp::RunMain(in, prog, error);
  } catch (const interp::Terminated&) {
    in.Flush();
    error.clear();
    return 1;
  }
}

}  // namespace zb
