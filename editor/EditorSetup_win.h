// Setting up the editor once it is created, and showing a remembered caret position.
#pragma once
#include <windows.h>
#include <string>

// Lexer 200 with keyword set 0, the back colour, the font of every style, the line-number
// margin, the caret line and the colours of the lexer's classes.
void ConfigureEditor(HWND editor, const std::string& keywords, const std::string& fontName, int fontSize);

// Moves the caret to pos with up to twenty lines of text shown below it.
void RestoreCaret(HWND editor, int pos);

// The plain edit control that stands in for the editor when the editing component is missing:
// settings font, no text limit, the caret at pos. Returns the font, which the caller deletes.
HFONT ConfigurePlainEditor(HWND editor, const std::string& fontName, int fontSize, int pos);
