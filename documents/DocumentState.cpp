// Definitions of the documents floor's state (declared in DocumentState.h).
#include "documents/DocumentState.h"

bool ProjectUnreadable = false;
TextEncoding DocumentEncoding = TextEncoding::Ansi;
FileSeen DocumentOnDisk;
