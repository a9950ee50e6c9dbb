// Which datagrams are searches or configuration requests, and what a
// configuration request changes.
#include "tools/camsim/configuration_apply.h"

#include <gtest/gtest.h>

#include "protocol/packet_format.h"
#include "tests/camsim/test_bytes.h"

namespace camsim {
namespace {

using camsim_test::Cat;
using camsim_test::Hex;
using camsim_test::Text;

struct ClassifyCase {
  const char* name;
  std::vector<uint8_t> bytes;
  DatagramKind kind;
};

class Classify : public testing::TestWithParam<ClassifyCase> {};

TEST_P(Classify, Datagram) {
  const std::vector<uint8_t>& bytes = GetParam().bytes;
  EXPECT_EQ(ClassifyDatagram(bytes.data(), bytes.size()), GetParam().kind);
}

std::vector<uint8_t> ProgramSearch() {
  lumora::RequestFrame frame;
  lumora::BuildSearchRequest(frame);
  return std::vector<uint8_t>(frame.bytes, frame.bytes + sizeof frame.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, Classify,
    testing::Values(
        ClassifyCase{"Empty", {}, DatagramKind::kNoMagic},
        ClassifyCase{"ShortMagic", Hex("4B 56 32 38"), DatagramKind::kNoMagic},
        ClassifyCase{"WrongLastMagicByte", Hex("4B 56 32 38 31 20 10"), DatagramKind::kNoMagic},
        ClassifyCase{"LowerCaseMagic", Hex("6B 76 32 38 30 20 10"), DatagramKind::kNoMagic},
        ClassifyCase{"MagicOnly", Hex("4B 56 32 38 30"), DatagramKind::kNoFields},
        ClassifyCase{"EndTagFirst", Hex("4B 56 32 38 30 00 10 10 06"), DatagramKind::kNoFields},
        ClassifyCase{"ProgramSearch", ProgramSearch(), DatagramKind::kSearch},
        ClassifyCase{"AnyOtherFirstTag", Hex("4B 56 32 38 30 99"), DatagramKind::kSearch},
        ClassifyCase{"MacFirst", Hex("4B 56 32 38 30 10 06 00 1A 2B 3C 4D 01"),
                     DatagramKind::kConfiguration},
        ClassifyCase{"MacTagWithoutLength", Hex("4B 56 32 38 30 10"),
                     DatagramKind::kConfiguration}),
    [](const testing::TestParamInfo<ClassifyCase>& info) { return info.param.name; });

const char* const kTarget = "10 06 00 1A 2B 3C 4D 01";  // camera 1's MAC

// A configuration request as the program sends it: padded to 256 bytes.
std::vector<uint8_t> Request(const std::vector<uint8_t>& fields) {
  std::vector<uint8_t> bytes = Cat({Hex("4B 56 32 38 30"), fields});
  bytes.resize(256, 0);
  return bytes;
}

struct ApplyCase {
  const char* name;
  std::vector<uint8_t> datagram;
  const char* changed;  // FormatCamera(' ') of camera 1 afterwards; nullptr: untouched
};

class Apply : public testing::TestWithParam<ApplyCase> {};

TEST_P(Apply, ChangesOnlyWhatTheRequestCarries) {
  std::vector<CameraSettings> cameras = {DefaultCamera(1), DefaultCamera(2)};
  const std::vector<uint8_t>& datagram = GetParam().datagram;
  std::vector<std::size_t> changed = ApplyConfiguration(datagram.data(), datagram.size(), cameras);
  EXPECT_EQ(cameras[1], DefaultCamera(2)) << "a camera not named was changed";
  if (GetParam().changed == nullptr) {
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(cameras[0], DefaultCamera(1));
  } else {
    EXPECT_EQ(changed, std::vector<std::size_t>{0});
    EXPECT_EQ(FormatCamera(cameras[0], ' '), GetParam().changed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Apply,
    testing::Values(
        ApplyCase{"Name",
                  Request(Cat({Hex(kTarget), Hex("20 10"), Text("Lobby", 16)})),
                  "mac=001A2B3C4D01 name=Lobby ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=80 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"NameCutAt16",
                  Request(Cat({Hex(kTarget), Hex("20 14"), Text("ABCDEFGHIJKLMNOPQRST", 20)})),
                  "mac=001A2B3C4D01 name=ABCDEFGHIJKLMNOP ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=80 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"PortsAsText",
                  Request(Cat({Hex(kTarget), Hex("14 05 38 30 38 30 00"),
                               Hex("15 05 30 38 30 38 30")})),  // "8080", "08080"
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=8080 audio=8080 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"PortWithoutDigitsIsZero",
                  Request(Cat({Hex(kTarget), Hex("14 05 61 62 63 00 00")})),  // "abc"
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=0 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"PortKeepsLow16Bits",
                  Request(Cat({Hex(kTarget), Hex("14 05 39 39 39 39 39"),    // 99999
                               Hex("15 06 31 32 33 34 35 36")})),            // 5 digits read
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=34463 audio=12345 assign=FFFFFFFF account= "
                  "password= version=V2.6.0"},
        ApplyCase{"SecondMacAndAddresses",
                  Request(Cat({Hex(kTarget), Hex("10 06 02 00 00 00 00 09"),
                               Hex("11 04 C0 A8 01 0A"), Hex("12 04 FF FF 00 00"),
                               Hex("13 04 C0 A8 01 01")})),
                  "mac=020000000009 name=Camera-1 ip=192.168.1.10 mask=255.255.0.0 "
                  "gateway=192.168.1.1 http=80 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"FlagsAndPppoe",
                  Request(Cat({Hex(kTarget), Hex("1F 04 01 FF 00 7F"), Hex("22 20"),
                               Text("user", 32), Hex("23 20"), Text("secret", 32)})),
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=80 audio=8000 assign=01FF007F account=user "
                  "password=secret version=V2.6.0"},
        ApplyCase{"VersionAndUnknownTagsIgnored",
                  Request(Cat({Hex(kTarget), Hex("21 10"), Text("V9", 16), Hex("30 02 AA BB"),
                               Hex("11 03 01 02 03"),  // too short for an address
                               Hex("14 05 38 31 00 00 00")})),
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=81 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"EndTagStopsTheWalk",
                  Request(Cat({Hex(kTarget), Hex("14 05 38 31 00 00 00"), Hex("00 00"),
                               Hex("15 05 38 32 00 00 00")})),
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=81 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        // Cut inside the name: the port before it applies, the name does not.
        ApplyCase{"TruncatedLastField",
                  Cat({Hex("4B 56 32 38 30"), Hex(kTarget), Hex("14 05 38 31 00 00 00"),
                       Hex("20 10 41 42 43")}),
                  "mac=001A2B3C4D01 name=Camera-1 ip=10.77.0.101 mask=255.255.255.0 "
                  "gateway=10.77.0.1 http=81 audio=8000 assign=FFFFFFFF account= password= "
                  "version=V2.6.0"},
        ApplyCase{"WrongTargetIgnored",
                  Request(Cat({Hex("10 06 00 1A 2B 3C 4D 09"), Hex("20 10"), Text("X", 16)})),
                  nullptr},
        ApplyCase{"TruncatedTargetIgnored", Hex("4B 56 32 38 30 10 06 00 1A 2B 3C"), nullptr},
        ApplyCase{"ShortTargetIgnored", Request(Hex("10 05 00 1A 2B 3C 4D 20 10 41")), nullptr},
        ApplyCase{"SearchIsNoConfiguration", ProgramSearch(), nullptr}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return info.param.name; });

TEST(ApplyConfiguration, NeverReadsPastTheReceivedLength) {
  // The buffer holds whole fields, but the datagram received ends one or two
  // bytes before the last of them does: those fields must not apply.
  std::vector<uint8_t> address =
      Cat({Hex("4B 56 32 38 30"), Hex(kTarget), Hex("11 04 C0 A8 01 0A")});
  std::vector<uint8_t> name = Cat({Hex("4B 56 32 38 30"), Hex(kTarget), Hex("20 02 41 42")});
  for (std::size_t cut : {1, 2}) {
    std::vector<CameraSettings> cameras = {DefaultCamera(1)};
    ApplyConfiguration(address.data(), address.size() - cut, cameras);
    ApplyConfiguration(name.data(), name.size() - cut, cameras);
    EXPECT_EQ(cameras[0], DefaultCamera(1)) << "cut " << cut;
  }
}

TEST(ApplyConfiguration, EveryCameraWithTheTargetMacTakesIt) {
  std::vector<CameraSettings> cameras = {DefaultCamera(1), DefaultCamera(2), DefaultCamera(1)};
  std::vector<uint8_t> request = Request(Cat({Hex(kTarget), Hex("14 05 38 31 00 00 00")}));
  EXPECT_EQ(ApplyConfiguration(request.data(), request.size(), cameras),
            (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(cameras[2].httpPort, 81);
  EXPECT_EQ(cameras[1].httpPort, 80);
}

}  // namespace
}  // namespace camsim
