// Address texts as inet_addr reads them. Under Wine the same table is checked
// against Winsock's own inet_addr.
#include "protocol/ipv4_text.h"

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

TEST(Ipv4FromText, ReadsDottedTextAsInetAddrDoes) {
  for (const Row& row : kRows) EXPECT_EQ(Ipv4FromText(row.text), row.bytes) << '"' << row.text << '"';
}

#ifdef _WIN32
TEST(Ipv4FromText, AgreesWithWinsock) {
  for (const Row& row : kRows) {
    unsigned long winsock = inet_addr(row.text);
    Ipv4Bytes bytes;
    std::memcpy(bytes.data(), &winsock, 4);
    EXPECT_EQ(Ipv4FromText(row.text), bytes) << '"' << row.text << '"';
  }
}
#endif

}  // namespace
}  // namespace lumora
