// The main dialog's commands and the worker's hand-over. Most tests keep the worker
// stopped, so they need no network; the one that starts it runs in the lab.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <direct.h>

#include "tests/app/dialog_fixture.h"
#include "ui/details_panel.h"

namespace lumora {
namespace {

using test::PumpUntil;
using test::TableIsZero;
using test::Text;

constexpr char kMarkerDir1[] = "c:\\tmp";
constexpr char kMarkerDir2[] = "c:\\tmp\\webcam";
constexpr char kMarkerFile[] = "c:\\tmp\\webcam\\Search.conf";

void DirtyTable() {
  App().search.table.slots[254].number = 255;
  std::memcpy(App().search.table.slots[254].name, "Dirty", 5);
}

class MainDialogTest : public test::DialogTest {
 protected:
  void TearDown() override {
    Destroy();
    DeleteFileA(kMarkerFile);
  }
};

TEST_F(MainDialogTest, InitialisationQueuesASearchOnAZeroedTable) {
  DirtyTable();
  App().worker.inbox.Stop();
  ASSERT_NE(Create(false), nullptr);
  EXPECT_EQ(App().worker.inbox.pendingRequest(), kRequestSearch);
  EXPECT_FALSE(App().worker.inbox.stopAsked());
  EXPECT_EQ(App().worker.udpToolPort.load(), 4000u);
  EXPECT_TRUE(TableIsZero());
  EXPECT_EQ(App().dialog, dialog_);
  EXPECT_FALSE(IsWindowVisible(dialog_));  // shown by the entry, not by the template
  EXPECT_EQ(Text(Item(IDC_MAC_GROUP)), "ffffffffffff");
  EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(MainDialogTest, UpdateEmptiesTheListZeroesTheTableAndQueuesASearch) {
  ASSERT_NE(Create(false), nullptr);
  App().worker.inbox.Take();
  SendMessageA(Item(IDC_DEVICE_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("255 Dirty"));
  DirtyTable();
  Command(IDC_UPDATE);
  EXPECT_EQ(SendMessageA(Item(IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(TableIsZero());
  EXPECT_EQ(App().worker.inbox.pendingRequest(), kRequestSearch);
}

TEST_F(MainDialogTest, SubmitQueuesAConfigurationRequest) {
  ASSERT_NE(Create(false), nullptr);
  App().worker.inbox.Take();
  Command(IDC_SUBMIT);
  EXPECT_EQ(App().worker.inbox.pendingRequest(), kRequestConfiguration);
}

TEST_F(MainDialogTest, TheModeButtonsEnableTheAddressEditsOnlyForStatic) {
  ASSERT_NE(Create(false), nullptr);
  struct Step {
    int command;
    bool enabled;
  };
  const Step kSteps[] = {{IDC_MODE_DHCP, false}, {IDC_MODE_STATIC, true}, {IDC_MODE_PPPOE, false},
                         {IDC_MODE_PPPOE, false}, {IDC_MODE_STATIC, true}};
  for (const Step& step : kSteps) {
    Command(step.command);
    for (int edit : {IDC_IP, IDC_SUBNET_MASK, IDC_GATEWAY}) {
      EXPECT_EQ(IsWindowEnabled(Item(edit)) != FALSE, step.enabled) << step.command << " " << edit;
    }
  }
}

TEST_F(MainDialogTest, TheMarkerFileEnablesTheNewMacAndToolPortEdits) {
  DeleteFileA(kMarkerFile);
  ASSERT_NE(Create(false), nullptr);
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_NEW_MAC)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_TOOL_PORT)));
  Destroy();

  _mkdir(kMarkerDir1);
  _mkdir(kMarkerDir2);
  HANDLE empty = CreateFileA(kMarkerFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(empty, INVALID_HANDLE_VALUE);
  CloseHandle(empty);
  ASSERT_NE(Create(false), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_NEW_MAC)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_TOOL_PORT)));
}

// The worker reads the tool port edit from its inbox; the inbox's copy must
// follow whatever the edit holds, with GetDlgItemInt's reading of it.
TEST_F(MainDialogTest, TheWorkerSeesTheToolPortEditAsAnUnsignedNumber) {
  ASSERT_NE(Create(false), nullptr);
  struct Row {
    const char* text;
    unsigned seen;
  };
  // GetDlgItemInt stops at the first character that is not a digit.
  const Row kRows[] = {{"5000", 5000}, {"70000", 70000}, {"", 0}, {"abc", 0}, {"0", 0}, {" 12ab", 12}};
  for (const Row& row : kRows) {
    SetWindowTextA(Item(IDC_TOOL_PORT), row.text);
    EXPECT_EQ(App().worker.inbox.Take().toolPortEdit, row.seen) << row.text;
  }
}

TEST_F(MainDialogTest, WhatTheWorkerHandsOverIsAppliedInOrder) {
  ASSERT_NE(Create(false), nullptr);
  QueuedDialogLink& link = *App().link;
  link.WriteStatus("OK");
  link.WriteToolPortEdit(4000);
  link.WriteStatus("ERR: sendto error! Errorcode =10051\n");
  ASSERT_TRUE(PumpUntil([&] { return Text(Item(IDC_STATUS_LINE)) == "ERR: sendto error! Errorcode =10051\n"; }));
  EXPECT_EQ(Text(Item(IDC_TOOL_PORT)), "4000");
  EXPECT_EQ(App().worker.inbox.Take().toolPortEdit, 4000u);
}

TEST_F(MainDialogTest, WithTheWorkerStatusAndToolPortShowAndClosingEndsItLikeExit) {
  if (std::getenv("LUMORA_LAB") == nullptr) GTEST_SKIP() << "starts the worker: runs only inside the lab";
  ASSERT_NE(Create(true), nullptr);
  ASSERT_NE(App().workerThread, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Text(Item(IDC_TOOL_PORT)) == "4000"; }));
  ASSERT_TRUE(PumpUntil([&] { return Text(Item(IDC_STATUS_LINE)) == "OK"; }));

  bool sawQuit = false;
  SendMessageA(dialog_, WM_CLOSE, 0, 0);
  EXPECT_EQ(App().workerThread, nullptr);
  EXPECT_TRUE(App().worker.inbox.stopAsked());
  EXPECT_TRUE(PumpUntil([&] { return sawQuit; }, &sawQuit, 2000));
}

}  // namespace
}  // namespace lumora
