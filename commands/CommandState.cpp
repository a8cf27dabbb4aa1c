// Definitions of the command layer's state.
#include "commands/CommandState.h"

int NameAfterSource = 0;
HMENU MenuBar = nullptr;
