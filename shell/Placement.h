// Where the main window goes on the work area.
#pragma once

struct WindowPlace { int x, y; };

// Position for placement mode 0 (32, 32), 1 (top left), 2 (centred, y kept on screen) or
// 3 (top right); any other mode keeps the previous position.
WindowPlace PlaceWindow(int mode, int workWidth, int workHeight, int width, int height, WindowPlace previous);
// The place moved as little as needed for a window of that size to lie inside the work area
// from (left, top) to (right, bottom), which a task bar at the top or the left moves off 0;
// one larger than the work area keeps its top left corner on it. A work area of no size
// (unknown) leaves the place as it is.
WindowPlace KeepOnWorkArea(WindowPlace place, int width, int height, WindowPlace topLeft, int right, int bottom);
