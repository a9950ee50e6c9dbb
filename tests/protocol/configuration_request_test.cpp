// The configuration request: the target, the fields chosen, their bytes.
#include "protocol/configuration_request.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/decode_reply.h"
#include "tests/support/reply_builder.h"

namespace lumora {
namespace {

using Bytes = std::vector<uint8_t>;

// The stored camera: MAC 00 1A 2B 3C 4D 5E, slot 254.
constexpr char kMacText[] = "001A2B3C4D5E";
const Bytes kMacField = {0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
const Bytes kStaticFlags = {0x1F, 4, 0xFF, 0xFF, 0xFF, 0xFF};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes TextField(uint8_t tag, const std::string& text, std::size_t width) {
  Bytes field = {tag, static_cast<uint8_t>(width)};
  for (std::size_t i = 0; i < width; ++i) field.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
  return field;
}

class ConfigurationRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::CameraFields camera;  // MAC 00 1A 2B 3C 4D 5E, 192.168.1.10, ports 80 and 8000, static
    camera.name = "Cam1";
    camera.pppoeAccount = "acct";
    camera.pppoePassword = "pw";
    test::ReplyBuilder reply = test::FullReply(camera);
    ASSERT_EQ(DecodeReply(state_.get(), reply.bytes().data(), reply.size()), 254);
  }

  // The panel as selecting the camera fills it.
  PanelSnapshot Shown() const {
    PanelSnapshot p;
    p.caption = kMacText;
    p.newMacVisible = true;
    p.newMac = kMacText;
    p.name = "Cam1";
    p.ip = "192.168.1.10";
    p.mask = "255.255.255.0";
    p.gateway = "192.168.1.1";
    p.httpPort = "80";
    p.audioPort = "8000";
    p.pppoeAccount = "acct";
    p.pppoePassword = "pw";
    return p;
  }

  // The fields behind the magic, and the target slot.
  Bytes Compose(const PanelSnapshot& panel, int* target = nullptr) {
    StartRequest(frame_);
    int slot = ComposeConfigurationRequest(panel, state_->table, frame_);
    if (target) *target = slot;
    return Bytes(frame_.bytes + kMagicSize, frame_.bytes + frame_.cursor);
  }

  std::unique_ptr<SearchState> state_ = std::make_unique<SearchState>();
  RequestFrame frame_;
};

TEST_F(ConfigurationRequestTest, EachEditChangesExactlyItsOwnField) {
  struct Row {
    const char* what;
    std::function<void(PanelSnapshot&)> edit;
    Bytes fields;  // between the target MAC and the flags
  };
  const Row kRows[] = {
      {"nothing changed", [](PanelSnapshot&) {}, {}},
      {"name of 20", [](PanelSnapshot& p) { p.name = "ABCDEFGHIJKLMNOPQRST"; },
       TextField(0x20, "ABCDEFGHIJKLMNOP", 16)},
      {"name of 3", [](PanelSnapshot& p) { p.name = "Abc"; }, TextField(0x20, "Abc", 16)},
      {"name case", [](PanelSnapshot& p) { p.name = "CAM1"; }, TextField(0x20, "CAM1", 16)},
      {"ip", [](PanelSnapshot& p) { p.ip = "10.0.0.5"; }, {0x11, 4, 10, 0, 0, 5}},
      {"ip octet above 255", [](PanelSnapshot& p) { p.ip = "192.168.1.300"; }, {0x11, 4, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"mask", [](PanelSnapshot& p) { p.mask = "255.255.0.0"; }, {0x12, 4, 255, 255, 0, 0}},
      {"gateway emptied", [](PanelSnapshot& p) { p.gateway = ""; }, {0x13, 4, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"http 8080", [](PanelSnapshot& p) { p.httpPort = "8080"; },
       {0x14, 5, '8', '0', '8', '0', 0}},
      {"http 080 reads as 80", [](PanelSnapshot& p) { p.httpPort = "080"; }, {}},
      {"http 123456", [](PanelSnapshot& p) { p.httpPort = "123456"; }, {0x14, 5, '1', '2', '3', '4', '5'}},
      {"http abc", [](PanelSnapshot& p) { p.httpPort = "abc"; }, {0x14, 5, 'a', 'b', 'c', 0, 0}},
      {"audio", [](PanelSnapshot& p) { p.audioPort = "9000"; }, {0x15, 5, '9', '0', '0', '0', 0}},
      {"account", [](PanelSnapshot& p) { p.pppoeAccount = "user@isp"; }, TextField(0x22, "user@isp", 32)},
      {"password emptied", [](PanelSnapshot& p) { p.pppoePassword = ""; }, TextField(0x23, "", 32)},
      {"new mac lower case", [](PanelSnapshot& p) { p.newMac = "001a2b3c4d5e"; }, kMacField},
      {"new mac", [](PanelSnapshot& p) { p.newMac = "00A1b2C3d4E5"; }, {0x10, 6, 0x00, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5}},
      {"new mac of 11", [](PanelSnapshot& p) { p.newMac = "001A2B3C4D5"; }, {}},
      {"new mac of 13", [](PanelSnapshot& p) { p.newMac = "001A2B3C4D5EF"; }, {}},
      {"new mac empty", [](PanelSnapshot& p) { p.newMac = ""; }, {}},
      {"new mac hidden", [](PanelSnapshot& p) { p.newMacVisible = false; p.newMac = "00A1B2C3D4E5"; }, {}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    PanelSnapshot panel = Shown();
    row.edit(panel);
    int target = kNoSlot;
    EXPECT_EQ(Compose(panel, &target), Concat({kMacField, row.fields, kStaticFlags}));
    EXPECT_EQ(target, 254);
  }
}

// The panel as it shows a record composes to no change at all.
TEST_F(ConfigurationRequestTest, ThePanelAsShownSendsNoSetting) {
  EXPECT_EQ(Compose(ShownPanel(state_->table.slots[254])), Concat({kMacField, kStaticFlags}));
  std::memset(state_->table.slots[254].name, 'N', 16);  // a name without terminator
  EXPECT_EQ(Compose(ShownPanel(state_->table.slots[254])), Concat({kMacField, kStaticFlags}));
}

TEST_F(ConfigurationRequestTest, EverySettingChangedComesInTheFixedOrder) {
  PanelSnapshot p = Shown();
  p.newMac = "00A1B2C3D4E5";
  p.name = "New";
  p.ip = "10.1";
  p.mask = "255.0.0.0";
  p.gateway = "10.0.0.254";
  p.httpPort = "81";
  p.audioPort = "1500";
  p.pppoeAccount = "a";
  p.pppoePassword = "b";
  p.pppoeChecked = true;
  Bytes expected = Concat({kMacField, {0x10, 6, 0x00, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5}, TextField(0x20, "New", 16),
                           {0x11, 4, 10, 0, 0, 1}, {0x12, 4, 255, 0, 0, 0}, {0x13, 4, 10, 0, 0, 254},
                           {0x14, 5, '8', '1', 0, 0, 0}, {0x15, 5, '1', '5', '0', '0', 0},
                           TextField(0x22, "a", 32), TextField(0x23, "b", 32), {0x1F, 4, 0x01, 0xFF, 0xFF, 0xFF}});
  EXPECT_EQ(Compose(p), expected);
  EXPECT_EQ(frame_.cursor, 145u);  // the largest request, magic included
}

TEST_F(ConfigurationRequestTest, TheModeButtonsGiveTheFlagBytes) {
  struct Row {
    bool pppoe, dhcp;
    Bytes flags;
  };
  const Row kRows[] = {
      {false, false, {0x1F, 4, 0xFF, 0xFF, 0xFF, 0xFF}},
      {false, true, {0x1F, 4, 0xFF, 0xFF, 0x01, 0xFF}},
      {true, false, {0x1F, 4, 0x01, 0xFF, 0xFF, 0xFF}},
  };
  for (const Row& row : kRows) {
    PanelSnapshot p = Shown();
    p.pppoeChecked = row.pppoe;
    p.dhcpChecked = row.dhcp;
    EXPECT_EQ(Compose(p), Concat({kMacField, row.flags})) << row.pppoe << row.dhcp;
  }
}

TEST_F(ConfigurationRequestTest, ACaptionThatNamesNoSlotLeavesTheMagicAlone) {
  for (const char* caption : {"ffffffffffff", "001a2b3c4d5e", "001A2B3C4D5", ""}) {
    PanelSnapshot p = Shown();
    p.caption = caption;
    int target = 0;
    EXPECT_EQ(Compose(p, &target), Bytes{}) << caption;
    EXPECT_EQ(target, kNoSlot);
    EXPECT_EQ(frame_.cursor, kMagicSize);
  }
}

TEST_F(ConfigurationRequestTest, TheLowestMatchingSlotWinsFreeSlotsIncluded) {
  state_->table.slots[10] = state_->table.slots[254];
  state_->table.slots[10].number = 11;
  std::memcpy(state_->table.slots[10].name, "Other", 6);
  int target = kNoSlot;
  Bytes fields = Compose(Shown(), &target);
  EXPECT_EQ(target, 10);
  EXPECT_EQ(fields, Concat({kMacField, TextField(0x20, "Cam1", 16), kStaticFlags}));  // compared with slot 10

  // A free slot's MAC text is twelve zeros; every shown value differs from it.
  PanelSnapshot zero = Shown();
  zero.caption = "000000000000";
  EXPECT_EQ(Compose(zero, &target).size(), 145u - 5);
  EXPECT_EQ(target, 0);
}

TEST_F(ConfigurationRequestTest, StoredTextsOfFullWidthCompareAsShown) {
  DeviceRecord& record = state_->table.slots[254];
  std::memset(record.name, 'N', sizeof record.name);
  std::memset(record.pppoeAccount, 'A', sizeof record.pppoeAccount);
  std::memset(record.pppoePassword, 'P', sizeof record.pppoePassword);
  PanelSnapshot p = Shown();
  p.name = std::string(16, 'N');
  p.pppoeAccount = std::string(32, 'A');
  p.pppoePassword = std::string(32, 'P');
  EXPECT_EQ(Compose(p), Concat({kMacField, kStaticFlags}));
}

TEST_F(ConfigurationRequestTest, PortsCompareAsNumbersAndGoOutAsTyped) {
  state_->table.slots[254].httpPort = 8080;
  PanelSnapshot p = Shown();
  p.httpPort = "08080";
  EXPECT_EQ(Compose(p), Concat({kMacField, kStaticFlags}));
  p.httpPort = "80";
  EXPECT_EQ(Compose(p), Concat({kMacField, {0x14, 5, '8', '0', 0, 0, 0}, kStaticFlags}));
}

TEST_F(ConfigurationRequestTest, TextsOfEveryLengthStayInsideTheFrame) {
  for (std::size_t length : {255u, 256u, 1000u}) {
    PanelSnapshot p;
    p.caption = kMacText + std::string(length, 'x');  // too long to name a camera
    EXPECT_EQ(Compose(p).size(), 0u);
    std::string longText(length, '7');
    p = Shown();
    p.newMac = p.name = p.ip = p.mask = p.gateway = p.httpPort = p.audioPort = p.pppoeAccount = p.pppoePassword =
        longText;
    Bytes fields = Compose(p);
    EXPECT_LE(frame_.cursor, kRequestSize);
    EXPECT_EQ(fields.size(), 145u - 5 - 8);  // every field but the new MAC
    EXPECT_EQ(Bytes(fields.begin() + 10, fields.begin() + 26), Bytes(16, '7'));
  }
}

TEST(LeadingNumber, ReadsAsAtoiWithoutOverflow) {
  struct Row {
    const char* text;
    int value;
  };
  const Row kRows[] = {{"8080", 8080}, {"08080", 8080}, {" 12ab", 12}, {"-5", -5}, {"+7", 7}, {"", 0},
                       {"abc", 0},      {"2147483647", 2147483647},   {"99999999999", 2147483647},
                       {"-99999999999", -2147483647 - 1}};
  for (const Row& row : kRows) EXPECT_EQ(LeadingNumber(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace lumora
