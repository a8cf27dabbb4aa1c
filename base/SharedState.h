// Process-wide state that more than one floor reads or changes. Window handles are declared
// the way <windows.h> declares them, so platform-free code can include this header too. State
// that only one folder uses is declared in that folder's own state header.
#pragma once
#include <string>
#include "base/DisplayScale.h"

struct HWND__;
typedef HWND__* HWND;

extern std::string AboutText;        // text of the About box; composed by start-up, shown by the About command

extern HWND MainWindow;              // the "wins" window; set by its creation step
extern HWND Editor;                  // the Scintilla control, id 256; null without SciLexer.dll
extern HWND CurrentEditor;           // the control the commands edit: Editor or the plain fallback
enum FinderSlot { FindBox = 1, ReplaceBox, LineBox, KeywordBox, ProjectBox, OutputBox };
extern HWND FinderBoxes[7];          // slots 1..6 by FinderSlot; slot 0 unused; made by the creation step
extern HWND LastFocused;             // editor or box that had the focus last; noted by the shell, read by F1
extern HWND ListingPanel;            // the read-only view of the IDE's own listings; null without SciLexer.dll
extern HWND StatusBar;               // the status bar; made after the window's creation, written by long commands
extern DisplayScale WindowScale;     // the scale of the display MainWindow is on: 96 dpi until the window exists;
                                     // set by its creation step and when it moves to a display of another scale
extern bool KeyRepeats;              // true while the command of a key held into its auto-repeat runs; the message loop

extern std::string ProgramDir;       // folder of the program file, no trailing backslash; set by the creation step
extern std::string WorkDir;          // working directory; creation step, drops, projects
extern int ProjectOpen;              // 1 while the project strip is shown; projects, drops, menu 3005
extern int OutputShown;              // 1 while the OutputBox side panel is shown; compiler queries
extern int ListingShown;             // 1 when the side panel shows the ListingPanel instead of the OutputBox
extern int PendingAction;            // 1 asks for a relayout after the current message; any command

extern int ToolbarIds[10];               // command ids of the toolbar buttons; start-up fills 100..109, commands rewrite 1..9
extern int OutputKind;                   // 0 builds an executable, 1 a library; menu items 3024/3025, read by the build
extern std::string ProjectCommands[100]; // text of project menu item 3100 + k; filled by the menu bar, run by the build

extern std::string CurrentFile;  // file that is loaded, built and handed to project commands; empty when untitled
extern std::string SaveName;     // name the editor text is saved under and prompts show; empty when untitled
extern std::string ProjectFile;  // the open project's file name; empty when none
extern std::string ProjectText;  // the project list text as last read from the ProjectBox
