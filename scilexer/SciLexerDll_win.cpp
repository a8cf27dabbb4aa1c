// Entry of lib/SciLexer.dll: registers Scintilla's window classes, then registers "Scintilla"
// again with a window procedure of ours in front of Scintilla's own.
//
// Ours answers the lexer-selection message that Scintilla 5 no longer has (the program still
// sends it), lets SCI_SETTEXT take a text with NUL bytes when a length is given and starts each
// control in the ANSI code page; every other message goes to Scintilla's procedure unchanged.
#include <windows.h>
#include <cstring>
#include "ILexer.h"
#include "ScintillaTypes.h"
#include "ScintillaMessages.h"
#include "ScintillaWin.h"
#include "scilexer/LexZorvex.h"

namespace {

using Scintilla::Message;

const wchar_t ScintillaClass[] = L"Scintilla";
WNDPROC ScintillaProc = nullptr;  // Scintilla's own procedure, set once when the DLL loads

LRESULT Pass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(ScintillaProc, window, message, wParam, lParam);
}
LRESULT Pass(HWND window, Message message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return Pass(window, static_cast<UINT>(message), wParam, lParam);
}

// Lexer 200 attaches the Zorvex Basic lexer (kept, with its keywords, if already attached);
// 0 detaches any lexer and leaves the text unstyled; other numbers change nothing.
LRESULT SetLexer(HWND window, WPARAM lexer) {
  if (lexer == static_cast<WPARAM>(ZorvexLexerNumber)) {
    if (Pass(window, Message::GetLexer) == ZorvexLexerNumber) return 0;
    Pass(window, Message::SetILexer, 0, reinterpret_cast<LPARAM>(CreateZorvexLexer()));
    Pass(window, Message::ClearDocumentStyle);  // styled afresh by the new lexer
  } else if (lexer == 0) {
    Pass(window, Message::SetILexer);
    Pass(window, Message::ClearDocumentStyle);
  }
  return 0;
}

// Replaces the whole text by the first `length` bytes at `text`, NUL bytes included, with the
// same effects as Scintilla's SCI_SETTEXT: one undo step, empty selection at 0, target kept.
// Only the range where the new text differs from the old is replaced, so a change to one
// occurrence in a big document costs that range (in time and in undo memory), and undoing it
// brings back that range instead of selecting the whole text.
LRESULT SetTextOfLength(HWND window, WPARAM length, LPARAM text) {
  const char* now = reinterpret_cast<const char*>(Pass(window, Message::GetCharacterPointer));
  const size_t oldLength = static_cast<size_t>(Pass(window, Message::GetTextLength));
  const char* next = reinterpret_cast<const char*>(text);
  const size_t newLength = static_cast<size_t>(length);
  size_t same = 0;  // bytes equal at the start
  size_t tail = 0;  // bytes equal at the end, not overlapping the start
  if (now) {
    const size_t shorter = oldLength < newLength ? oldLength : newLength;
    while (same < shorter && now[same] == next[same]) ++same;
    while (tail < shorter - same && now[oldLength - 1 - tail] == next[newLength - 1 - tail]) ++tail;
  }
  const LRESULT targetStart = Pass(window, Message::GetTargetStart);
  const LRESULT targetEnd = Pass(window, Message::GetTargetEnd);
  Pass(window, Message::BeginUndoAction);
  if (same < oldLength - tail || same < newLength - tail) {
    Pass(window, Message::SetTargetRange, same, oldLength - tail);
    Pass(window, Message::ReplaceTarget, newLength - tail - same, reinterpret_cast<LPARAM>(next + same));
  }
  Pass(window, Message::SetEmptySelection);
  Pass(window, Message::EndUndoAction);
  Pass(window, Message::SetTargetRange, targetStart, targetEnd);
  return 1;
}

// Scintilla 5 starts every control in UTF-8, but the program's text is bytes in the ANSI code
// page: a new control starts in that code page, so such bytes show as the characters they are
// and typed characters arrive as ANSI bytes. SCI_SETCODEPAGE can still change it.
LRESULT Create(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Pass(window, WM_CREATE, wParam, lParam);
  if (result == 0) Pass(window, Message::SetCodePage);
  return result;
}

LRESULT CALLBACK ZorvexScintillaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_CREATE) return Create(window, wParam, lParam);
    if (message == SetLexerMessage) return SetLexer(window, wParam);
    if (message == static_cast<UINT>(Message::SetText) && wParam != 0 && lParam != 0) {
      return SetTextOfLength(window, wParam, lParam);
    }
  } catch (...) {
    return 0;  // out of memory for a new lexer: the control goes on without it
  }
  return Pass(window, message, wParam, lParam);
}

// Registers "Scintilla" again, alike in every respect except that ours is the procedure.
bool PutProcedureInFront(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  if (!GetClassInfoExW(instance, ScintillaClass, &cls)) return false;
  ScintillaProc = cls.lpfnWndProc;
  if (!UnregisterClassW(ScintillaClass, instance)) return false;
  cls.lpfnWndProc = ZorvexScintillaProc;
  cls.lpszClassName = ScintillaClass;
  return RegisterClassExW(&cls) != 0;
}

}  // namespace

// Exported as Scintilla's own DLL exports it, for callers that talk to the control directly.
extern "C" __declspec(dllexport) Scintilla::sptr_t __stdcall Scintilla_DirectFunction(
    Scintilla::Internal::ScintillaWin* sci, UINT message, Scintilla::uptr_t wParam,
    Scintilla::sptr_t lParam) {
  return Scintilla::Internal::DirectFunction(sci, message, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    return Scintilla::Internal::RegisterClasses(instance) && PutProcedureInFront(instance);
  }
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    UnregisterClassW(ScintillaClass, instance);
    Scintilla::Internal::ResourcesRelease(true);
  }
  return TRUE;
}
