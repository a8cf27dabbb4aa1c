// The real main message loop on real windows: which commands reach MainWindow and which key
// messages reach the focused control.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "DialogAnswer.h"
#include "shell/MainWindow_win.h"
#include "shell/ShellState.h"
#include "shell/Startup.h"

namespace {
struct Command { int id; LPARAM lParam; bool repeats = false; };
std::vector<Command> Received;  // command messages that reached the main window
struct Delivered { HWND window; UINT message; WPARAM key; };
std::vector<Delivered> Reached;  // key and double-click messages that reached a control
WNDPROC EditProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == 0) Received.push_back({LOWORD(wParam), lParam, KeyRepeats});
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RecordingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_LBUTTONDBLCLK) Reached.push_back({window, message, wParam});
  return CallWindowProcA(EditProc, window, message, wParam, lParam);
}

bool ReachedKey(HWND window, WPARAM key) {
  for (const Delivered& d : Reached)
    if (d.window == window && d.message == WM_KEYDOWN && d.key == key) return true;
  return false;
}

bool ReachedDoubleClick(HWND window) {
  for (const Delivered& d : Reached)
    if (d.window == window && d.message == WM_LBUTTONDBLCLK) return true;
  return false;
}

class MessageLoop : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoopTestMain";
    RegisterClassA(&wc);
    MainWindow = CreateWindowExA(0, "LoopTestMain", "loop", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    for (int slot = FindBox; slot <= OutputBox; ++slot)
      FinderBoxes[slot] = CreateWindowExA(0, "edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0,
                                          slot * 20, 200, 20, MainWindow, nullptr, wc.hInstance, nullptr);
    other = CreateWindowExA(0, "edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0, 150, 200, 20,
                            MainWindow, nullptr, wc.hInstance, nullptr);
    for (HWND edit : {FinderBoxes[FindBox], FinderBoxes[ProjectBox], other})
      EditProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingEditProc)));
    Received.clear();
    Reached.clear();
  }
  void TearDown() override {
    DestroyWindow(MainWindow);
    MainWindow = nullptr;
    for (HWND& box : FinderBoxes) box = nullptr;
  }

  // Queues the messages, then a quit, and runs the program's loop over them.
  void RunOver(const std::vector<MSG>& messages) {
    for (const MSG& m : messages) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    PostQuitMessage(0);
    RunMessageLoop();
  }
  static MSG KeyDown(HWND window, WPARAM key) { return {window, WM_KEYDOWN, key, 1, 0, {}}; }
  HWND other = nullptr;
};
}  // namespace

TEST_F(MessageLoop, EnterInAFinderBoxIsACommandAndNoLineBreak) {
  RunOver({KeyDown(FinderBoxes[FindBox], VK_RETURN)});
  ASSERT_EQ(Received.size(), 1u);
  EXPECT_EQ(Received[0].id, 2013);
  EXPECT_EQ(Received[0].lParam, reinterpret_cast<LPARAM>(FinderBoxes[FindBox]));
  EXPECT_FALSE(ReachedKey(FinderBoxes[FindBox], VK_RETURN));
}

TEST_F(MessageLoop, EnterInAnotherWindowIsACommandAndThenReachesIt) {
  SetFocus(other);
  RunOver({KeyDown(other, VK_RETURN)});
  ASSERT_EQ(Received.size(), 1u);
  EXPECT_EQ(Received[0].id, 2013);
  EXPECT_EQ(Received[0].lParam, reinterpret_cast<LPARAM>(other));
  EXPECT_TRUE(ReachedKey(other, VK_RETURN));
}

TEST_F(MessageLoop, FunctionKeysSendTheirIdentifiers) {
  std::vector<MSG> keys;
  for (WPARAM key = VK_F1; key <= VK_F10; ++key) keys.push_back(KeyDown(other, key));
  RunOver(keys);
  ASSERT_EQ(Received.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Received[i].id, 1001 + i);
  EXPECT_TRUE(ReachedKey(other, VK_F5));
}

TEST_F(MessageLoop, AKeysAutoRepeatIsSaidToItsCommand) {
  // Bit 30 of a key-down's lParam: the key was down already, held into its auto-repeat.
  RunOver({{other, WM_KEYDOWN, VK_F7, 1, 0, {}}, {other, WM_KEYDOWN, VK_F7, 1 | (1 << 30), 0, {}}});
  ASSERT_EQ(Received.size(), 2u);
  EXPECT_FALSE(Received[0].repeats);
  EXPECT_TRUE(Received[1].repeats);
  EXPECT_FALSE(KeyRepeats);
}

TEST_F(MessageLoop, EscapeIsACommandAndNeverReachesTheControl) {
  SetFocus(other);
  RunOver({KeyDown(other, VK_ESCAPE)});
  ASSERT_EQ(Received.size(), 1u);
  EXPECT_EQ(Received[0].id, 2227);
  EXPECT_FALSE(ReachedKey(other, VK_ESCAPE));
}

// Sets Control (and Alt) down or up in this thread's key state: the state that the thread has
// taken from its input so far, which belongs to the message it handles next.
void ControlState(bool down, bool alt = false) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  keys[VK_MENU] = down && alt ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST_F(MessageLoop, ControlLettersAreWithheldOrPassedOnAsTabled) {
  ControlState(true);
  RunOver({KeyDown(other, 'S'), KeyDown(other, 'C')});
  ControlState(false);
  std::vector<int> ids;
  for (const Command& c : Received) ids.push_back(c.id);
  EXPECT_EQ(ids, (std::vector<int>{2083, 2067}));
  for (const Command& c : Received) EXPECT_EQ(c.lParam, 0);
  EXPECT_FALSE(ReachedKey(other, 'S'));
  EXPECT_TRUE(ReachedKey(other, 'C'));
}

TEST_F(MessageLoop, LettersWithControlAndAltAreAltGrTypingAndReachTheControl) {
  // AltGr comes as Control and Alt: AltGr+E, +S and +O type characters on German and Polish
  // keyboards, and must neither run, save nor open anything.
  ControlState(true, true);
  RunOver({KeyDown(other, 'E'), KeyDown(other, 'S'), KeyDown(other, 'O')});
  ControlState(false);
  EXPECT_TRUE(Received.empty());
  for (WPARAM key : {'E', 'S', 'O'}) EXPECT_TRUE(ReachedKey(other, key)) << char(key);
}

TEST_F(MessageLoop, ALetterIsReadWithTheControlKeyAsItWasWhenTheLetterCame) {
  // The program was busy: Control went down and up again before the letter's message is
  // handled. Ctrl+A it was, though Control is up by now.
  ControlState(true);
  RunOver({KeyDown(other, 'A')});
  ControlState(false);
  ASSERT_EQ(Received.size(), 1u);
  EXPECT_EQ(Received[0].id, 2065);
  EXPECT_FALSE(ReachedKey(other, 'A'));

}

TEST_F(MessageLoop, DoubleClickInTheProjectBoxIsTheBoxsCommandOnly) {
  LPARAM point = MAKELPARAM(5, 5);
  RunOver({{FinderBoxes[ProjectBox], WM_LBUTTONDBLCLK, MK_LBUTTON, point, 0, {}},
           {other, WM_LBUTTONDBLCLK, MK_LBUTTON, point, 0, {}}});
  ASSERT_EQ(Received.size(), 2u);
  EXPECT_EQ(Received[0].id, 1103);
  EXPECT_EQ(Received[0].lParam, reinterpret_cast<LPARAM>(FinderBoxes[ProjectBox]));
  EXPECT_EQ(Received[1].lParam, reinterpret_cast<LPARAM>(other));
  EXPECT_FALSE(ReachedDoubleClick(FinderBoxes[ProjectBox]));
  EXPECT_TRUE(ReachedDoubleClick(other));
}

TEST(GuiStateRecord, GuistateReturnsTheSameRecordEveryTime) {
  uint32_t* first = guistate();
  EXPECT_EQ(first, guistate());
  EXPECT_EQ(first, GuiState);
  EXPECT_EQ(first[7], 0u);
  EXPECT_EQ(first[4095], 0u);
}

TEST(GuiStateRecord, GuistateIsExportedByName) {
  EXPECT_NE(GetProcAddress(GetModuleHandleA(nullptr), "guistate"), nullptr);
}
