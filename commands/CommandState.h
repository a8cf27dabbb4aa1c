// Process-wide state of the command layer.
#pragma once
#include <string>

struct HMENU__;
typedef HMENU__* HMENU;

extern int ToolbarIds[10];               // command ids of the toolbar buttons; start-up fills 100..109
extern int OutputKind;                   // 0 builds an executable, 1 a library; menu items 3024/3025
extern int NameAfterSource;              // toggled by 3026; read by the build command
extern std::string ProjectCommands[100]; // text of project menu item 3100 + k; filled by the menu bar
extern HMENU MenuBar;                    // the window's menu bar; replaced by every rebuild
