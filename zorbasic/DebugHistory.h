// The record of changes behind stepping back: before the interpreter writes a variable, an
// element or a field, the old value goes into the record, and every statement leaves a mark
// with its line and call depth. Stepping back undoes the record to an earlier mark; stepping
// forward does it again, up to the present, where the program goes on running. Each change is
// kept as a swap, so undoing and redoing are the same operation. The record keeps within a
// budget of bytes: the oldest statements are dropped first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "zorbasic/InterpCore.h"

namespace zb::interp {

// A frame of the call stack as the debugger shows it.
struct DebugFrame {
  int proc = -1;          // procedure index, -1 for the main program
  Cell* cells = nullptr;  // its slots
  int line = -1;          // unit line of the statement it runs (for a caller: the one that called)
  uint64_t serial = 0;    // tells apart two calls that used the same cells
};

class History {
 public:
  // Where the record stands: a mark of a statement about to run.
  struct Mark {
    int line = -1;
    int depth = 0;
    bool arrival = false;  // the first statement of its line to run there (stops happen there)
  };

  History(std::vector<DebugFrame>& frames, size_t budget);
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  // --- recording, at the present only, each before its change
  void Int(int64_t& place) { Push(Op::Int, &place, place); }
  void Float(double& place) {
    int64_t bits;
    std::memcpy(&bits, &place, sizeof bits);
    Push(Op::Float, &place, bits);
  }
  // The old value moves into the record; the place is left empty for its new value.
  void Str(std::string& place);
  // Text is about to be appended to place.
  void Append(std::string& place) { Push(Op::Append, &place, static_cast<int64_t>(place.size())); }
  // The whole cell (its value, record or array) moves into the record; the cell is left empty.
  void Whole(Cell& c);
  // Every field of a record block.
  void Block(std::byte* at, const Layout& l);
  // A statement is about to run; prevLine is the line its frame showed before.
  void Step(int line, int prevLine, int depth, bool arrival);
  void Enter(const DebugFrame& f);
  void Leave(const DebugFrame& f);
  // The statement running wrote to the console (the first write of each statement).
  void Output() { Push(Op::Output, nullptr, 0); }

  // --- moving through the record, while the program is stopped
  bool AtPresent() const { return cursor_ == end_; }
  bool Empty() const { return marks_ == 0; }
  Mark Current() const { return MarkAt(at_); }
  // Undoes back to the previous arrival. False when the record holds none: it starts here.
  // output tells whether a statement undone had written to the console.
  bool Back(bool& output);
  // Redoes up to the next mark of any statement (up to the present after the last one); false
  // at the present.
  bool Forward();
  // Undoes and drops every change made since the last mark (an evaluation's side effects).
  void UndoSince(uint64_t position);
  uint64_t End() const { return end_; }
  // Whether statements were dropped to stay within the budget.
  bool Dropped() const { return dropped_ > 0; }
  size_t Bytes() const { return bytes_ + static_cast<size_t>(end_ - dropped_) * sizeof(Entry); }
  size_t Budget() const { return budget_; }

 private:
  enum class Op : uint8_t { Step, Int, Float, Str, Append, Whole, Enter, Leave, Output };
  // 24 bytes: what changed, its other value, and a word holding the kind of entry, whether a
  // step arrives at its line, and a step's call depth or a frame's procedure.
  struct Entry {
    int64_t value;
    void* place;
    int32_t line;
    uint32_t word;
    Op op() const { return static_cast<Op>(word & 15); }
    bool arrival() const { return (word & 16) != 0; }
    int32_t extra() const { return static_cast<int32_t>(word >> 5); }
  };
  static_assert(sizeof(Entry) == 24, "an entry takes 24 bytes on either architecture");

  // Changes are recorded at the present only, which they extend.
  void Push(Op op, void* place, int64_t value, int32_t line = 0, int32_t extra = 0, bool arrival = false) {
    if (end_ - dropped_ > mask_) MakeRoom();
    ring_[static_cast<size_t>(end_) & mask_] =
        Entry{value, place, line, static_cast<uint32_t>(op) | (arrival ? 16u : 0u) | static_cast<uint32_t>(extra) << 5};
    cursor_ = ++end_;
  }
  // A full ring makes room by dropping the oldest statement; with one statement only, it grows.
  void MakeRoom();
  Entry& At(uint64_t position) { return ring_[static_cast<size_t>(position) & mask_]; }
  const Entry& At(uint64_t position) const { return ring_[static_cast<size_t>(position) & mask_]; }
  Mark MarkAt(uint64_t position) const;
  // Swaps one entry's value with its place's: undo and redo alike, but for appends, steps and frames.
  void Undo(Entry& e);
  void Redo(Entry& e);
  void DropOldest();
  static size_t SizeOf(const std::string& s) { return sizeof(std::string) + (s.capacity() > 15 ? s.capacity() : 0); }
  static size_t SizeOf(const Cell& c);

  std::vector<DebugFrame>& frames_;
  size_t budget_;
  size_t bytes_ = 0;        // held by the old strings and cells
  // Entries dropped_ to end_, at their positions modulo its size (a power of two). Its memory
  // is taken from the system as it is first written, so a short run costs little of it.
  std::unique_ptr<Entry[]> ring_;
  size_t mask_ = 0;
  uint64_t end_ = 0;
  uint64_t dropped_ = 0;  // entries dropped from the front
  uint64_t cursor_ = 0;   // entries applied: the end at the present
  uint64_t at_ = 0;       // the mark where the program stands
  uint64_t marks_ = 0;    // marks kept
  std::deque<std::string> strs_;  // old strings, in the order their entries were made
  std::deque<Cell> cells_;        // old cells, likewise
  uint64_t strsDropped_ = 0, cellsDropped_ = 0;
  std::vector<std::string> tails_;  // text of appends undone, to be appended again
};

}  // namespace zb::interp
