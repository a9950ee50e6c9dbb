// The real main dialog, created in the test's own process from the program's
// template and driven with window messages, and what its tests share.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dialog.h"
#include "resources/resource_ids.h"

namespace lumora::test {

inline std::string Text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline bool TableIsZero() {
  static const DeviceTable kZero{};
  return std::memcmp(&App().search.table, &kZero, sizeof kZero) == 0;
}

// Handles this thread's messages until `done` holds or `limitMs` passes;
// records a quit message instead of acting on it.
inline bool PumpUntil(const std::function<bool()>& done, bool* sawQuit = nullptr, int limitMs = 10000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        if (sawQuit) *sawQuit = true;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override { Destroy(); }

  // "Exit" first, so the worker is ended, then the window itself.
  void Destroy() {
    if (!dialog_) return;
    SendMessageA(dialog_, WM_COMMAND, IDC_EXIT, 0);
    PumpUntil([] { return false; }, nullptr, 50);  // swallow the quit message
    DestroyWindow(dialog_);
    dialog_ = nullptr;
  }

  HWND Create(bool startWorker) {
    DialogOptions options;
    options.startWorker = startWorker;
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                 reinterpret_cast<LPARAM>(&options));
    return dialog_;
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  void Command(int id, WORD notification = BN_CLICKED) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(Item(id)));
  }

  // Hands datagrams over as the worker does and waits until they are applied.
  void Receive(const std::vector<std::vector<uint8_t>>& datagrams) {
    for (const auto& d : datagrams) App().link->HandOverDatagram(d.data(), static_cast<int>(d.size()), {});
    App().link->WriteStatus("received");
    ASSERT_TRUE(PumpUntil([&] { return Text(Item(IDC_STATUS_LINE)) == "received"; }));
    SetWindowTextA(Item(IDC_STATUS_LINE), "");
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    LRESULT count = SendMessageA(Item(IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[512] = {};
      SendMessageA(Item(IDC_DEVICE_LIST), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  LRESULT Selected() const { return SendMessageA(Item(IDC_DEVICE_LIST), LB_GETCURSEL, 0, 0); }

  // The operator selects entry `index` (LB_SETCURSEL alone notifies nothing).
  void Select(int index, WORD notification = LBN_SELCHANGE) {
    SendMessageA(Item(IDC_DEVICE_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Command(IDC_DEVICE_LIST, notification);
  }

  bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

  HWND dialog_ = nullptr;
};

}  // namespace lumora::test
