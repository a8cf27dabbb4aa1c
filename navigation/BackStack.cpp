// The places to go back to.
#include "navigation/BackStack.h"

void BackStack::Push(Place place) {
  // A jump from where the last one started adds nothing to go back to.
  if (!places_.empty() && places_.back() == place) return;
  places_.push_back(std::move(place));
  if (places_.size() > Depth) places_.pop_front();
}

std::optional<Place> BackStack::Pop() {
  if (places_.empty()) return std::nullopt;
  Place top = std::move(places_.back());
  places_.pop_back();
  return top;
}
