// Definitions of the command layer's state (declared in CommandState.h).
#include "commands/CommandState.h"

int NameAfterSource = 0;
HMENU MenuBar = nullptr;
