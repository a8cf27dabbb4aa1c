// Fixed texts of start-up: the editor's keyword list, the About text, the console banner
// and the toolbar picture files.
#pragma once
#include <string>

// Keyword set 0 of the editor: blank- and CR LF-separated words, handed over unchanged.
extern const char* const KeywordList;

// The console greeting's first text: "Zorvex Basic by " and the credit.
extern const char* const ConsoleBanner;
// The console line of a compiler library too old to check a document as the user types.
extern const char* const NoErrorCheckLine;

// Picture files of the ten toolbar buttons, relative to the start-up directory
// (Windows-1252 names).
extern const char* const ToolbarPictureFiles[10];

// The text of the About box.
std::string ComposeAboutText();
