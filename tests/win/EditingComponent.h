// The editing component for the Windows tests and the benchmarks: lib/SciLexer.dll loaded once
// per process, a top-level window to hold controls, and Scintilla controls made on it.
#pragma once
#include <windows.h>

// lib/SciLexer.dll, loaded at the first call and kept until the process ends; null when it
// does not load.
inline HMODULE EditingComponent() {
  static const HMODULE library = LoadLibraryA("lib/SciLexer.dll");
  return library;
}

// A top-level window for controls, of its own class (messages to it do nothing).
inline HWND ControlsWindow(const char* title, int width, int height, bool visible) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "zortestcontrols";
  RegisterClassExA(&windowClass);  // fails harmlessly when already registered
  return CreateWindowExA(0, "zortestcontrols", title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 0, width,
                         height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A child control of the class at the top of parent; null when it cannot be made.
inline HWND ChildControl(HWND parent, const char* className, int top, int width, int height, DWORD style = 0) {
  return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, top, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A Scintilla control on parent; null without the editing component.
inline HWND NewEditingControl(HWND parent, int width = 600, int height = 400, DWORD style = 0) {
  return EditingComponent() ? ChildControl(parent, "Scintilla", 0, width, height, style) : nullptr;
}
