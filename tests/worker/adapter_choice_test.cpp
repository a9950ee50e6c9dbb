// Which adapters a search goes out of, and from which address: the platform's
// list in, the datagrams of one search (with lumora's subnet copies) out.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "worker/adapters.h"

namespace lumora {

// Failures name the addresses, not the bytes.
std::ostream& operator<<(std::ostream& out, const PlannedSend& send) {
  auto dotted = [](uint32_t ip) {
    uint8_t b[4];
    std::memcpy(b, &ip, 4);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return std::string(text);
  };
  return out << "out of " << send.route.index << " from " << dotted(send.route.source) << " to "
             << dotted(send.destination);
}

namespace {

uint32_t Ip(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t out;
  std::memcpy(&out, bytes, 4);
  return out;
}

constexpr uint32_t kLimited = 0xFFFFFFFFu;

// An address with its prefix length, as the system reports it.
AdapterSubnet Subnet(uint32_t ip, int prefix) {
  uint32_t hostMask = prefix == 0 ? 0 : ~0u << (32 - prefix);
  const uint8_t bytes[4] = {uint8_t(hostMask >> 24), uint8_t(hostMask >> 16), uint8_t(hostMask >> 8), uint8_t(hostMask)};
  AdapterSubnet subnet;
  subnet.ip = ip;
  std::memcpy(&subnet.mask, bytes, 4);
  subnet.broadcast = ip | ~subnet.mask;
  return subnet;
}

Adapter Up(uint32_t index, AdapterKind kind, std::vector<AdapterSubnet> subnets) {
  Adapter adapter;
  adapter.name = "adapter " + std::to_string(index);
  adapter.index = index;
  adapter.up = true;
  adapter.kind = kind;
  adapter.subnets = std::move(subnets);
  return adapter;
}

Adapter Ethernet(uint32_t index, std::vector<AdapterSubnet> subnets) {
  return Up(index, AdapterKind::kBroadcast, std::move(subnets));
}

Adapter Down(Adapter adapter) {
  adapter.up = false;
  return adapter;
}

TEST(AdapterChoice, OneSearchLeavesByEveryAdapterThatCanBroadcastFromItsOwnAddress) {
  const AdapterSubnet lab = Subnet(Ip(10, 77, 0, 1), 24);
  struct Row {
    const char* what;
    std::vector<Adapter> listed;
    std::vector<PlannedSend> sends;
  };
  const Row kRows[] = {
      {"an empty list", {}, {}},
      {"down", {Down(Ethernet(4, {lab}))}, {}},
      {"loopback", {Up(1, AdapterKind::kLoopback, {Subnet(Ip(127, 0, 0, 1), 8)})}, {}},
      {"PPP", {Up(9, AdapterKind::kPointToPoint, {Subnet(Ip(100, 64, 0, 7), 32)})}, {}},
      {"tunnel", {Up(12, AdapterKind::kTunnel, {Subnet(Ip(192, 0, 0, 2), 29)})}, {}},
      {"no IPv4 address", {Ethernet(6, {})}, {}},
      {"Wi-Fi with two addresses",
       {Ethernet(7, {Subnet(Ip(192, 168, 1, 20), 24), Subnet(Ip(169, 254, 3, 4), 16)})},
       {{{7, Ip(192, 168, 1, 20)}, kLimited},
        {{7, Ip(192, 168, 1, 20)}, Ip(192, 168, 1, 255)},
        {{7, Ip(169, 254, 3, 4)}, Ip(169, 254, 255, 255)}}},
      {"a /32: no subnet copy, its broadcast is its own address",
       {Ethernet(5, {Subnet(Ip(10, 9, 8, 7), 32)})},
       {{{5, Ip(10, 9, 8, 7)}, kLimited}}},
      {"a /31: no subnet copy, its broadcast is the peer",
       {Ethernet(5, {Subnet(Ip(10, 9, 8, 6), 31)})},
       {{{5, Ip(10, 9, 8, 6)}, kLimited}}},
      {"two adapters, in the order listed",
       {Ethernet(11, {Subnet(Ip(10, 78, 0, 1), 24)}), Down(Ethernet(3, {lab})), Ethernet(2, {lab})},
       {{{11, Ip(10, 78, 0, 1)}, kLimited},
        {{11, Ip(10, 78, 0, 1)}, Ip(10, 78, 0, 255)},
        {{2, Ip(10, 77, 0, 1)}, kLimited},
        {{2, Ip(10, 77, 0, 1)}, Ip(10, 77, 0, 255)}}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    std::vector<Adapter> chosen = ChooseAdapters(row.listed);
    EXPECT_EQ(PlanSends(chosen, kLimited, SubnetCopies::kEach), row.sends);
    // The dialog's search is the limited broadcasts alone.
    std::vector<PlannedSend> limited;
    for (const PlannedSend& send : row.sends) {
      if (send.destination == kLimited) limited.push_back(send);
    }
    EXPECT_EQ(PlanSends(chosen, kLimited, SubnetCopies::kNone), limited);
  }
}

}  // namespace
}  // namespace lumora
