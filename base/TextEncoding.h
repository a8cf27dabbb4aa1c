// How a document's bytes are read: in the ANSI code page, or as UTF-8 with or without its byte
// order mark. The editor never holds the mark: it is taken off when a file is loaded and put
// back whenever the text goes to the file or is compared with it, so a file keeps its bytes.
#pragma once
#include <string>
#include <string_view>

enum class TextEncoding { Ansi, Utf8, Utf8WithMark };

// The encoding a file's bytes open in (the rule of zorbasic/Utf8Text.h).
TextEncoding EncodingOf(std::string_view fileBytes);
inline bool IsUtf8(TextEncoding encoding) { return encoding != TextEncoding::Ansi; }
// The text the editor shows of a file's bytes: without the mark where the file has one.
std::string_view EditorPartOf(std::string_view fileBytes, TextEncoding encoding);
// The bytes the file holds for the editor's text: the text itself, or, for a file with the
// mark, storage made of the mark and the text.
std::string_view FileBytesOf(std::string_view editorText, TextEncoding encoding, std::string& storage);
