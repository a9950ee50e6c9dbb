// Reply and crafted datagram bytes, checked against hand-written golden
// bytes and against the program's own reply decoder.
#include "tools/camsim/reply_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "tests/camsim/test_bytes.h"

namespace camsim {
namespace {

using camsim_test::Cat;
using camsim_test::Hex;
using camsim_test::Text;

CameraSettings KnownCamera() {
  CameraSettings camera;
  std::string error;
  EXPECT_TRUE(ParseCamera("name=CamA,mac=001A2B3C4D01,ip=10.77.0.10,mask=255.255.255.0,"
                          "gateway=10.77.0.1,http=8080,audio=8000,assign=FFFF01FF,"
                          "version=V2.6.1,account=user,password=secret",
                          1, camera, error))
      << error;
  return camera;
}

TEST(ReplyEncoding, KnownCameraGivesGoldenBytes) {
  std::vector<uint8_t> expected = Cat({
      Hex("4B 56 32 38 30"),                     // "KV280"
      Hex("10 06 00 1A 2B 3C 4D 01"),            // MAC, raw
      Hex("20 10"), Text("CamA", 16),            // name, zero-padded
      Hex("21 10"), Text("V2.6.1", 16),          // version
      Hex("11 04 0A 4D 00 0A"),                  // 10.77.0.10, network order
      Hex("12 04 FF FF FF 00"),                  // mask
      Hex("13 04 0A 4D 00 01"),                  // gateway
      Hex("14 02 90 1F"),                        // 8080, low byte first
      Hex("15 02 40 1F"),                        // 8000, low byte first
      Hex("1F 04 FF FF 01 FF"),                  // ip assignment as configured
      Hex("22 20"), Text("user", 32),            // PPPoE account
      Hex("23 20"), Text("secret", 32),          // PPPoE password; nothing after it
  });
  EXPECT_EQ(EncodeReply(KnownCamera()), expected);
  EXPECT_EQ(expected.size(), 149u);
}

struct PortCase {
  uint16_t port;
  uint8_t low, high;
};

class ReplyPort : public testing::TestWithParam<PortCase> {};

TEST_P(ReplyPort, IsLowByteFirst) {
  CameraSettings camera = DefaultCamera(1);
  camera.httpPort = GetParam().port;
  camera.audioPort = GetParam().port;
  std::vector<uint8_t> reply = EncodeReply(camera);
  // Offsets of the two port values: magic 5, MAC 8, name 18, version 18, addresses 3 * 6.
  const std::size_t http = 5 + 8 + 18 + 18 + 18 + 2;
  EXPECT_EQ(reply[http], GetParam().low);
  EXPECT_EQ(reply[http + 1], GetParam().high);
  EXPECT_EQ(reply[http + 4], GetParam().low);
  EXPECT_EQ(reply[http + 5], GetParam().high);
}

INSTANTIATE_TEST_SUITE_P(Ports, ReplyPort,
                         testing::Values(PortCase{80, 0x50, 0x00}, PortCase{8080, 0x90, 0x1F},
                                         PortCase{0, 0, 0}, PortCase{65535, 0xFF, 0xFF},
                                         PortCase{256, 0x00, 0x01}));

// What the program's decoder makes of a datagram: the record it stores.
struct Decoded {
  int slot;
  lumora::DeviceRecord record;
};

Decoded Decode(const std::vector<uint8_t>& datagram) {
  auto state = std::make_unique<lumora::SearchState>();
  int slot = lumora::DecodeReply(state.get(), datagram.data(), static_cast<int>(datagram.size()));
  Decoded decoded{slot, {}};
  if (slot != lumora::kNoSlot) decoded.record = state->table.slots[slot];
  return decoded;
}

TEST(ReplyEncoding, ProgramDecoderReadsBackEveryField) {
  CameraSettings camera = KnownCamera();
  camera.name = "SixteenBytesName";  // fills the field: no terminator on the wire
  Decoded decoded = Decode(EncodeReply(camera));
  ASSERT_NE(decoded.slot, lumora::kNoSlot);
  const lumora::DeviceRecord& r = decoded.record;
  EXPECT_EQ(lumora::FieldText(r.name), "SixteenBytesName");
  EXPECT_EQ(lumora::FieldText(r.version), "V2.6.1");
  EXPECT_EQ(0, std::memcmp(r.mac, camera.mac, 6));
  EXPECT_STREQ(r.ipText, "10.77.0.10");
  EXPECT_STREQ(r.maskText, "255.255.255.0");
  EXPECT_STREQ(r.gatewayText, "10.77.0.1");
  EXPECT_EQ(r.httpPort, 8080);
  EXPECT_EQ(r.audioPort, 8000);
  EXPECT_EQ(0, std::memcmp(r.ipAssign, camera.ipAssign, 4));
  EXPECT_EQ(lumora::FieldText(r.pppoeAccount), "user");
  EXPECT_EQ(lumora::FieldText(r.pppoePassword), "secret");
}

TEST(CraftedDatagram, UnknownTagsAreSteppedOverByADecoder) {
  CameraSettings camera = KnownCamera();
  std::vector<uint8_t> crafted = BuildCrafted(CraftedKind::kUnknownTags, camera);
  std::vector<uint8_t> plain = EncodeReply(camera);
  EXPECT_EQ(crafted.size(), plain.size() + 4 + 9);
  Decoded a = Decode(crafted);
  Decoded b = Decode(plain);
  ASSERT_NE(a.slot, lumora::kNoSlot);
  EXPECT_EQ(0, std::memcmp(&a.record, &b.record, sizeof a.record));
}

TEST(CraftedDatagram, Tag0HidesEverythingAfterTheName) {
  std::vector<uint8_t> crafted = BuildCrafted(CraftedKind::kTag0, KnownCamera());
  // MAC and name, then the end tag, then the version field still present.
  ASSERT_GT(crafted.size(), 33u);
  EXPECT_EQ(crafted[31], 0x00);
  EXPECT_EQ(crafted[32], 0x00);
  EXPECT_EQ(crafted[33], 0x21);
  Decoded decoded = Decode(crafted);
  ASSERT_NE(decoded.slot, lumora::kNoSlot);
  EXPECT_EQ(lumora::FieldText(decoded.record.name), "CamA");
  EXPECT_EQ(lumora::FieldText(decoded.record.version), "");
  EXPECT_EQ(decoded.record.httpPort, 0);
}

struct ShapeCase {
  const char* kind;
  std::size_t size;
  const char* start;  // hex of the first bytes
  bool decodes;       // whether the program's decoder takes it as a reply
};

class CraftedShape : public testing::TestWithParam<ShapeCase> {};

TEST_P(CraftedShape, HasItsSizeAndStart) {
  CraftedKind kind;
  ASSERT_TRUE(ParseCraftedKind(GetParam().kind, kind));
  std::vector<uint8_t> crafted = BuildCrafted(kind, KnownCamera());
  EXPECT_EQ(crafted.size(), GetParam().size);
  std::vector<uint8_t> start = Hex(GetParam().start);
  ASSERT_GE(crafted.size(), start.size());
  EXPECT_TRUE(std::equal(start.begin(), start.end(), crafted.begin()));
  EXPECT_EQ(Decode(crafted).slot != lumora::kNoSlot, GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CraftedShape,
    testing::Values(ShapeCase{"no-magic", 149, "4B 56 32 38 31 10 06", false},
                    ShapeCase{"unknown-tags", 162, "4B 56 32 38 30 10 06", true},
                    ShapeCase{"tag0", 151, "4B 56 32 38 30 10 06", true},
                    ShapeCase{"oversize", 3001, "4B 56 32 38 30 10 06", true},
                    ShapeCase{"empty", 0, "", false}));

TEST(CraftedDatagram, UnknownKindNamesAreRefused) {
  CraftedKind kind;
  for (const char* name : {"", "Empty", "tag-0", "oversize "}) {
    EXPECT_FALSE(ParseCraftedKind(name, kind)) << name;
  }
}

struct SizedCase {
  std::size_t size;
  const char* start;
};

class SizedDatagram : public testing::TestWithParam<SizedCase> {};

TEST_P(SizedDatagram, HasMagicOnlyWhenItFits) {
  std::vector<uint8_t> bytes = BuildSized(GetParam().size);
  ASSERT_EQ(bytes.size(), GetParam().size);
  std::vector<uint8_t> start = Hex(GetParam().start);
  EXPECT_TRUE(std::equal(start.begin(), start.end(), bytes.begin()));
  for (std::size_t i = start.size(); i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizedDatagram,
                         testing::Values(SizedCase{0, ""}, SizedCase{4, "00 00 00 00"},
                                         SizedCase{5, "4B 56 32 38 30"},
                                         SizedCase{65000, "4B 56 32 38 30 00"}));

}  // namespace
}  // namespace camsim
