// The keyboard in the real dialog: key messages go through the loop's own
// per-message step, as the program's message loop hands them over (synthetic
// input is unreliable under Xvfb, so the messages are built here).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "tests/app/dialog_fixture.h"

namespace lumora {
namespace {

using test::Text;

class DialogKeyboardTest : public test::DialogTest {
 protected:
  void SetUp() override {
    ASSERT_NE(Create(false), nullptr);
    ShowWindow(dialog_, SW_SHOW);
    SetForegroundWindow(dialog_);
    Drain();
  }

  void TearDown() override {
    SetShift(false);
    DialogTest::TearDown();
  }

  // The dialog manager reads Shift from the thread's key state.
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  // Down, character and up, to the focused control, as a keyboard would
  // deliver them; then whatever they queued, through the same step.
  void Press(WPARAM key, char character) {
    HWND target = GetFocus() != nullptr ? GetFocus() : dialog_;
    Feed(target, WM_KEYDOWN, key, 0x00000001);
    if (character != 0) Feed(target, WM_CHAR, static_cast<WPARAM>(character), 0x00000001);
    Feed(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    Drain();
  }

  void Feed(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    HandleLoopMessage(dialog_, msg);
  }

  // Handles what is queued the way the loop would, but keeps a quit message.
  void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        sawQuit_ = true;
        continue;
      }
      HandleLoopMessage(dialog_, msg);
    }
  }

  bool sawQuit_ = false;
};

// Without the marker file the new-MAC and tool port edits are disabled and
// skipped; the radio buttons, statics and the group box are no tab stops.
const int kTabOrderFromList[] = {IDC_NAME,          IDC_IP,           IDC_SUBNET_MASK,    IDC_GATEWAY,
                                 IDC_SUBMIT,        IDC_HTTP_PORT,    IDC_PPPOE_ACCOUNT,  IDC_PPPOE_PASSWORD,
                                 IDC_AUDIO_PORT,    IDC_UPDATE,       IDC_EXIT,           IDC_DEVICE_LIST};

TEST_F(DialogKeyboardTest, TabGoesThroughTheControlsInTemplateOrderAndWraps) {
  ASSERT_FALSE(IsWindowEnabled(Item(IDC_NEW_MAC)));  // the marker file must be absent here
  SetFocus(Item(IDC_DEVICE_LIST));
  ASSERT_EQ(GetFocus(), Item(IDC_DEVICE_LIST));
  for (int expected : kTabOrderFromList) {
    Press(VK_TAB, '\t');
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
  }
}

TEST_F(DialogKeyboardTest, ShiftTabGoesBackTheSameWay) {
  SetFocus(Item(IDC_DEVICE_LIST));
  ASSERT_EQ(GetFocus(), Item(IDC_DEVICE_LIST));
  // The forward order read backwards, starting after the list and ending on it.
  std::vector<int> back(std::rbegin(kTabOrderFromList) + 1, std::rend(kTabOrderFromList));
  back.push_back(IDC_DEVICE_LIST);
  SetShift(true);
  for (int expected : back) {
    Press(VK_TAB, '\t');
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
  }
}

TEST_F(DialogKeyboardTest, SpacePressesTheFocusedButton) {
  App().worker.inbox.Take();
  SetFocus(Item(IDC_SUBMIT));
  ASSERT_EQ(GetFocus(), Item(IDC_SUBMIT));
  Press(VK_SPACE, ' ');
  EXPECT_EQ(App().worker.inbox.pendingRequest(), kRequestConfiguration);
}

TEST_F(DialogKeyboardTest, EnterChangesNothingAndQueuesNothing) {
  struct Row {
    int focus;
  };
  const Row kRows[] = {{IDC_NAME}, {IDC_DEVICE_LIST}, {IDC_SUBMIT}, {IDC_EXIT}};
  for (const Row& row : kRows) {
    SendMessageA(Item(IDC_DEVICE_LIST), LB_RESETCONTENT, 0, 0);
    SendMessageA(Item(IDC_DEVICE_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("255 Cam"));
    SetWindowTextA(Item(IDC_NAME), "Gate cam");
    App().search.table.slots[254].number = 255;
    App().worker.inbox.Take();
    SetFocus(Item(row.focus));
    ASSERT_EQ(GetFocus(), Item(row.focus));

    Press(VK_RETURN, '\r');
    EXPECT_EQ(Text(Item(IDC_NAME)), "Gate cam") << row.focus;
    EXPECT_EQ(SendMessageA(Item(IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0), 1) << row.focus;
    EXPECT_EQ(App().search.table.slots[254].number, 255) << row.focus;
    EXPECT_EQ(App().worker.inbox.pendingRequest(), kRequestNone) << row.focus;
    EXPECT_EQ(GetFocus(), Item(row.focus)) << row.focus;
  }
}

TEST_F(DialogKeyboardTest, EscLeavesTheProgramRunning) {
  for (int focus : {IDC_NAME, IDC_DEVICE_LIST, IDC_UPDATE}) {
    SetFocus(Item(focus));
    Press(VK_ESCAPE, 0x1B);
    EXPECT_FALSE(sawQuit_) << focus;
    EXPECT_TRUE(IsWindow(dialog_)) << focus;
    EXPECT_FALSE(App().worker.inbox.stopAsked()) << focus;
  }
}

// Keys for other windows of the thread are none of the dialog's business.
TEST(HeldBackKeys, OnlyEnterAndEscAddressedToTheDialogAreHeldBack) {
  HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 5, 5, dialog, nullptr, nullptr, nullptr);
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(dialog && child && other);
  struct Row {
    HWND target;
    UINT message;
    WPARAM key;
    bool heldBack;
  };
  const Row kRows[] = {
      {child, WM_KEYDOWN, VK_RETURN, true},  {child, WM_KEYUP, VK_RETURN, true},
      {child, WM_CHAR, '\r', true},          {dialog, WM_KEYDOWN, VK_ESCAPE, true},
      {child, WM_CHAR, 0x1B, true},          {child, WM_SYSKEYDOWN, VK_RETURN, true},
      {child, WM_KEYDOWN, VK_TAB, false},    {child, WM_KEYDOWN, VK_SPACE, false},
      {child, WM_CHAR, 'a', false},          {other, WM_KEYDOWN, VK_RETURN, false},
      {child, WM_COMMAND, VK_RETURN, false}, {nullptr, WM_KEYDOWN, VK_ESCAPE, false},
  };
  for (const Row& row : kRows) {
    MSG msg{};
    msg.hwnd = row.target;
    msg.message = row.message;
    msg.wParam = row.key;
    EXPECT_EQ(IsHeldBackDialogKey(dialog, msg), row.heldBack) << row.message << " " << row.key;
  }
  MSG enter{};
  enter.hwnd = child;
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  EXPECT_FALSE(IsHeldBackDialogKey(nullptr, enter));  // no dialog: nothing to protect
  DestroyWindow(other);
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace lumora
