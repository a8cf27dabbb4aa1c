// Setting up the editor once it is created, and showing a remembered caret position.
#pragma once
#include <windows.h>
#include <string>

// Lexer 200 with keyword set 0, the back colour, the font of every style, the line-number
// margin, the caret line, the colours of the lexer's classes and the fold margin.
void ConfigureEditor(HWND editor, const std::string& keywords, const std::string& fontName, int fontSize);

// Makes the Editor's line-number margin as wide as its largest line number needs, and at
// least as wide as at set-up; to be called whenever the number of lines may have changed.
void UpdateLineNumberWidth();

// Moves the caret to pos with up to twenty lines of text shown below it.
void RestoreCaret(HWND editor, int pos);

// The plain edit control that stands in for the editor when the editing component is missing:
// settings font, no text limit, the caret at pos. Returns the font, which the caller deletes.
HFONT ConfigurePlainEditor(HWND editor, const std::string& fontName, int fontSize, int pos);
