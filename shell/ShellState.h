// Process-wide state of the application shell: the exported record, the window's own parts,
// the layout and the values carried in the settings file. Window handles are declared the way
// <windows.h> declares them, so platform-free code can include this header too.
#pragma once
#include <cstdint>
#include <string>
#include "base/SharedState.h"

struct HFONT__;
typedef HFONT__* HFONT;
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
extern HBITMAP ToolbarPictures[10];  // pictures of the toolbar buttons; loaded by start-up

extern HWND CommandButtons[11];      // ids 1000, 4001..4010 in that order
extern HWND ToolbarButtons[10];      // the picture buttons, in toolbar order; made after creation
extern HFONT FinderFont;             // font of the finder boxes; deleted on WM_DESTROY
extern HFONT PlainEditorFont;        // font of the plain editor without Scintilla; deleted on WM_DESTROY

extern std::string StartArgument;    // the file named on the command line, unquoted
extern std::string StartDirectory;   // current directory the process was started in; empty until recorded
extern int RestorePos;               // editor position to restore on the first layout; 0 none
extern int LayoutQuarter;            // a quarter of the client width, rounded half to even
extern int ClientHeight;             // client height at the last layout
extern int WindowWidth;              // outer width recorded by the layout, stored in the settings
extern int WindowHeight;             // outer height recorded by the layout, stored in the settings
extern std::string EditorFontName;   // editor font face; from the settings
extern int EditorFontSize;           // editor font size; from the settings
