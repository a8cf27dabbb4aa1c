// The one answer an operation gives the command that called it about going on.
#pragma once

// Stop: the user cancelled a prompt, or a failure left their text unsaved or a file unread;
// the calling command ends here, with no further change and no pending action.
enum class Outcome { Go, Stop };
