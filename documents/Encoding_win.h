// The document's encoding between its file and the editor: a loaded file's bytes decide it,
// the editor shows the text without the UTF-8 mark, and the file gets its bytes back whole.
#pragma once
#include <string>
#include <string_view>
#include "base/TextEncoding.h"

// The encoding a file's bytes open in, in the current editor: the plain edit control that
// stands in for the editing component reads every file in the ANSI code page.
TextEncoding EncodingForEditor(std::string_view fileBytes);
// Makes encoding the document's: the editor's code page and the status bar follow.
void UseDocumentEncoding(TextEncoding encoding);
// The bytes the document's file holds for the editor's text: its mark put back where the
// file had one (storage then holds them), never added where it had none.
std::string_view DocumentFileBytes(std::string_view editorText, std::string& storage);
