// The document's encoding: what a load decides and what every write puts back.
#include "documents/Encoding_win.h"
#include "base/SharedState.h"
#include "documents/DocumentState.h"
#include "editor/CodePage_win.h"

TextEncoding EncodingForEditor(std::string_view fileBytes) {
  return CurrentEditor != nullptr && CurrentEditor == Editor ? EncodingOf(fileBytes) : TextEncoding::Ansi;
}

void UseDocumentEncoding(TextEncoding encoding) {
  DocumentEncoding = encoding;
  UseDocumentCodePage(IsUtf8(encoding));
}

std::string_view DocumentFileBytes(std::string_view editorText, std::string& storage) {
  return FileBytesOf(editorText, DocumentEncoding, storage);
}
