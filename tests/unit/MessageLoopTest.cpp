// The main message loop's keyboard layer and the main window's placement.
#include <gtest/gtest.h>
#include "shell/KeyTable.h"
#include "shell/Placement.h"

namespace {
struct KeyRow {
  unsigned message, key;
  bool control;
  LoopTarget target;
  int command;
  bool lParamIsWindow, withhold;
  bool alt = false;
  bool types = true;  // a dispatched key-down is translated, so its character is typed
  char typed = 0;  // the character the key makes on the layout
};

const KeyRow KeyRows[] = {
    {LoopKeyDown, 0x0D, false, LoopTarget::SearchBox, 2013, true, true},    // Enter in a search box
    {LoopKeyDown, 0x0D, false, LoopTarget::Other, 2013, true, false},       // Enter in the editor
    {LoopKeyDown, 0x0D, false, LoopTarget::ProjectBox, 2013, true, false},  // the project box takes Enter
    {LoopKeyDown, 0x70, false, LoopTarget::Other, 1001, true, false},       // F1
    {LoopKeyDown, 0x74, true, LoopTarget::SearchBox, 1005, true, false},    // Ctrl+F5 is still F5
    {LoopKeyDown, 0x79, false, LoopTarget::Other, 1010, true, false},       // F10
    {LoopKeyDown, 0x7A, false, LoopTarget::Other, 1011, true, false},       // F11 folds
    {LoopKeyDown, 0x7B, true, LoopTarget::Other, 1012, true, false},        // Ctrl+F12 is still F12
    {LoopKeyDown, 0x7C, false, LoopTarget::Other, 0, false, false},         // F13 is no command
    {LoopKeyDown, 'M', true, LoopTarget::Other, 2077, false, true, false, false},  // Ctrl+M: no line break
    {LoopKeyDown, 0xBE, true, LoopTarget::Other, 2190, false, true, false, true, '.'},  // Ctrl+. on a US layout
    {LoopKeyDown, 0xBC, true, LoopTarget::Other, 2188, false, true, false, true, ','},  // Ctrl+,
    {LoopKeyDown, 0xBF, true, LoopTarget::Other, 2190, false, true, false, true, '.'},  // "." on another key
    {LoopKeyDown, 0xBE, true, LoopTarget::Other, 0, false, false, false, true, ':'},    // that key types ":" there
    {LoopKeyDown, 0xBE, false, LoopTarget::Other, 0, false, false, false, true, '.'},   // "." alone is typing
    {LoopKeyDown, 0xBE, true, LoopTarget::Other, 0, false, false, true, true, '.'},     // AltGr with it too
    {LoopKeyDown, 'A', true, LoopTarget::Other, 2065, false, true},
    {LoopKeyDown, 'C', true, LoopTarget::Other, 2067, false, false},        // the editor copies too
    {LoopKeyDown, 'E', true, LoopTarget::Other, 2069, false, true},
    {LoopKeyDown, 'F', true, LoopTarget::Other, 2070, false, true},
    {LoopKeyDown, 'G', true, LoopTarget::Other, 2071, false, true},
    {LoopKeyDown, 'O', true, LoopTarget::Other, 2079, false, true},
    {LoopKeyDown, 'R', true, LoopTarget::Other, 2082, false, true},
    {LoopKeyDown, 'S', true, LoopTarget::Other, 2083, false, true},
    {LoopKeyDown, 'T', true, LoopTarget::Other, 2084, false, true},
    {LoopKeyDown, 'V', true, LoopTarget::Other, 2086, false, false},
    {LoopKeyDown, 'X', true, LoopTarget::Other, 2088, false, false},
    {LoopKeyDown, 'Z', true, LoopTarget::Other, 2090, false, false},
    {LoopKeyDown, 'S', false, LoopTarget::Other, 0, false, false},          // plain letters are typing
    // Other Ctrl+letters reach the control as keys only: their control bytes are typed nowhere.
    {LoopKeyDown, 'B', true, LoopTarget::Other, 2066, false, false, false, false},
    {LoopKeyDown, 'H', true, LoopTarget::Other, 2072, false, false, false, false},  // not a backspace
    {LoopKeyDown, 'I', true, LoopTarget::SearchBox, 2073, false, false, false, false},  // not a tab
    {LoopKeyDown, 'J', true, LoopTarget::Other, 2074, false, false, false, false},  // not a lone LF
    {LoopKeyDown, 'Q', true, LoopTarget::ProjectBox, 2081, false, true, false, false},  // comment marks
    {LoopKeyDown, 'W', true, LoopTarget::Other, 2087, false, false, false, false},
    {LoopKeyDown, 'Y', true, LoopTarget::Other, 2089, false, false, false, false},  // the editor's redo key
    {LoopKeyDown, 'E', true, LoopTarget::Other, 0, false, false, true},     // AltGr+E ("€") is typing too
    {LoopKeyDown, 'S', true, LoopTarget::SearchBox, 0, false, false, true}, // AltGr+S ("ś")
    {LoopKeyDown, 0x74, true, LoopTarget::Other, 1005, true, false, true},  // Ctrl+Alt+F5 is still F5
    {LoopKeyDown, 0x1B, false, LoopTarget::SearchBox, 2227, true, true},    // Escape never reaches a control
    {LoopKeyDown, 0x1B, false, LoopTarget::Other, 2227, true, true},
    // Ctrl+Space shows the completion list (with Shift the hint) and types no blank.
    {LoopKeyDown, 0x20, true, LoopTarget::Other, 2032, true, true},
    {LoopKeyDown, 0x20, true, LoopTarget::EditorList, 2032, true, true},
    {LoopKeyDown, 0x20, false, LoopTarget::Other, 0, false, false},
    {LoopKeyDown, 0x20, true, LoopTarget::Other, 0, false, false, true},   // AltGr+Space is typing
    // While the completion list or a hint shows, Enter, Tab and Esc are theirs alone.
    {LoopKeyDown, 0x0D, false, LoopTarget::EditorList, 0, false, false},
    {LoopKeyDown, 0x09, false, LoopTarget::EditorList, 0, false, false},
    {LoopKeyDown, 0x1B, false, LoopTarget::EditorList, 0, false, false},
    {LoopKeyDown, 0x74, false, LoopTarget::EditorList, 1005, true, false},  // F5 still runs
    {LoopKeyUp, 0x0D, false, LoopTarget::SearchBox, 0, false, false},
    {LoopKeyUp, 'S', true, LoopTarget::Other, 0, false, false},
    {LoopLButtonDoubleClick, 0, false, LoopTarget::ProjectBox, 1103, true, true},
    {LoopLButtonDoubleClick, 0, false, LoopTarget::SearchBox, 1103, true, false},
    {LoopLButtonDoubleClick, 0, false, LoopTarget::Listing, 1103, true, true},
    {0x0104 /* WM_SYSKEYDOWN */, 0x79, false, LoopTarget::Other, 0, false, false},  // F10 as a system key
};
}  // namespace

TEST(MessageLoopKeys, EachTriggerSendsItsCommandAndWithholdsAsTabled) {
  for (const KeyRow& row : KeyRows) {
    LoopAction action = MapLoopMessage(row.message, row.key, row.control, row.alt, row.target, row.typed);
    SCOPED_TRACE(testing::Message() << "message " << row.message << " key " << row.key << " control " << row.control
                                    << " alt " << row.alt);
    EXPECT_EQ(action.command, row.command);
    if (row.command) {
      EXPECT_EQ(action.lParamIsWindow, row.lParamIsWindow);
    }
    EXPECT_EQ(action.withhold, row.withhold);
    if (!row.withhold) {
      EXPECT_EQ(action.translate, row.types);
    }
  }
}

TEST(WindowPlacement, CentredOnTheWorkArea) {
  WindowPlace place = PlaceWindow(2, 1920, 1040, 580, 580, {0, 0});
  EXPECT_EQ(place.x, 670);
  EXPECT_EQ(place.y, 214);
}

TEST(WindowPlacement, CentredWindowTallerThanTheWorkAreaStaysOnScreenVertically) {
  WindowPlace place = PlaceWindow(2, 500, 400, 601, 390, {0, 0});
  EXPECT_EQ(place.y, 0);
  EXPECT_EQ(place.x, -50);  // (500 - 601) / 2 truncates toward zero
}

TEST(WindowPlacement, FixedModesAndUnknownModeKeepsThePreviousPlace) {
  EXPECT_EQ(PlaceWindow(0, 1920, 1040, 580, 580, {5, 5}).x, 32);
  EXPECT_EQ(PlaceWindow(1, 1920, 1040, 580, 580, {5, 5}).y, 0);
  WindowPlace topRight = PlaceWindow(3, 1920, 1040, 580, 580, {5, 5});
  EXPECT_EQ(topRight.x, 1920 - 580 - 6);
  EXPECT_EQ(topRight.y, 0);
  WindowPlace kept = PlaceWindow(7, 1920, 1040, 580, 580, {11, 12});
  EXPECT_EQ(kept.x, 11);
  EXPECT_EQ(kept.y, 12);
}

TEST(WindowPlacement, ARememberedSizeIsFittedAndMovedOntoTheWorkArea) {
  struct Case { WindowPlace at; int width, height; WindowPlace topLeft; WindowBounds kept; };
  const Case cases[] = {
      // the corner of the 580 x 580 start-up size on 1600 x 1000
      {{514, 217}, 1590, 990, {0, 0}, {10, 10, 1590, 990}},
      {{510, 210}, 800, 600, {0, 0}, {510, 210, 800, 600}},      // fits where it is
      {{-50, 0}, 1700, 1100, {0, 0}, {0, 0, 1600, 1000}},       // larger than the work area
      // A task bar 40 pixels high along the top: the work area is 960 high, from 40 down.
      {{514, 10}, 800, 600, {0, 40}, {514, 40, 800, 600}},
      {{514, 217}, 800, 1000, {0, 40}, {514, 40, 800, 960}},
      // one 60 pixels wide along the left
      {{514, 217}, 1600, 700, {60, 0}, {60, 217, 1540, 700}},
  };
  for (const Case& c : cases) {
    WindowBounds kept = KeepOnWorkArea(c.at, c.width, c.height, c.topLeft, 1600, 1000);
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " below " << c.topLeft.y);
    EXPECT_EQ(kept.x, c.kept.x);
    EXPECT_EQ(kept.y, c.kept.y);
    EXPECT_EQ(kept.width, c.kept.width);
    EXPECT_EQ(kept.height, c.kept.height);
  }
  WindowBounds unknown = KeepOnWorkArea({514, 217}, 1700, 1100, {0, 0}, 0, 0);
  EXPECT_EQ(unknown.width, 1700);
  EXPECT_EQ(unknown.x, 514);
}
