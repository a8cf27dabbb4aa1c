// The document's code page at the editor's door: the editor and the listing panel show a UTF-8
// document's bytes as the characters they are, the status bar says "UTF-8", and text crossing
// between the edit boxes (ANSI windows) and the editor is converted to the document's code page.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

// Makes the editor and the listing panel read their bytes as UTF-8 (or in the ANSI code page),
// and shows "UTF-8" in the status bar's second part while a UTF-8 document is open.
void UseDocumentCodePage(bool utf8);
// Places the status bar's encoding part again for its present width (a new status bar, a new
// display scale), as the editor's code page says.
void PlaceEncodingPart();
// True while the editor reads its bytes as UTF-8.
bool EditorIsUtf8();
// The text of a box (ANSI) in the editor's code page.
std::string BoxTextForEditor(HWND box);
// Sets a box's text from text in the editor's code page; a character the ANSI code page does
// not have shows as "?".
void SetBoxTextFromEditor(HWND box, std::string_view text);
// Text from one code page in another (CP_ACP, CP_UTF8); the text itself when both are one.
std::string ConvertCodePage(std::string_view text, unsigned from, unsigned to);
