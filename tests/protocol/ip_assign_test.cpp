// The two readings of the IP-assignment bytes, and the page address.
#include "protocol/ip_assign.h"

#include <gtest/gtest.h>

#include "protocol/web_address.h"

namespace lumora {
namespace {

TEST(IpAssignMode, TheTextAndTheRadioButtonsReadTheBytesEachTheirWay) {
  using M = IpAssignMode;
  const struct {
    uint8_t bytes[4];
    M reported, checked;
  } kRows[] = {
      {{0x01, 0x01, 0xFF, 0xFF}, M::kPppoe, M::kPppoe},
      {{0xFF, 0xFF, 0x01, 0x01}, M::kDhcp, M::kDhcp},
      {{0xFF, 0xFF, 0xFF, 0xFF}, M::kStatic, M::kStatic},
      {{0x00, 0x00, 0x00, 0x00}, M::kPppoe, M::kPppoe},   // a reply without the field
      {{0x01, 0xFF, 0xFF, 0xFF}, M::kStatic, M::kPppoe},  // as a request writes PPPoE
      {{0xFF, 0xFF, 0x01, 0xFF}, M::kStatic, M::kDhcp},   // as a request writes DHCP
      {{0x01, 0xFF, 0x01, 0x01}, M::kDhcp, M::kPppoe},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(::testing::Message() << int(row.bytes[0]) << " " << int(row.bytes[1]) << " " << int(row.bytes[2])
                                      << " " << int(row.bytes[3]));
    EXPECT_EQ(ReportedMode(row.bytes), row.reported);
    EXPECT_EQ(CheckedMode(row.bytes), row.checked);
  }
}

TEST(DeviceWebAddress, NamesThePortUnlessItIs80) {
  const struct {
    int32_t port;
    const char* address;
  } kRows[] = {{80, "http://10.0.0.5/index.html"},
               {8080, "http://10.0.0.5:8080/index.html"},
               {0, "http://10.0.0.5:0/index.html"},
               {65535, "http://10.0.0.5:65535/index.html"},
               {-1, "http://10.0.0.5:-1/index.html"}};
  for (const auto& row : kRows) EXPECT_EQ(DeviceWebAddress("10.0.0.5", row.port), row.address) << row.port;
}

}  // namespace
}  // namespace lumora
