// The device list and the details panel in the real dialog: what a reply
// lists, what a selection shows, and what "Submit" hands to the worker.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "protocol/packet_format.h"
#include "tests/app/dialog_fixture.h"
#include "tests/support/reply_builder.h"

namespace lumora {
namespace {

using test::CameraReply;
using test::ReplyBuilder;
using test::Text;
using Bytes = std::vector<uint8_t>;

class DetailsPanelTest : public test::DialogTest {
 protected:
  void SetUp() override { ASSERT_NE(Create(false), nullptr); }

  // The fields "Submit" put into the worker's inbox, behind the magic.
  Bytes SubmittedFields() {
    Command(IDC_SUBMIT);
    InboxMail mail = App().worker.inbox.Take();
    submitted_ = mail.request;
    RequestFrame frame;
    StartRequest(frame);
    AppendConfigurationFields(mail.configurationFields, frame);
    return Bytes(frame.bytes + kMagicSize, frame.bytes + frame.cursor);
  }

  PendingRequest submitted_ = kRequestNone;

  static constexpr int kEdits[] = {IDC_NAME, IDC_IP, IDC_SUBNET_MASK, IDC_GATEWAY, IDC_HTTP_PORT,
                                   IDC_AUDIO_PORT, IDC_PPPOE_ACCOUNT, IDC_PPPOE_PASSWORD};
};

TEST_F(DetailsPanelTest, CamerasAreListedOnceInAnswerOrderTheNewestSelected) {
  Receive({CameraReply(1, "CamZ").bytes(), CameraReply(2, "CamA").bytes()});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"255 CamZ", "254 CamA"}));
  EXPECT_EQ(Selected(), 1);

  // CamZ again, renamed and without its ports: the entry stays as it was, the
  // record is replaced whole.
  ReplyBuilder renamed;
  renamed.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01}).Name("Renamed");
  Receive({renamed.bytes()});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"255 CamZ", "254 CamA"}));
  EXPECT_STREQ(App().search.table.slots[254].name, "Renamed");
  EXPECT_EQ(App().search.table.slots[254].httpPort, 0);

  ReplyBuilder nameless;
  nameless.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x03});
  Receive({nameless.bytes()});
  EXPECT_EQ(Entries().back(), "253 ");

  ReplyBuilder fullName;
  fullName.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x04}).Text(0x20, "ABCDEFGHIJKLMNOP", 16).Text(0x21, "VERSIONVERSIONVV", 16);
  Receive({fullName.bytes()});
  EXPECT_EQ(Entries().back(), "252 ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Selected(), 3);
}

TEST_F(DetailsPanelTest, ABurstIsListedWhole) {
  std::vector<Bytes> burst;
  for (uint16_t id = 1; id <= 256; ++id) burst.push_back(CameraReply(id, "Cam" + std::to_string(id)).bytes());
  Receive(burst);
  std::vector<std::string> entries = Entries();
  ASSERT_EQ(entries.size(), 255u);  // the 256th camera finds the table full
  for (int i = 0; i < 255; ++i) EXPECT_EQ(entries[i], std::to_string(255 - i) + " Cam" + std::to_string(i + 1));
  EXPECT_EQ(Selected(), 254);
  // A listed camera is still updated while the table is full.
  ReplyBuilder again = CameraReply(7, "Seven");
  Receive({again.bytes()});
  EXPECT_STREQ(App().search.table.slots[248].name, "Seven");
  EXPECT_EQ(Entries().size(), 255u);
}

TEST_F(DetailsPanelTest, ASelectionShowsEveryField) {
  test::CameraFields cam;  // MAC 00 1A 2B 3C 4D 5E, 192.168.1.10/24 via .1, static
  cam.name = "Lobby";
  cam.version = "V2.6.1";
  cam.httpPort = 8080;
  cam.audioPort = 65535;
  cam.pppoeAccount = "user";
  cam.pppoePassword = "secret";
  Receive({test::FullReply(cam).bytes()});
  Select(0);
  const std::pair<int, const char*> kShown[] = {
      {IDC_NAME, "Lobby"},          {IDC_IP, "192.168.1.10"},     {IDC_SUBNET_MASK, "255.255.255.0"},
      {IDC_GATEWAY, "192.168.1.1"}, {IDC_HTTP_PORT, "8080"},       {IDC_AUDIO_PORT, "65535"},
      {IDC_PPPOE_ACCOUNT, "user"},  {IDC_PPPOE_PASSWORD, "secret"}, {IDC_MAC_GROUP, "001A2B3C4D5E"},
      {IDC_DEVICE_INFO, "IP Assignment:  STATIC\r\nVersion: V2.6.1\r\n"},
  };
  for (const auto& [id, text] : kShown) EXPECT_EQ(Text(Item(id)), text) << id;
}

TEST_F(DetailsPanelTest, TheFlagBytesChooseModeTextButtonAndAddressEdits) {
  struct Row {
    Bytes flags;  // empty: the reply has no IP-assignment field
    const char* mode;
    int checked;
    bool editsEnabled;
  };
  const Row kRows[] = {
      {{0x01, 0x01, 0xFF, 0xFF}, "  PPPOE\r\n", IDC_MODE_PPPOE, false},
      {{0xFF, 0xFF, 0x01, 0x01}, "  DHCP\r\n", IDC_MODE_DHCP, false},
      {{0xFF, 0xFF, 0xFF, 0xFF}, "  STATIC\r\n", IDC_MODE_STATIC, true},
      {{}, "  PPPOE\r\n", IDC_MODE_PPPOE, false},
      {{0x01, 0xFF, 0xFF, 0xFF}, "  STATIC\r\n", IDC_MODE_PPPOE, false},
      {{0xFF, 0xFF, 0x01, 0xFF}, "  STATIC\r\n", IDC_MODE_DHCP, false},
      {{0x01, 0xFF, 0x01, 0x01}, "  DHCP\r\n", IDC_MODE_PPPOE, false},
      {{0xFF, 0xFF, 0xFF, 0xFF}, "  STATIC\r\n", IDC_MODE_STATIC, true},  // static after DHCP re-enables
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(i);
    ReplyBuilder cam;
    cam.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, static_cast<uint8_t>(i)}).Name("C").Text(0x21, "V", 16);
    if (!row.flags.empty()) cam.Field(0x1F, row.flags);
    Receive({cam.bytes()});
    Select(static_cast<int>(i));
    EXPECT_EQ(Text(Item(IDC_DEVICE_INFO)), std::string("IP Assignment:") + row.mode + "Version: V\r\n");
    for (int id : {IDC_MODE_PPPOE, IDC_MODE_DHCP, IDC_MODE_STATIC}) EXPECT_EQ(Checked(id), id == row.checked) << id;
    for (int id : {IDC_IP, IDC_SUBNET_MASK, IDC_GATEWAY}) {
      EXPECT_EQ(IsWindowEnabled(Item(id)) != FALSE, row.editsEnabled) << id;
    }
  }
}

TEST_F(DetailsPanelTest, FullWidthTextsAreShownAtTheirWidth) {
  ReplyBuilder cam;
  cam.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E})
      .Text(0x20, std::string(16, 'N'), 16)
      .Text(0x21, std::string(16, 'V'), 16)
      .Text(0x22, std::string(32, 'A'), 32)
      .Text(0x23, std::string(32, 'P'), 32);
  Receive({cam.bytes()});
  Select(0);
  EXPECT_EQ(Text(Item(IDC_NAME)), std::string(16, 'N'));
  EXPECT_EQ(Text(Item(IDC_PPPOE_ACCOUNT)), std::string(32, 'A'));
  EXPECT_EQ(Text(Item(IDC_PPPOE_PASSWORD)), std::string(32, 'P'));
  EXPECT_EQ(Text(Item(IDC_DEVICE_INFO)), "IP Assignment:  PPPOE\r\nVersion: " + std::string(16, 'V') + "\r\n");
  EXPECT_EQ(Text(Item(IDC_HTTP_PORT)), "0");
  // Untouched, such a camera is submitted with no text field.
  EXPECT_EQ(SubmittedFields(), (Bytes{0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x1F, 4, 0x01, 0xFF, 0xFF, 0xFF}));
}

TEST_F(DetailsPanelTest, ANewEntryMovesTheSelectionButNotThePanel) {
  Receive({CameraReply(1, "First").bytes()});
  Select(0);
  Receive({CameraReply(2, "Second").bytes()});
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(Text(Item(IDC_NAME)), "First");
  // "Submit" still goes to the camera the panel shows.
  Bytes fields = SubmittedFields();
  ASSERT_GE(fields.size(), 8u);
  EXPECT_EQ(fields[7], 0x01);
}

TEST_F(DetailsPanelTest, NotificationsThatNameNoCameraChangeNothing) {
  for (WORD code : {LBN_SELCHANGE, LBN_DBLCLK}) Command(IDC_DEVICE_LIST, code);  // empty list
  EXPECT_EQ(Text(Item(IDC_MAC_GROUP)), "ffffffffffff");

  Receive({CameraReply(1, "Cam").bytes()});
  SendMessageA(Item(IDC_DEVICE_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Command(IDC_DEVICE_LIST, LBN_SELCHANGE);  // nothing selected
  EXPECT_EQ(Text(Item(IDC_NAME)), "");

  // Entries whose number is no slot's, or a free slot's.
  for (const char* entry : {"0 Zero", "256 Big", "-1 Neg", "x Text", "100 Free"}) {
    LRESULT index = SendMessageA(Item(IDC_DEVICE_LIST), LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry));
    Select(static_cast<int>(index));
    EXPECT_EQ(Text(Item(IDC_NAME)), "") << entry;
    EXPECT_EQ(Text(Item(IDC_MAC_GROUP)), "ffffffffffff") << entry;
  }
}

TEST_F(DetailsPanelTest, ASentRequestEmptiesEverythingButKeepsTheEditsEnabledState) {
  ShowWindow(dialog_, SW_SHOWNOACTIVATE);  // the new-MAC edit is only written while visible
  const struct {
    int modeCommand;  // 0: the address edits as the static camera's panel leaves them
    bool editsEnabled;
  } kRows[] = {{0, true}, {IDC_MODE_DHCP, false}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.modeCommand);
    Receive({CameraReply(1, "Cam").bytes()});
    Select(0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_NEW_MAC)));  // no marker file
    EXPECT_EQ(Text(Item(IDC_NEW_MAC)), "001A2B3C4D01");
    if (row.modeCommand != 0) Command(row.modeCommand);
    ASSERT_EQ(IsWindowEnabled(Item(IDC_IP)) != FALSE, row.editsEnabled);

    App().link->ClearDevices();
    ASSERT_TRUE(test::PumpUntil([&] { return Entries().empty(); }));
    for (int id : kEdits) EXPECT_EQ(Text(Item(id)), "") << id;
    EXPECT_EQ(Text(Item(IDC_NEW_MAC)), "");
    EXPECT_EQ(Text(Item(IDC_MAC_GROUP)), "ffffffffffff");
    EXPECT_EQ(Text(Item(IDC_DEVICE_INFO)), "");
    for (int id : {IDC_MODE_PPPOE, IDC_MODE_DHCP, IDC_MODE_STATIC}) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(IsWindowEnabled(Item(IDC_IP)) != FALSE, row.editsEnabled);
    EXPECT_TRUE(test::TableIsZero());
  }

  // The numbers are free again: the next answer is listed as 255.
  Receive({CameraReply(2, "Next").bytes()});
  EXPECT_EQ(Entries(), std::vector<std::string>{"255 Next"});
  EXPECT_EQ(SubmittedFields(), Bytes{});  // the caption names no camera
}

TEST_F(DetailsPanelTest, SubmitCarriesWhatTheOperatorChanged) {
  Receive({CameraReply(1, "Cam").bytes()});
  Select(0);
  SetWindowTextA(Item(IDC_NAME), "Gate");
  SetWindowTextA(Item(IDC_IP), "10.0.0.9");
  SendMessageA(Item(IDC_MODE_STATIC), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(Item(IDC_MODE_DHCP), BM_SETCHECK, BST_CHECKED, 0);
  Bytes expected = {0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01, 0x20, 16, 'G', 'a', 't', 'e'};
  expected.resize(expected.size() + 12, 0);
  expected.insert(expected.end(), {0x11, 4, 10, 0, 0, 9, 0x1F, 4, 0xFF, 0xFF, 0x01, 0xFF});
  EXPECT_EQ(SubmittedFields(), expected);
  EXPECT_EQ(submitted_, kRequestConfiguration);
}

}  // namespace
}  // namespace lumora
