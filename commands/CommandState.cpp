// Definitions of the command layer's state (declared in CommandState.h).
#include "commands/CommandState.h"

int ToolbarIds[10] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};
int OutputKind = 0;
int NameAfterSource = 0;
std::string ProjectCommands[100];
HMENU MenuBar = nullptr;
