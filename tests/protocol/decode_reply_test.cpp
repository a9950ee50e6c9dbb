// Reply decoding: the walk over the fields, what is stored, and which slot a
// camera gets.
#include "protocol/decode_reply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "protocol/field_text.h"
#include "protocol/packet_format.h"
#include "tests/support/reply_builder.h"

namespace lumora {
namespace {

using test::CameraReply;
using test::ReplyBuilder;

class DecodeReplyTest : public ::testing::Test {
 protected:
  // Decodes from a heap copy of exactly the datagram's size, so that the
  // address sanitizer catches any read past the received bytes.
  int Decode(const std::vector<uint8_t>& datagram) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[datagram.size() + (datagram.empty() ? 1 : 0)]);
    if (!datagram.empty()) std::memcpy(exact.get(), datagram.data(), datagram.size());
    return DecodeReply(state_.get(), exact.get(), static_cast<int>(datagram.size()));
  }
  int Decode(const ReplyBuilder& reply) { return Decode(reply.bytes()); }

  const DeviceRecord& Slot(int i) const { return state_->table.slots[i]; }

  bool TableIsEmpty() const {
    static const DeviceTable kZero{};
    return std::memcmp(&state_->table, &kZero, sizeof kZero) == 0;
  }

  std::unique_ptr<SearchState> state_ = std::make_unique<SearchState>();
};

TEST_F(DecodeReplyTest, CamerasTakeSlotsFromTheTopAndKeepThemWhenTheyAnswerAgain) {
  struct Step {
    uint8_t macLast;
    const char* name;
    int slot;
  };
  const Step kSteps[] = {
      {0xA1, "CamA", 254}, {0xB2, "CamB", 253}, {0xC3, "CamC", 252},
      {0xA1, "CamA2", 254},  // A again: same slot, new name
      {0xD4, "CamD", 251},
  };
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.name);
    ASSERT_EQ(Decode(CameraReply(step.macLast, step.name)), step.slot);
    EXPECT_EQ(Slot(step.slot).number, step.slot + 1);
    EXPECT_EQ(FieldText(Slot(step.slot).name), step.name);
  }
}

TEST_F(DecodeReplyTest, ASecondReplyReplacesTheWholeRecord) {
  ASSERT_EQ(Decode(CameraReply(0xB2, "CamB")), 254);
  ASSERT_EQ(Slot(254).audioPort, 8000);
  ReplyBuilder again;
  again.Mac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xB2}).Name("Renamed");  // no 0x15, no addresses
  ASSERT_EQ(Decode(again), 254);
  EXPECT_EQ(FieldText(Slot(254).name), "Renamed");
  EXPECT_EQ(Slot(254).audioPort, 0);
  EXPECT_STREQ(Slot(254).ipText, "");
  EXPECT_EQ(Slot(254).number, 255);
}

TEST_F(DecodeReplyTest, RepliesWithoutAMacShareTheLowestZeroMacSlot) {
  ASSERT_EQ(Decode(CameraReply(0xA1, "CamA")), 254);
  ASSERT_EQ(Decode(ReplyBuilder()), 0);  // the magic alone
  EXPECT_EQ(Slot(0).number, 1);
  ASSERT_EQ(Decode(ReplyBuilder().Name("NoMac")), 0);
  ASSERT_EQ(Decode(ReplyBuilder().Mac({0, 0, 0, 0, 0, 0}).Name("ZeroMac")), 0);
  EXPECT_EQ(FieldText(Slot(0).name), "ZeroMac");
  EXPECT_EQ(Slot(1).number, 0);
}

TEST_F(DecodeReplyTest, DatagramsThatAreNotRepliesChangeNothing) {
  const std::vector<std::vector<uint8_t>> kNotReplies = {
      {},
      {'K'},
      {'K', 'V', '2', '8'},
      {'K', 'V', '2', '8', '1'},
      {'K', 'V', '2', '8', '1', 0x20, 4, 'C', 'a', 'm', 'X'},
      {'k', 'V', '2', '8', '0', 0x10, 6, 1, 2, 3, 4, 5, 6},
  };
  for (const auto& datagram : kNotReplies) {
    SCOPED_TRACE(datagram.size());
    EXPECT_EQ(Decode(datagram), kNoSlot);
    EXPECT_TRUE(TableIsEmpty());
  }
  uint8_t magic[] = {'K', 'V', '2', '8', '0'};
  EXPECT_EQ(DecodeReply(state_.get(), magic, -1), kNoSlot);
  EXPECT_TRUE(TableIsEmpty());
}

TEST_F(DecodeReplyTest, AFullTableDropsNewCamerasButStillUpdatesKnownOnes) {
  for (int i = 0; i < kTableSlots; ++i) {
    ReplyBuilder reply;
    reply.Mac({0x02, 0, 0, 0, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)}).Name("C");
    ASSERT_EQ(Decode(reply), kTableSlots - 1 - i);
  }
  DeviceTable before = state_->table;
  EXPECT_EQ(Decode(ReplyBuilder().Mac({0x02, 9, 9, 9, 9, 9}).Name("New")), kNoSlot);
  EXPECT_EQ(Decode(ReplyBuilder().Name("NoMac")), kNoSlot);
  EXPECT_EQ(0, std::memcmp(&before, &state_->table, sizeof before));

  ASSERT_EQ(Decode(ReplyBuilder().Mac({0x02, 0, 0, 0, 0, 7}).Name("Known")), 247);
  EXPECT_EQ(FieldText(Slot(247).name), "Known");
  EXPECT_EQ(Slot(247).number, 248);
}

TEST_F(DecodeReplyTest, AddressesAndPortsAreReadAsNumbers) {
  ReplyBuilder reply;
  reply.Mac({1, 2, 3, 4, 5, 6})
      .Ip(0x11, 0xC0, 0xA8, 0x01, 0x0A)
      .Ip(0x12, 255, 255, 255, 255)
      .Ip(0x13, 0, 0, 0, 0)
      .Raw({0x14, 2, 0x90, 0x1F})
      .Raw({0x15, 5, 0xFF, 0xFF, '9', '9', '9'})  // a request-style length: first two bytes count
      .Field(0x1F, {0x01, 0xFF, 0x01, 0xFF});
  int slot = Decode(reply);
  ASSERT_EQ(slot, 254);
  const DeviceRecord& r = Slot(slot);
  EXPECT_STREQ(r.ipText, "192.168.1.10");
  EXPECT_STREQ(r.maskText, "255.255.255.255");
  EXPECT_STREQ(r.gatewayText, "0.0.0.0");
  EXPECT_EQ(r.httpPort, 8080);
  EXPECT_EQ(r.audioPort, 65535);
  EXPECT_EQ(0, std::memcmp(r.ipAssign, "\x01\xFF\x01\xFF", 4));
}

// Each row is a reply after the magic; the walk result is read off the name
// and the HTTP port, which the rows put after the field under test.
TEST_F(DecodeReplyTest, WalkRules) {
  struct Row {
    const char* what;
    ReplyBuilder reply;
    std::string name;
    int32_t httpPort;
  };
  std::vector<Row> rows;
  rows.push_back({"unknown tags are passed over by their length",
                  ReplyBuilder().Raw({0x16, 3, 1, 2, 3}).Name("A").Raw({0x30, 1, 9}).Port(0x14, 80),
                  "A", 80});
  rows.push_back({"tag 0 ends the walk", ReplyBuilder().Name("A").Raw({0x00, 2, 0, 0}).Port(0x14, 80),
                  "A", 0});
  rows.push_back({"a length byte of 0 makes a 2-byte field",
                  ReplyBuilder().Raw({0x16, 0}).Name("A").Port(0x14, 81), "A", 81});
  {
    std::vector<uint8_t> name20 = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
                                   'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R', 'S', 'T'};
    rows.push_back({"a long name field: 16 bytes taken, the next field 22 bytes on",
                    ReplyBuilder().Field(0x20, name20).Port(0x14, 82), "ABCDEFGHIJKLMNOP", 82});
  }
  rows.push_back({"a short length byte: 16 bytes taken across the next field",
                  ReplyBuilder().FieldWithLength(0x20, 4, {'C', 'a', 'm', 'X'}).Port(0x14, 83),
                  std::string("CamX\x14\x02\x53", 7), 83});
  {
    ReplyBuilder b;
    b.FieldWithLength(0x16, 200, std::vector<uint8_t>(200, 0x20)).Name("After").Port(0x14, 84);
    rows.push_back({"a length byte of 200 skips 200 bytes", b, "After", 84});
  }
  {
    ReplyBuilder b;
    b.Name("Early").Port(0x14, 85).FieldWithLength(0x16, 250, {});
    rows.push_back({"a length running past the end ends the walk", b, "Early", 85});
  }
  rows.push_back({"a later field overwrites an earlier one with the same tag",
                  ReplyBuilder().Name("First").Port(0x14, 1).Name("Second").Port(0x14, 86),
                  "Second", 86});
  rows.push_back({"a name of 16 characters has no terminator",
                  ReplyBuilder().Name("ABCDEFGHIJKLMNOP").Port(0x14, 87), "ABCDEFGHIJKLMNOP", 87});
  rows.push_back({"a tag in the last byte has no length byte",
                  ReplyBuilder().Name("Last").Port(0x14, 88).Raw({0x20}), "Last", 88});
  rows.push_back({"a known field cut by the end keeps its received bytes",
                  ReplyBuilder().Port(0x14, 89).Raw({0x20, 16, 'C', 'u', 't'}), "Cut", 89});

  for (Row& row : rows) {
    SCOPED_TRACE(row.what);
    state_ = std::make_unique<SearchState>();
    int slot = Decode(row.reply);
    ASSERT_EQ(slot, 0);  // no MAC field: the lowest zero-MAC slot
    EXPECT_EQ(FieldText(Slot(slot).name), row.name);
    EXPECT_EQ(Slot(slot).httpPort, row.httpPort);
  }
}

// What lumora reads the reply's IP-assignment field by: the tags whose value
// the walk read, the same walk that fills the record.
TEST(ParseReply, CarriesExactlyTheTagsTheWalkRead) {
  struct Case {
    const char* what;
    ReplyBuilder reply;
    bool parsed, carriesFlags;
  };
  const Case cases[] = {
      {"present", ReplyBuilder().Mac({1, 2, 3, 4, 5, 6}).Field(0x1F, {1, 1, 1, 1}), true, true},
      {"absent", ReplyBuilder().Mac({1, 2, 3, 4, 5, 6}), true, false},
      {"after the end tag", ReplyBuilder().Raw({0x00, 0x00}).Field(0x1F, {1, 1, 1, 1}), true, false},
      {"inside a skipped field", ReplyBuilder().Field(0x30, {0x1F, 0x04}).Port(0x14, 80), true, false},
      {"after a skipped field", ReplyBuilder().Field(0x30, {0x1F, 0x04}).Field(0x1F, {1, 1, 1, 1}), true, true},
      {"in the last byte, no length", ReplyBuilder().Mac({1, 2, 3, 4, 5, 6}).Raw({0x1F}), true, false},
      {"cut by the end", ReplyBuilder().Mac({1, 2, 3, 4, 5, 6}).Raw({0x1F, 4, 1}), true, true},
      {"no magic", ReplyBuilder::WithoutMagic().Field(0x1F, {1, 1, 1, 1}), false, false},
  };
  for (const Case& c : cases) {
    DeviceRecord record{};
    CarriedTags carried;
    EXPECT_EQ(ParseReply(c.reply.bytes().data(), c.reply.size(), record, carried), c.parsed) << c.what;
    EXPECT_EQ(carried.Has(kTagIpAssign), c.carriesFlags) << c.what;
    EXPECT_EQ(record.number, 0) << c.what;
  }
}

// Every prefix of a valid reply decodes without reading past its end, and a
// field that was received whole is stored whole.
TEST_F(DecodeReplyTest, EveryTruncationOfAValidReply) {
  const std::vector<uint8_t> full = CameraReply(0x42, "Truncated").bytes();
  state_ = std::make_unique<SearchState>();
  ASSERT_EQ(Decode(full), 254);
  const DeviceRecord whole = Slot(254);
  const std::size_t kMacEnd = 5 + 8, kNameEnd = kMacEnd + 18;

  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    SCOPED_TRACE(cut);
    state_ = std::make_unique<SearchState>();
    int slot = Decode(std::vector<uint8_t>(full.begin(), full.begin() + cut));
    if (cut < 5) {
      EXPECT_EQ(slot, kNoSlot);
      continue;
    }
    ASSERT_NE(slot, kNoSlot);
    const DeviceRecord& r = Slot(slot);
    if (cut >= kMacEnd) {
      EXPECT_EQ(0, std::memcmp(r.mac, whole.mac, 6));
    }
    if (cut >= kNameEnd) {
      EXPECT_EQ(0, std::memcmp(r.name, whole.name, 16));
    }
    EXPECT_NE(std::memchr(r.ipText, 0, sizeof r.ipText), nullptr);
    EXPECT_NE(std::memchr(r.maskText, 0, sizeof r.maskText), nullptr);
    EXPECT_NE(std::memchr(r.gatewayText, 0, sizeof r.gatewayText), nullptr);
  }
  EXPECT_EQ(0, std::memcmp(&Slot(254), &whole, sizeof whole));
}

}  // namespace
}  // namespace lumora
