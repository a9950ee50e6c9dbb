// Which adapters a search goes out of, and from which address: the platform's
// list in, the datagrams of one search (with lumora's subnet copies) out.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/adapters.h"
#include "tests/support/ipv4.h"

namespace lumora {
namespace {

using test::Ip;

constexpr uint32_t kLimited = 0xFFFFFFFFu;

// An address with its prefix length, as the system reports it.
AdapterSubnet Subnet(uint32_t ip, int prefix) {
  uint32_t host = prefix == 0 ? 0 : ~0u << (32 - prefix);
  uint32_t mask = Ip(uint8_t(host >> 24), uint8_t(host >> 16), uint8_t(host >> 8), uint8_t(host));
  return {ip, mask, ip | ~mask};
}

Adapter Listed(uint32_t index, std::vector<AdapterSubnet> subnets, AdapterKind kind = AdapterKind::kBroadcast,
               bool up = true) {
  return {"adapter", index, up, kind, std::move(subnets), {}};
}

TEST(AdapterChoice, OneSearchLeavesByEveryAdapterThatCanBroadcastFromItsOwnAddress) {
  const AdapterSubnet lab = Subnet(Ip(10, 77, 0, 1), 24);
  struct Row {
    const char* what;
    std::vector<Adapter> listed;
    std::vector<PlannedSend> sends;  // the first of each adapter's is the dialog's
  };
  const Row kRows[] = {
      {"an empty list", {}, {}},
      {"down", {Listed(4, {lab}, AdapterKind::kBroadcast, false)}, {}},
      {"loopback", {Listed(1, {Subnet(Ip(127, 0, 0, 1), 8)}, AdapterKind::kLoopback)}, {}},
      {"PPP", {Listed(9, {Subnet(Ip(100, 64, 0, 7), 32)}, AdapterKind::kPointToPoint)}, {}},
      {"tunnel", {Listed(12, {Subnet(Ip(192, 0, 0, 2), 29)}, AdapterKind::kTunnel)}, {}},
      {"no IPv4 address", {Listed(6, {})}, {}},
      {"Wi-Fi with two addresses",
       {Listed(7, {Subnet(Ip(192, 168, 1, 20), 24), Subnet(Ip(169, 254, 3, 4), 16)})},
       {{{7, Ip(192, 168, 1, 20)}, kLimited},
        {{7, Ip(192, 168, 1, 20)}, Ip(192, 168, 1, 255)},
        {{7, Ip(169, 254, 3, 4)}, Ip(169, 254, 255, 255)}}},
      {"a /32: no subnet copy to its own address", {Listed(5, {Subnet(Ip(10, 9, 8, 7), 32)})},
       {{{5, Ip(10, 9, 8, 7)}, kLimited}}},
      {"a /31: no subnet copy to its peer", {Listed(5, {Subnet(Ip(10, 9, 8, 6), 31)})},
       {{{5, Ip(10, 9, 8, 6)}, kLimited}}},
      {"two adapters, in the order listed",
       {Listed(11, {Subnet(Ip(10, 78, 0, 1), 24)}), Listed(3, {lab}, AdapterKind::kBroadcast, false),
        Listed(2, {lab})},
       {{{11, Ip(10, 78, 0, 1)}, kLimited},
        {{11, Ip(10, 78, 0, 1)}, Ip(10, 78, 0, 255)},
        {{2, Ip(10, 77, 0, 1)}, kLimited},
        {{2, Ip(10, 77, 0, 1)}, Ip(10, 77, 0, 255)}}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    std::vector<Adapter> chosen = ChooseAdapters(row.listed);
    EXPECT_EQ(PlanSends(chosen, kLimited, SubnetCopies::kEach), row.sends);
    std::vector<PlannedSend> limited;
    for (const PlannedSend& send : row.sends) {
      if (send.destination == kLimited) limited.push_back(send);
    }
    EXPECT_EQ(PlanSends(chosen, kLimited, SubnetCopies::kNone), limited);
  }
}

}  // namespace
}  // namespace lumora
