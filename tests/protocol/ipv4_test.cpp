// Address texts as inet_ntoa writes them and as inet_addr reads them. Under
// Wine the reading's table is checked against Winsock's own inet_addr.
#include "protocol/ipv4.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#endif

#include <cstring>

namespace lumora {
namespace {

struct Row {
  const char* text;
  Ipv4Bytes bytes;
};
constexpr Ipv4Bytes kNone = {0xFF, 0xFF, 0xFF, 0xFF};
const Row kRows[] = {
    {"192.168.1.10", {192, 168, 1, 10}},
    {"0.0.0.0", {0, 0, 0, 0}},
    {"255.255.255.255", {255, 255, 255, 255}},
    {"192.168.1.300", kNone},
    {"256.1.1.1", kNone},
    {"", kNone},
    {"10.1", {10, 0, 0, 1}},
    {"10.1.2", {10, 1, 0, 2}},
    {"10.65535", {10, 0, 255, 255}},
    {"10.1.65535", {10, 1, 255, 255}},
    {"16909060", {1, 2, 3, 4}},
    {"0x7f.1", {127, 0, 0, 1}},
    {"010.0.0.1", {8, 0, 0, 1}},
    {"1.2.3.4.5", kNone},
    {"a.b.c.d", kNone},
    {"1.2.3.x", kNone},
    {"192.168.1.", kNone},
    {"1.2.3.4 trailing", {1, 2, 3, 4}},
};

TEST(Ipv4Text, WritesLikeInetNtoa) {
  struct Case {
    Ipv4Bytes bytes;
    const char* text;
  };
  const Case kCases[] = {
      {{0xC0, 0xA8, 0x01, 0x0A}, "192.168.1.10"},
      {{255, 255, 255, 255}, "255.255.255.255"},
      {{0, 0, 0, 0}, "0.0.0.0"},
      {{10, 0, 0, 1}, "10.0.0.1"},
  };
  for (const Case& c : kCases) {
    uint32_t ip;
    std::memcpy(&ip, c.bytes.data(), 4);
    EXPECT_EQ(Ipv4Text(ip), c.text);
  }
}

TEST(ReadInetAddrIpv4, ReadsDottedTextAsInetAddrDoes) {
  for (const Row& row : kRows) EXPECT_EQ(ReadInetAddrIpv4(row.text), row.bytes) << '"' << row.text << '"';
}

#ifdef _WIN32
TEST(ReadInetAddrIpv4, AgreesWithWinsock) {
  for (const Row& row : kRows) {
    unsigned long winsock = inet_addr(row.text);
    Ipv4Bytes bytes;
    std::memcpy(bytes.data(), &winsock, 4);
    EXPECT_EQ(ReadInetAddrIpv4(row.text), bytes) << '"' << row.text << '"';
  }
}
#endif

}  // namespace
}  // namespace lumora
