// Placement of the main window (declared in Placement.h).
#include "shell/Placement.h"

namespace {
// One coordinate of a window from at to at + size, moved back inside 0 .. area.
int Inside(int at, int size, int area) {
  if (at > area - size) at = area - size;
  return at < 0 ? 0 : at;
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

WindowPlace KeepOnWorkArea(WindowPlace place, int width, int height, int workWidth, int workHeight) {
  if (workWidth <= 0 || workHeight <= 0) return place;
  return {Inside(place.x, width, workWidth), Inside(place.y, height, workHeight)};
}
