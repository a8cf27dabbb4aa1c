// Definitions of the documents floor's state.
#include "documents/DocumentState.h"

bool ProjectUnreadable = false;
FileSeen DocumentOnDisk;
