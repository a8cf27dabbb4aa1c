// F12: going to where the name at the caret is declared.
#pragma once

// Goes to the declaration of the name at the Editor's caret, in the document or in a file it
// includes (opened as a listed file is), so that Shift+F12 comes back; the status bar says what
// it went to, or why it stayed (a keyword or built-in, or a name declared nowhere).
void GoToDefinition();
