// Definitions of the documents floor's state.
#include "documents/DocumentState.h"

bool ProjectUnreadable = false;
TextEncoding DocumentEncoding = TextEncoding::Ansi;
FileSeen DocumentOnDisk;
