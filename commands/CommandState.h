// Process-wide state of the command layer.
#pragma once
#include "base/SharedState.h"

struct HMENU__;
typedef HMENU__* HMENU;

extern int NameAfterSource;              // toggled by 3026, shown by its check mark
extern HMENU MenuBar;                    // the window's menu bar; replaced by every rebuild
