// The door to a Scintilla control.
#include "editor/ScintillaDoor_win.h"
#include "base/Bindings_win.h"
#include "scilexer/ZorvexStyles.h"

// The message is the system's, but the headers name it only for Windows 10 and later.
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

ScintillaDoor ScintillaDoor::Direct(HWND control) {
  ScintillaDoor door(control);
  if (control == nullptr) return door;
  // Both asked through the window: the entry is used only once it has its instance.
  const auto direct = reinterpret_cast<DirectFunction>(door.Call(Message::GetDirectFunction));
  const intptr_t instance = door.Call(Message::GetDirectPointer);
  if (direct != nullptr && instance != 0) {
    door.direct_ = direct;
    door.instance_ = instance;
  }
  return door;
}

intptr_t ScintillaDoor::Call(Message message, uintptr_t wParam, intptr_t lParam) const {
  if (direct_) return direct_(instance_, static_cast<unsigned>(message), wParam, lParam);
  return Send(static_cast<unsigned>(message), wParam, lParam);
}

intptr_t ScintillaDoor::Send(unsigned message, uintptr_t wParam, intptr_t lParam) const {
  if (window_ == nullptr) return 0;
  return Api.SendMessageA(window_, message, wParam, lParam);
}

std::string_view ScintillaDoor::Text() const {
  const Position length = Length();
  const auto* text = reinterpret_cast<const char*>(Call(Message::GetCharacterPointer));
  return length > 0 && text ? std::string_view(text, size_t(length)) : std::string_view();
}

std::string_view ScintillaDoor::Range(Position from, Position to) const {
  if (to <= from) return {};
  const auto* text = reinterpret_cast<const char*>(Call(Message::GetRangePointer, Unsigned(from), to - from));
  return text ? std::string_view(text, size_t(to - from)) : std::string_view();
}

void ScintillaDoor::SetText(std::string_view text) const {
  // lib/SciLexer.dll takes a text of the given length, NUL bytes included, as one undo step (a
  // plain SCI_SETTEXT would stop at the first NUL); it answers through the window only.
  static const char empty = '\0';
  Send(static_cast<unsigned>(Message::SetText), text.size(), reinterpret_cast<intptr_t>(text.empty() ? &empty : text.data()));
}

void ScintillaDoor::SetLexer(int lexer) const { Send(SetLexerMessage, Unsigned(lexer), 0); }

std::string ScintillaDoor::StyleGetFont(int style) const {
  const intptr_t length = Call(Message::StyleGetFont, Unsigned(style), 0);
  if (length <= 0) return {};
  std::string face(size_t(length) + 1, '\0');
  Call(Message::StyleGetFont, Unsigned(style), reinterpret_cast<intptr_t>(face.data()));
  face.resize(size_t(length));
  return face;
}

void ScintillaDoor::ParentDpiChanged() const { Send(WM_DPICHANGED_AFTERPARENT, 0, 0); }
