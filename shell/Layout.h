// The layout arithmetic of the main window: every child control's rectangle from the client
// size, the panel flags and the display's scale. Platform-free so the numbers can be checked natively.
#pragma once
#include "base/DisplayScale.h"

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct LayoutPlan {
  int quarter = 0;            // LayoutQuarter: a quarter of the client width
  Rect output;                // OutputBox; all zero when hidden
  bool outputHidden = true;
  Rect editor;
  Rect find, replace, line, keyword;
  Rect project;               // ProjectBox: the left quarter below the button row; empty without a project
  Rect buttons[11];           // CommandButtons in creation order 1000, 4001..4010
};

// A quarter of the client width, rounded half to even (also used by the drop handler).
int QuarterOf(int clientWidth);

// Places every child control for a client area of the given size (in the display's pixels).
// The quarters come from the client width; every fixed number (the rows' places and heights,
// the buttons' places and how much narrower than a quarter they are) is written for 96 dpi and
// scaled by scale. Widths of the command buttons go to zero or below on narrow windows; the
// row then disappears.
LayoutPlan ComputeLayout(int clientWidth, int clientHeight, bool projectOpen, bool outputShown, DisplayScale scale);

// Records the outer window size for the settings file. A minimised window's size is not
// kept, so the next run opens at the last normal size.
void RecordOuterSize(int width, int height, bool minimised);
