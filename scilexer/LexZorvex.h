// The Zorvex Basic lexer that lib/SciLexer.dll attaches as lexer number 200.
#pragma once

namespace Scintilla {
class ILexer5;
}

// Lexer number under which the editing control offers the Zorvex Basic lexer.
constexpr int ZorvexLexerNumber = 200;

// A new lexer instance; the control that receives it releases it.
Scintilla::ILexer5* CreateZorvexLexer();
