// Reading and typing what the debugger's user types, in the scope of a running procedure.
#include "zorbasic/CheckerCore.h"
#include "zorbasic/ParserCore.h"

namespace zb {

namespace check {

void Checker::DebugScope(int proc) {
  for (size_t k = 0; k < prog_.types.size(); ++k) types_[Lower(prog_.types[k].name)] = static_cast<int>(k);
  for (size_t k = 0; k < prog_.procs.size(); ++k) procs_[Lower(prog_.procs[k].name)] = static_cast<int>(k);
  auto slotSym = [](const SlotInfo& info, size_t slot, bool global) {
    Sym s;
    s.k = info.array ? Sym::Array : Sym::Var;
    s.type = info.type;
    s.slot = static_cast<int>(slot);
    s.global = global;
    s.dims = info.dims;
    return s;
  };
  for (size_t k = 0; k < prog_.globals.size(); ++k) globals_[Lower(prog_.globals[k].name)] = slotSym(prog_.globals[k], k, true);
  current_ = proc;
  if (proc >= 0) {
    proc_ = &prog_.procs[static_cast<size_t>(proc)];
    const std::vector<SlotInfo>& slots = prog_.procSlots[static_cast<size_t>(proc)];
    for (size_t k = 0; k < slots.size(); ++k) {
      Sym s = slotSym(slots[k], k, false);
      s.byref = k < proc_->params.size() && proc_->params[k].byref;
      locals_[Lower(slots[k].name)] = s;
    }
  }
  for (const NamedConstant& c : prog_.consts) {
    if (c.proc != -1 && c.proc != proc) continue;
    Sym s;
    s.k = Sym::Const;
    s.type = c.type;
    s.global = c.proc == -1;
    s.value = c.value;
    (c.proc == -1 ? globals_ : locals_)[Lower(c.name)] = s;
  }
}

void Checker::DebugText(zb::DebugText what, Expr* place, Expr* value) {
  if (place) Place(*place);
  if (value) Value(*value);
  if (what == zb::DebugText::Assignment) Assignable(place->type, *value, 0, place->s.empty() ? "the place" : place->s);
}

}  // namespace check

bool CheckDebugText(const Program& prog, int proc, std::string_view text, DebugText what, ExprPtr& place, ExprPtr& value,
                    std::string& error) {
  Program scratch;
  scratch.unit.text = std::string(text);
  scratch.stackFloor = prog.stackFloor;
  std::vector<Problem> problems;
  try {
    parse::Parser parser(scratch, problems);
    parser.ReadDebugText(what, place, value);
  } catch (const parse::ParseError& e) {
    error = e.message;
    return false;
  }
  // Typing an expression changes the expression only: the program's own tree, scopes and
  // declarations stay as they are, so the checker may take it as its own.
  check::Checker checker(const_cast<Program&>(prog), problems);
  try {
    checker.DebugScope(proc);
    checker.DebugText(what, place.get(), value.get());
  } catch (const check::CheckError& e) {
    error = e.message;
    return false;
  }
  if (!problems.empty()) {
    error = problems.front().message;
    return false;
  }
  return true;
}

}  // namespace zb
