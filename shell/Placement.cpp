// Placement of the main window.
#include "shell/Placement.h"
#include <algorithm>

namespace {
// One coordinate of a window from at to at + size, moved back inside first .. end.
int Inside(int at, int size, int first, int end) {
  if (at > end - size) at = end - size;
  return at < first ? first : at;
}
}  // namespace

WindowPlace PlaceWindow(int mode, int workWidth, int workHeight, int width, int height, WindowPlace previous) {
  switch (mode) {
    case 0: return {32, 32};
    case 1: return {0, 0};
    case 2: {
      int y = (workHeight - height - 32) / 2;  // C++ division truncates toward zero
      return {(workWidth - width) / 2, y < 0 ? 0 : y};
    }
    case 3: return {workWidth - width - 6, 0};
    default: return previous;
  }
}

WindowBounds KeepOnWorkArea(WindowPlace place, int width, int height, WindowPlace topLeft, int right, int bottom) {
  if (right <= topLeft.x || bottom <= topLeft.y) return {place.x, place.y, width, height};
  width = std::min(width, right - topLeft.x);
  height = std::min(height, bottom - topLeft.y);
  return {Inside(place.x, width, topLeft.x, right), Inside(place.y, height, topLeft.y, bottom), width, height};
}
