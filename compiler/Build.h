// The run, compile, tools, project and compiler-query commands.
#pragma once
#include <string>
#include "base/Outcome.h"

// F5 and its modifiers: saves the document (an untitled one as ProgramDir "\_.zobas") and starts
// zor5.exe on it, or with a project open on the project's main file when the document is no
// Basic source. Shift alone runs it with the 64-bit runtime.
void BuildCommand(int modifier);
// The source F5 runs, saved first as F5 saves it (kind: the output kind a project names);
// "" when there is nothing to run.
std::string SourceToRun(int& kind);
// F7: an interactive command prompt (0, 3), the tools script (1), find in files (2).
void ToolsCommand(int modifier);
// Project menu item 3100 + index: Stop when the save prompt was cancelled.
Outcome ProjectCommand(int index);
// F2 (mode = its modifier) and Enter in the KeywordBox (mode 0, the box's text): the compiler
// library's answer about the word, shown in the OutputBox.
void CompilerQuery(int mode, const std::string& word);
// Enter in the KeywordBox: shows the OutputBox with the answer about the box's text, or hides
// it again when the box is empty.
void KeywordBoxQuery();
