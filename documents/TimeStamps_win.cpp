// The current time stamp and its insertion into the focused editor or edit box (Ctrl+T).
#include "documents/TimeStamps_win.h"
#include <windows.h>
#include <algorithm>
#include "base/Bindings_win.h"
#include "base/SharedState.h"
#include "documents/TimeStamps.h"
#include "editor/EditorAccess_win.h"

namespace {

// Only the editor and edit boxes take a stamp; the focus may also sit on a button or the main
// window, whose caption must not be overwritten.
bool TakesTimeStamp(HWND control) {
  if (control == nullptr) return false;
  if (control == Editor) return true;
  std::string name(64, '\0');
  int got = Api.GetClassNameA(control, name.data(), static_cast<int>(name.size()));
  name.resize(got > 0 ? got : 0);
  return name.size() == 4 && (name[0] | 0x20) == 'e' && (name[1] | 0x20) == 'd' &&
         (name[2] | 0x20) == 'i' && (name[3] | 0x20) == 't';
}

}  // namespace

std::string TimeStamp() {
  SYSTEMTIME now{};
  Api.GetLocalTime(&now);
  return TimeStampOf({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                      now.wMilliseconds});
}

void InsertTimeStamp() {
  HWND target = Api.GetFocus();
  if (!TakesTimeStamp(target)) return;
  std::string text = GetControlText(target);
  size_t start = 0, end = 0;
  ControlSelection(target, start, end);
  size_t from = std::min<size_t>(std::min(start, end), text.size());
  size_t to = std::min<size_t>(std::max(start, end), text.size());
  std::string stamp = TimeStamp().substr(0, 19);
  SetControlText(target, text.substr(0, from) + stamp + text.substr(to));
  PlaceCaret(target, from + stamp.size());
}
