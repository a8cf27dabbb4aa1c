// Where the main window goes on the work area.
#pragma once

struct WindowPlace { int x, y; };

// Position for placement mode 0 (32, 32), 1 (top left), 2 (centred, y kept on screen) or
// 3 (top right); any other mode keeps the previous position.
WindowPlace PlaceWindow(int mode, int workWidth, int workHeight, int width, int height, WindowPlace previous);
