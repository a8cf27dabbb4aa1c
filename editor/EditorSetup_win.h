// Setting up the editor once it is created, and showing a remembered caret position.
#pragma once
#include <windows.h>
#include <string>

class ScintillaDoor;

// Lexer 200 with keyword set 0, the back colour, the font of every style, the line-number
// margin, the caret line, the colours of the lexer's classes and the fold margin; the margins'
// widths at the window's scale (the fonts' sizes are points, which the editor scales itself).
void ConfigureEditor(HWND editor, const std::string& keywords, const std::string& fontName, int fontSize);

// Makes the Editor's line-number margin as wide as its largest line number needs, and at
// least as wide as at set-up; to be called whenever the number of lines may have changed.
void UpdateLineNumberWidth();
// The Editor's margins (line numbers, marks, folds) as wide as the window's scale makes them.
void ScaleEditorMargins();

// The markers of a fold margin: boxes with a plus or minus at fold points, joined by lines along
// the folded blocks (the Editor's and the listing panel's).
void DefineFoldMarkers(const ScintillaDoor& control);

// Moves the caret to pos with up to twenty lines of text shown below it.
void RestoreCaret(HWND editor, int pos);

// The plain edit control that stands in for the editor when the editing component is missing:
// no text limit, the caret at pos. Its font (the settings' one) comes from the window's fonts.
void ConfigurePlainEditor(HWND editor, int pos);
