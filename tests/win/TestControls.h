// A visible top-level window holding a real Scintilla editor, a multi-line edit box and a
// button (EditingComponent.h), made once per test suite (windows are slow to make and destroy under Wine). Each
// test starts with empty controls and with Editor and CurrentEditor set to the editor, as the
// program sets them; both are restored afterwards.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include "EditingComponent.h"
#include "Scintilla.h"
#include "shell/ShellState.h"

class TestControls : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    parent = ControlsWindow("controls", 700, 500, true);
    box = ChildControl(parent, "EDIT", 0, 600, 90, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL);
    button = ChildControl(parent, "BUTTON", 300, 600, 90, BS_PUSHBUTTON);
    editor = EditingComponent() ? ChildControl(parent, "Scintilla", 100, 600, 90) : nullptr;
  }

  static void TearDownTestSuite() {
    DestroyWindow(parent);
    parent = editor = box = button = nullptr;
  }

  void SetUp() override {
    savedEditor_ = Editor;
    savedCurrent_ = CurrentEditor;
    Editor = editor;
    CurrentEditor = editor;
    SetWindowTextA(box, "");
    SendMessageA(box, EM_EMPTYUNDOBUFFER, 0, 0);
    if (editor) {
      SendMessageA(editor, SCI_CLEARALL, 0, 0);
      SendMessageA(editor, SCI_EMPTYUNDOBUFFER, 0, 0);
    }
    SetFocus(parent);
  }

  void TearDown() override {
    Editor = savedEditor_;
    CurrentEditor = savedCurrent_;
  }

  static std::string TextOf(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(GetWindowTextA(control, text.data(), static_cast<int>(text.size())));
    return text;
  }

  static std::pair<DWORD, DWORD> Selection(HWND control) {
    DWORD start = 0, end = 0;
    SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  inline static HWND parent = nullptr;
  inline static HWND editor = nullptr;  // the real Scintilla control
  inline static HWND box = nullptr;     // a multi-line edit box, like the finder boxes
  inline static HWND button = nullptr;  // a control that is neither

 private:
  HWND savedEditor_ = nullptr;
  HWND savedCurrent_ = nullptr;
};
