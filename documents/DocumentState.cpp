// Definitions of the documents floor's state (declared in DocumentState.h).
#include "documents/DocumentState.h"

bool ProjectUnreadable = false;
FileSeen DocumentOnDisk;
