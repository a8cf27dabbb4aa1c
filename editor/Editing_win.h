// The editing aids on the Editor, for the main window to call from the editor's notifications
// and from its keys: indentation as the user types, comments on a block of lines, Tab on
// lines, and the highlighting of matching block words and brackets. Each does nothing
// without the Editor.
#pragma once

// A character typed: a line break indents the new line, and a character that
// completes a closing word at the start of a line brings the line back to its opener's
// indentation. What the IDE adds is an undo step of its own here; the message loop hands the
// key to the editor inside one undo group (UndoSteps_win.h), so the user undoes both at once.
void EditorCharAdded(int ch);
// The text or the selection may have changed: highlights the bracket beside the caret and its
// partner (an unmatched one in the bad-brace style), and marks every word of the block whose
// word the caret is on.
void EditorUpdateUi(bool textChanged, bool selectionChanged);
// Ctrl+Q (removeOnly false) and Ctrl+Shift+Q (true) on the lines of the selection or the
// caret's line, as one undo step; the selection keeps covering the same lines.
void ToggleLineComments(bool removeOnly);
// Tab (outdent false) and Shift+Tab (true): true when it handled the key, that is when the
// selection spans lines, which are then shifted by the document's indentation step as one undo
// step. With the caret on one line the key is left to the editor.
bool IndentSelectedLines(bool outdent);
// Whether the character ch, typed now at the caret, completes a closing word that then goes
// back to its opener's indentation (see EditorCharAdded).
bool TypingMovesWordAtCaret(int ch);
