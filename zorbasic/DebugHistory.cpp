// The record of changes behind stepping back.
#include "zorbasic/DebugHistory.h"

#include <utility>

namespace zb::interp {

size_t History::SizeOf(const Cell& c) {
  size_t n = sizeof(Cell) + SizeOf(c.s);
  if (c.rec) n += c.rec->Shape().bytes;
  if (c.arr) {
    const Array& a = *c.arr;
    n += sizeof(Array) + a.ints.capacity() * sizeof(int64_t) + a.floats.capacity() * sizeof(double) +
         a.strs.capacity() * sizeof(std::string) + a.recs.BytesHeld();
    for (const std::string& s : a.strs) n += s.capacity() > 15 ? s.capacity() : 0;
  }
  return n;
}

void History::Str(std::string& place) {
  strs_.push_back(std::move(place));
  place.clear();
  bytes_ += SizeOf(strs_.back());
  Push(Op::Str, &place, static_cast<int64_t>(strsDropped_ + strs_.size() - 1));
}

void History::Whole(Cell& c) {
  cells_.push_back(std::move(c));
  c.s.clear();
  bytes_ += SizeOf(cells_.back());
  Push(Op::Whole, &c, static_cast<int64_t>(cellsDropped_ + cells_.size() - 1));
}

void History::Block(std::byte* at, const Layout& l) {
  for (const auto& [offset, n] : l.numbers)
    for (size_t k = 0; k < n; k += 8) Int(*reinterpret_cast<int64_t*>(at + offset + k));
  for (size_t s : l.strings) {
    std::string& place = Layout::Str(at + s);
    // Copied, not moved: the record's new value is moved in field by field afterwards.
    strs_.push_back(place);
    bytes_ += SizeOf(strs_.back());
    Push(Op::Str, &place, static_cast<int64_t>(strsDropped_ + strs_.size() - 1));
  }
}

History::History(std::vector<DebugFrame>& frames, size_t budget) : frames_(frames), budget_(budget) {
  size_t size = 64;
  while (size * 2 <= budget / sizeof(Entry)) size *= 2;
  ring_.reset(new Entry[size]);
  mask_ = size - 1;
}

void History::MakeRoom() {
  if (marks_ > 1) {
    DropOldest();
    return;
  }
  size_t size = (mask_ + 1) * 2;
  std::unique_ptr<Entry[]> grown(new Entry[size]);
  for (uint64_t k = dropped_; k < end_; ++k) grown[static_cast<size_t>(k) & (size - 1)] = At(k);
  ring_ = std::move(grown);
  mask_ = size - 1;
}

void History::Step(int line, int prevLine, int depth, bool arrival) {
  while (Bytes() > budget_ && marks_ > 1) DropOldest();
  Push(Op::Step, nullptr, prevLine, line, depth, arrival);
  ++marks_;
  at_ = End() - 1;
  cursor_ = End();
}

void History::Enter(const DebugFrame& f) { Push(Op::Enter, f.cells, static_cast<int64_t>(f.serial), f.line, f.proc); }
void History::Leave(const DebugFrame& f) { Push(Op::Leave, f.cells, static_cast<int64_t>(f.serial), f.line, f.proc); }

History::Mark History::MarkAt(uint64_t position) const {
  if (marks_ == 0 || position < dropped_) return {};
  const Entry& e = At(position);
  return {e.line, e.extra(), e.arrival()};
}

void History::Undo(Entry& e) {
  switch (e.op()) {
    case Op::Step: frames_.back().line = static_cast<int>(e.value); return;
    case Op::Int: std::swap(*static_cast<int64_t*>(e.place), e.value); return;
    case Op::Float: {
      int64_t bits;
      std::memcpy(&bits, e.place, sizeof bits);
      std::memcpy(e.place, &e.value, sizeof bits);
      e.value = bits;
      return;
    }
    case Op::Str: {
      std::string& side = strs_[static_cast<size_t>(static_cast<uint64_t>(e.value) - strsDropped_)];
      std::string& place = *static_cast<std::string*>(e.place);
      bytes_ -= SizeOf(side);
      place.swap(side);
      bytes_ += SizeOf(side);
      return;
    }
    case Op::Append: {
      std::string& place = *static_cast<std::string*>(e.place);
      size_t old = static_cast<size_t>(e.value);
      tails_.push_back(place.substr(old));
      place.resize(old);
      return;
    }
    case Op::Whole: {
      Cell& side = cells_[static_cast<size_t>(static_cast<uint64_t>(e.value) - cellsDropped_)];
      Cell& place = *static_cast<Cell*>(e.place);
      bytes_ -= SizeOf(side);
      std::swap(place, side);
      bytes_ += SizeOf(side);
      return;
    }
    case Op::Enter: frames_.pop_back(); return;
    case Op::Leave:
      frames_.push_back({e.extra(), static_cast<Cell*>(e.place), e.line, static_cast<uint64_t>(e.value)});
      return;
    case Op::Output: return;
  }
}

void History::Redo(Entry& e) {
  switch (e.op()) {
    case Op::Step: frames_.back().line = e.line; return;
    case Op::Append:
      static_cast<std::string*>(e.place)->append(tails_.back());
      tails_.pop_back();
      return;
    case Op::Enter:
      frames_.push_back({e.extra(), static_cast<Cell*>(e.place), e.line, static_cast<uint64_t>(e.value)});
      return;
    case Op::Leave: frames_.pop_back(); return;
    default: Undo(e); return;  // a swap again
  }
}

bool History::Back(bool& output) {
  output = false;
  if (marks_ == 0) return false;
  uint64_t target = at_;
  for (;;) {
    if (target == dropped_) return false;
    --target;
    const Entry& e = At(target);
    if (e.op() == Op::Step && e.arrival()) break;
  }
  while (cursor_ > target + 1) {
    --cursor_;
    Entry& e = At(cursor_);
    if (e.op() == Op::Output) output = true;
    Undo(e);
  }
  at_ = target;
  return true;
}

bool History::Forward() {
  if (AtPresent()) return false;
  // Up to and with the next mark; after the last mark, to the end, the present.
  uint64_t next = at_ + 1;
  while (next < End() && At(next).op() != Op::Step) ++next;
  uint64_t stop = next < End() ? next + 1 : End();
  bool last = true;
  for (uint64_t k = stop; k < End(); ++k) {
    if (At(k).op() == Op::Step) {
      last = false;
      break;
    }
  }
  if (last) stop = End();
  while (cursor_ < stop) Redo(At(cursor_++));
  if (next < End()) at_ = next;
  return true;
}

void History::UndoSince(uint64_t position) {
  while (End() > position) {
    Entry& e = At(End() - 1);
    Undo(e);
    if (e.op() == Op::Str) {
      bytes_ -= SizeOf(strs_.back());
      strs_.pop_back();
    }
    if (e.op() == Op::Whole) {
      bytes_ -= SizeOf(cells_.back());
      cells_.pop_back();
    }
    if (e.op() == Op::Append) tails_.pop_back();
    if (e.op() == Op::Step) --marks_;
    --end_;
  }
  cursor_ = End();
}

void History::DropOldest() {
  // The record always begins at a mark: a statement is dropped with all its changes.
  do {
    Entry& e = At(dropped_);
    if (e.op() == Op::Step) --marks_;
    if (e.op() == Op::Str) {
      bytes_ -= SizeOf(strs_.front());
      strs_.pop_front();
      ++strsDropped_;
    }
    if (e.op() == Op::Whole) {
      bytes_ -= SizeOf(cells_.front());
      cells_.pop_front();
      ++cellsDropped_;
    }
    ++dropped_;
  } while (dropped_ < end_ && At(dropped_).op() != Op::Step);
}

}  // namespace zb::interp
