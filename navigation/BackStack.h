// Where the jumps of F6, a listing and F12 started, so Shift+F12 can go back. Platform-free.
#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

struct Place {
  std::string path;      // the document, as it was named; empty for an untitled one
  size_t position = 0;   // the caret, 0-based
  bool operator==(const Place&) const = default;
};

// The places last left, the newest on top, at most Depth of them: a push beyond drops the oldest.
class BackStack {
 public:
  static constexpr size_t Depth = 50;
  void Push(Place place);
  // The newest place, taken off; none when empty.
  std::optional<Place> Pop();
  size_t Size() const { return places_.size(); }

 private:
  std::deque<Place> places_;
};
