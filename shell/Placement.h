// Where the main window goes on the work area.
#pragma once

struct WindowPlace { int x, y; };

// Position for placement mode 0 (32, 32), 1 (top left), 2 (centred, y kept on screen) or
// 3 (top right); any other mode keeps the previous position.
WindowPlace PlaceWindow(int mode, int workWidth, int workHeight, int width, int height, WindowPlace previous);
// Where a window of that size at place goes on the work area from topLeft to (right, bottom),
// which a task bar at the top or the left moves off 0, 0: made no wider and no higher than the
// work area (its width and height, not its right and bottom edges) and moved as little as
// needed to lie inside it. A work area of no size (unknown) leaves the window as it is.
struct WindowBounds { int x, y, width, height; };
WindowBounds KeepOnWorkArea(WindowPlace place, int width, int height, WindowPlace topLeft, int right, int bottom);
