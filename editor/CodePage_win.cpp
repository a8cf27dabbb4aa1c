// The editor's code page, the status bar's encoding part and conversions for the edit boxes.
#include "editor/CodePage_win.h"
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"
#include "base/StatusBar_win.h"
#include "editor/ScintillaDoor_win.h"

namespace {
constexpr int Utf8CodePage = Scintilla::CpUtf8;

void SetCodePage(HWND control, bool utf8) {
  if (control != nullptr) ScintillaDoor(control).SetCodePage(utf8 ? Utf8CodePage : 0);
}

}  // namespace

std::string ConvertCodePage(std::string_view text, unsigned from, unsigned to) {
  if (from == to || text.empty()) return std::string(text);
  const int size = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF));
  const int wideLength = Api.MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::string(text);
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  Api.MultiByteToWideChar(from, 0, text.data(), size, wide.data(), wideLength);
  // A character the code page lacks becomes "?", never a look-alike (Ω as O) that a search
  // would then find in its place.
  const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = Api.WideCharToMultiByte(to, flags, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string(text);
  std::string converted(static_cast<size_t>(length), '\0');
  Api.WideCharToMultiByte(to, flags, wide.data(), wideLength, converted.data(), length, nullptr, nullptr);
  return converted;
}

void UseDocumentCodePage(bool utf8) {
  SetCodePage(Editor, utf8);
  SetCodePage(ListingPanel, utf8);
  ShowEncodingPart(utf8);
}

void PlaceEncodingPart() { ShowEncodingPart(EditorIsUtf8()); }

bool EditorIsUtf8() {
  return Editor != nullptr && ScintillaDoor(Editor).CodePage() == Utf8CodePage;
}

std::string BoxTextForEditor(HWND box) {
  std::string text = GetControlText(box);
  return EditorIsUtf8() ? ConvertCodePage(text, CP_ACP, CP_UTF8) : text;
}

void SetBoxTextFromEditor(HWND box, std::string_view text) {
  SetControlText(box, EditorIsUtf8() ? ConvertCodePage(text, CP_UTF8, CP_ACP) : std::string(text));
}
