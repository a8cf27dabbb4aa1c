// The editor's code page, the status bar's encoding part and conversions for the edit boxes.
#include "editor/CodePage_win.h"
#include <commctrl.h>
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "editor/EditorAccess_win.h"

namespace {
constexpr UINT SetCodePageMessage = 2037;  // SCI_SETCODEPAGE
constexpr UINT GetCodePageMessage = 2137;  // SCI_GETCODEPAGE
constexpr WPARAM Utf8CodePage = 65001;     // SC_CP_UTF8
constexpr int EncodingPartWidth = 60;  // at 96 dpi; "UTF-8" with room around it
constexpr char Utf8Name[] = "UTF-8";

void SetCodePage(HWND control, bool utf8) {
  if (control != nullptr) Api.SendMessageA(control, SetCodePageMessage, utf8 ? Utf8CodePage : 0, 0);
}

// The status bar keeps one part for the messages of long commands (its window text), and
// while a UTF-8 document is open a second, narrow one at its right end.
void ShowEncodingPart(bool utf8) {
  if (StatusBar == nullptr) return;
  if (!utf8) {
    int whole = -1;
    Api.SendMessageA(StatusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
    return;
  }
  // A status bar spans its parent's width; one not sized yet is taken at that width.
  RECT client{};
  Api.GetClientRect(StatusBar, &client);
  if (client.right <= 0) Api.GetClientRect(Api.GetParent(StatusBar), &client);
  int parts[2] = {std::max(0, int(client.right) - WindowScale(EncodingPartWidth)), -1};
  Api.SendMessageA(StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  Api.SendMessageA(StatusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(Utf8Name));
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
  return Editor != nullptr && Api.SendMessageA(Editor, GetCodePageMessage, 0, 0) == LRESULT(Utf8CodePage);
}

std::string BoxTextForEditor(HWND box) {
  std::string text = GetControlText(box);
  return EditorIsUtf8() ? ConvertCodePage(text, CP_ACP, CP_UTF8) : text;
}

void SetBoxTextFromEditor(HWND box, std::string_view text) {
  SetControlText(box, EditorIsUtf8() ? ConvertCodePage(text, CP_UTF8, CP_ACP) : std::string(text));
}

std::string EncodingShown() {
  if (StatusBar == nullptr || Api.SendMessageA(StatusBar, SB_GETPARTS, 0, 0) < 2) return "";
  char text[64] = "";
  if (LOWORD(Api.SendMessageA(StatusBar, SB_GETTEXTLENGTHA, 1, 0)) >= sizeof text) return "";
  Api.SendMessageA(StatusBar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  return text;
}
