// Fixed texts of start-up: the editor's keyword list, the About text, the console banner,
// the toolbar picture files, and the unsaved text that a forced end of the session left.
#pragma once
#include <string>
#include <string_view>

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

// The file that keeps the editor's unsaved text when the session was ended without the user's
// answer: "<name>~unsaved<extension>" beside the document's file (with its folder).
std::string EmergencyCopyName(std::string_view document);
// The file in the program folder that names such copies, one a line, until the next start
// reports them.
extern const char* const EmergencyNoteFile;
// The console line of the next start that says where the copy is.
std::string EmergencyCopyLine(std::string_view copy);
