// Process-wide state of the application shell. Window handles are declared the way
// <windows.h> declares them, so platform-free code can include this header too.
#pragma once
#include <cstdint>
#include <string>

struct HWND__;
typedef HWND__* HWND;
struct HFONT__;
typedef HFONT__* HFONT;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;

// The exported record: 4096 32-bit slots, zero at start. Slot 0 MainWindow, slots 2 and 4
// the instance handle, 12 and 14 the words of the last WM_MOUSEMOVE.
constexpr int GuiStateSlots = 4096;
extern uint32_t* GuiState;           // address returned by guistate(); set by start-up

extern int WorkAreaWidth;            // right edge of the desktop work area; set by start-up
extern int WorkAreaHeight;           // bottom edge of the desktop work area; set by start-up
extern std::string AboutText;        // text of the About box; composed by start-up
extern HBITMAP ToolbarPictures[10];  // pictures of the toolbar buttons; loaded by start-up

extern HWND MainWindow;              // the "wins" window; set by its creation step
extern HWND Editor;                  // the Scintilla control, id 256; null without SciLexer.dll
extern HWND CurrentEditor;           // the control the commands edit: Editor or the plain fallback
extern HWND CommandButtons[11];      // ids 1000, 4001..4010 in that order
extern HWND ToolbarButtons[10];      // the picture buttons, in toolbar order; made after creation
enum FinderSlot { FindBox = 1, ReplaceBox, LineBox, KeywordBox, ProjectBox, OutputBox };
extern HWND FinderBoxes[7];          // slots 1..6 by FinderSlot; slot 0 unused
extern HFONT FinderFont;             // font of the finder boxes; deleted on WM_DESTROY
extern HFONT PlainEditorFont;        // font of the plain editor without Scintilla; deleted on WM_DESTROY
extern HWND LastFocused;             // editor or box that had the focus last; noted from their notifications

extern std::string ProgramDir;       // folder of the program file, no trailing backslash
extern std::string WorkDir;          // working directory; creation step, drops, projects
extern std::string StartArgument;    // the file named on the command line, unquoted
extern std::string StartDirectory;   // current directory the process was started in; empty until recorded
extern int ProjectOpen;              // 1 while the project strip is shown
extern int OutputShown;              // 1 while the OutputBox side panel is shown
extern int PendingAction;            // 1 asks for a relayout after the current message
extern int RestorePos;               // editor position to restore on the first layout; 0 none
extern int LayoutQuarter;            // a quarter of the client width, rounded half to even
extern int ClientHeight;             // client height at the last layout
extern int WindowWidth;              // outer width recorded by the layout, stored in the settings
extern int WindowHeight;             // outer height recorded by the layout, stored in the settings
extern std::string EditorFontName;   // editor font face; from the settings
extern int EditorFontSize;           // editor font size; from the settings
