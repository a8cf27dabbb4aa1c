// Process-wide state of the application shell: the exported record, the window's own parts,
// the layout and the values carried in the settings file. Window handles are declared the way
// <windows.h> declares them, so platform-free code can include this header too.
#pragma once
#include <cstdint>
#include <string>
#include "base/SharedState.h"

struct HBITMAP__;
typedef HBITMAP__* HBITMAP;

// The exported record: 4096 32-bit slots, zero at start, in the 64-bit program too. Slot 0
// MainWindow, slots 2 and 4 the instance handle (in the 64-bit program its low and its high
// 32 bits; GuiSlots.h says how handles are kept there), 12 and 14 the words of the last
// WM_MOUSEMOVE.
constexpr int GuiStateSlots = 4096;
extern uint32_t* GuiState;           // address returned by guistate(); set by start-up

extern int WorkAreaLeft;             // left edge of the desktop work area (0 unless a task bar is there); set by start-up
extern int WorkAreaTop;              // top edge of the desktop work area; set by start-up
extern int WorkAreaWidth;            // right edge of the desktop work area; set by start-up
extern int WorkAreaHeight;           // bottom edge of the desktop work area; set by start-up
extern HBITMAP ToolbarPictures[10];  // pictures of the toolbar buttons at the window's scale; loaded by start-up
                                     // and, for a display of another scale, by the toolbar, which deletes the old ones

extern HWND CommandButtons[11];      // ids 1000, 4001..4010 in that order
extern HWND ToolbarButtons[10];      // the picture buttons, in toolbar order; made after creation

extern std::string StartArgument;    // the file named on the command line, unquoted
extern std::string StartDirectory;   // current directory the process was started in; empty until recorded
extern int RestorePos;               // editor position to restore on the first layout; 0 none
extern int LayoutQuarter;            // a quarter of the client width, rounded half to even
extern int ClientHeight;             // client height at the last layout
extern int WindowWidth;              // outer width recorded by the layout, stored in the settings
extern int WindowHeight;             // outer height recorded by the layout, stored in the settings
extern std::string EditorFontName;   // editor font face; from the settings
extern int EditorFontSize;           // editor font size; from the settings
