// Process-wide state of the documents floor; the current document's and the project's names
// and text are shared with the floors above (base/SharedState.h).
#pragma once
#include "base/SharedState.h"
#include "documents/OutsideChanges.h"

extern bool ProjectUnreadable;   // the project file held what the box cannot show (a NUL byte): never written back
extern FileSeen DocumentOnDisk;     // the document's file as last read or written; loads, saves and the outside-change check
