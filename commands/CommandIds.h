// Every command identifier of the IDE, grouped by where it comes from. This header is the
// only place the numbers are written down; everything else uses these names.
#pragma once

// Child controls whose notifications also arrive as commands (no action).
constexpr int EditorId = 256;           // the Scintilla editor
constexpr int FinderBoxId = 6000;       // every box of FinderBoxes
constexpr int ListingPanelId = 257;     // the listing panel, a read-only Scintilla view

// Start values of the toolbar entries 1..10, before the first command rewrites 1..9.
constexpr int ToolbarStartFirst = 100;
constexpr int ToolbarStartLast = 108;
constexpr int ToolbarCodefinder = 109;  // toolbar button 10, kept for the whole run

// Menu items; some are sent by toolbar buttons too, some by no item at all.
constexpr int MenuSysteminfo = 2900;
constexpr int MenuFileProperty = 2901;
constexpr int MenuCommandPrompt = 2902;
constexpr int MenuNewFile = 3000;        // also toolbar button 1
constexpr int MenuOpen = 3001;           // also toolbar button 2
constexpr int MenuSave = 3002;
constexpr int MenuSaveAs = 3003;         // also toolbar button 3
constexpr int MenuToggleProject = 3005;  // no item
constexpr int MenuToolsCtrl = 3008;      // no item
constexpr int MenuExit = 3009;
constexpr int MenuUndo = 3010;
constexpr int MenuCut = 3011;
constexpr int MenuCopy = 3012;
constexpr int MenuPaste = 3013;
constexpr int MenuFind = 3014;           // also toolbar button 6
constexpr int MenuReplace = 3015;
constexpr int MenuReplaceInSelection = 3016;  // no item
constexpr int MenuSelectAll = 3017;
constexpr int MenuSearch = 3018;         // "&Search" with "ctrl-t": inserts the time stamp
constexpr int MenuQuickRun = 3020;       // also toolbar button 4
constexpr int MenuRunCompiling = 3022;   // also toolbar button 5
constexpr int MenuCompile64 = 3023;      // no item
constexpr int MenuOutputExe = 3024;
constexpr int MenuOutputDll = 3025;
constexpr int MenuNameAfterSource = 3026;  // no item
constexpr int MenuRunShift = 3027;       // no item
constexpr int MenuHelp = 3030;
constexpr int MenuAbout = 3032;          // also toolbar button 8
constexpr int MenuBeginnerExample = 3033;
constexpr int MenuExampleShift = 3034;   // no item
constexpr int MenuShowImage = 3035;
constexpr int ToolbarHelp = 3037;        // toolbar button 7: keyword help
constexpr int MenuKeyHelpBox = 3038;     // no item
constexpr int MenuTools = 3040;          // no item
constexpr int MenuToolsShift = 3041;     // no item
constexpr int MenuToolsCtrl2 = 3042;     // no item, same as 3008
constexpr int MenuUseEditor = 3043;
constexpr int MenuColorizing = 3044;
constexpr int MenuCompilerPath = 3045;
constexpr int ToolbarFindEditor = 3046;  // toolbar button 9

// The project menu: item 3100 + k runs ProjectCommands[k].
constexpr int ProjectCommandFirst = 3100;
constexpr int ProjectCommandLast = 3199;

// The eleven owner-drawn command buttons, in creation order.
constexpr int ButtonNewFile = 1000;
constexpr int ButtonOpenFile = 4001;
constexpr int ButtonSaveAs = 4002;
constexpr int ButtonQuickRun = 4003;
constexpr int ButtonCompile = 4004;
constexpr int ButtonExit = 4005;
constexpr int ButtonVersion = 4006;
constexpr int ButtonFinder = 4007;
constexpr int ButtonReplace = 4008;
constexpr int ButtonSaveFile = 4009;
constexpr int ButtonUndo = 4010;
constexpr int CommandButtonIds[11] = {ButtonNewFile, ButtonOpenFile, ButtonSaveAs, ButtonQuickRun,
                                      ButtonCompile, ButtonExit,     ButtonVersion, ButtonFinder,
                                      ButtonReplace, ButtonSaveFile, ButtonUndo};

// Key commands: the function keys, which are also the targets most commands reduce to.
constexpr int KeyF1 = 1001;
constexpr int KeyF2 = 1002;
constexpr int KeyF3 = 1003;
constexpr int KeyF4 = 1004;
constexpr int KeyF5 = 1005;
constexpr int KeyF6 = 1006;
constexpr int KeyF7 = 1007;
constexpr int KeyF8 = 1008;
constexpr int KeyF9 = 1009;
constexpr int KeyF10 = 1010;
constexpr int KeyF11 = 1011;  // folding
constexpr int KeyF12 = 1012;
constexpr int TargetReplaceInSelection = 1020;  // reached through 3016 only
constexpr int TargetNothing = 1099;             // accepted, no action
constexpr int KeyDoubleClick = 1103;            // lParam: the window double-clicked
constexpr int KeyEnter = 2013;                  // lParam: the window that had the key
constexpr int KeyEscape = 2227;

// Ctrl+letter: 2000 + the letter's virtual-key code, Ctrl+A = 2065 .. Ctrl+Z = 2090.
constexpr int CtrlLetterBase = 2000;
constexpr int CtrlKey(char letter) { return CtrlLetterBase + letter; }
constexpr int KeyCtrlA = CtrlKey('A');
constexpr int KeyCtrlE = CtrlKey('E');
constexpr int KeyCtrlF = CtrlKey('F');
constexpr int KeyCtrlG = CtrlKey('G');
constexpr int KeyCtrlM = CtrlKey('M');  // bookmark on the caret's line; with Shift the list of bookmarks
constexpr int KeyCtrlO = CtrlKey('O');
constexpr int KeyCtrlQ = CtrlKey('Q');  // comment marks on the selected lines
constexpr int KeyCtrlR = CtrlKey('R');
constexpr int KeyCtrlS = CtrlKey('S');
constexpr int KeyCtrlT = CtrlKey('T');
constexpr int KeyCtrlZ = CtrlKey('Z');
// Ctrl with the key that types "." or ",", wherever the layout puts it: the next and previous
// bookmark. Numbered after the keys' codes on a US layout (VK_OEM_PERIOD, VK_OEM_COMMA).
constexpr int KeyCtrlPeriod = CtrlLetterBase + 0xBE;
constexpr int KeyCtrlComma = CtrlLetterBase + 0xBC;
constexpr int KeyCtrlSpace = CtrlKey(' ');  // the completion list; with Shift the parameter hint

// The toolbar entries 1..9 as every command message rewrites them; entry 10 keeps 109.
constexpr int ToolbarCommandIds[9] = {MenuNewFile,      MenuOpen,  MenuSaveAs,
                                      MenuQuickRun,     MenuRunCompiling, MenuFind,
                                      ToolbarHelp,      MenuAbout, ToolbarFindEditor};

// CommandModifier bits, taken from the keys held when a command is handled.
constexpr int ModShift = 1;
constexpr int ModCtrl = 2;
