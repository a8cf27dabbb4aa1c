// Reading a file's bytes as a document's text and back.
#include "base/TextEncoding.h"
#include "zorbasic/Utf8Text.h"

TextEncoding EncodingOf(std::string_view fileBytes) {
  if (zb::StartsWithUtf8Mark(fileBytes)) return TextEncoding::Utf8WithMark;
  return zb::IsUtf8Source(fileBytes) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

std::string_view EditorPartOf(std::string_view fileBytes, TextEncoding encoding) {
  return encoding == TextEncoding::Utf8WithMark ? fileBytes.substr(zb::Utf8Mark.size()) : fileBytes;
}

std::string_view FileBytesOf(std::string_view editorText, TextEncoding encoding, std::string& storage) {
  if (encoding != TextEncoding::Utf8WithMark) return editorText;
  storage.reserve(zb::Utf8Mark.size() + editorText.size());
  storage.assign(zb::Utf8Mark);
  storage.append(editorText);
  return storage;
}
