// The Zorvex Basic lexer that lib/SciLexer.dll attaches as lexer number 200.
#pragma once
#include "scilexer/ZorvexStyles.h"

namespace Scintilla {
class ILexer5;
}

// A new lexer instance; the control that receives it releases it.
Scintilla::ILexer5* CreateZorvexLexer();
