// The neighbour table's rows, as the platforms report them, read against
// the PC's adapters: who answered on each address asked.
#include "net/neighbour_table.h"

#include <gtest/gtest.h>

#include "tests/support/ipv4.h"

namespace lumora::net {
namespace {

using test::Ip;
using State = NeighbourState;
using Use = AddressUse;

Adapter MakeAdapter(const char* name, uint32_t index, uint32_t ip, uint32_t mask, bool up = true,
                    AdapterKind kind = AdapterKind::kBroadcast) {
  Adapter adapter;
  adapter.name = name;
  adapter.index = index;
  adapter.up = up;
  adapter.kind = kind;
  adapter.subnets.push_back({ip, mask, (ip & mask) | ~mask});
  return adapter;
}

NeighbourRow Entry(uint32_t ip, State state, uint8_t macLast, uint32_t index, bool hasMac = true) {
  NeighbourRow row;
  row.ip = ip;
  row.state = state;
  row.adapterIndex = index;
  row.hasMac = hasMac;
  if (macLast != 0) row.mac = {0x02, 0x00, 0x00, 0x00, 0x00, macLast};
  return row;
}

TEST(NeighbourTable, AnAddressIsInUseOnlyWhenItsOwnAdapterHeardAHardwareAddress) {
  const uint32_t mask24 = Ip(255, 255, 255, 0);
  const std::vector<Adapter> adapters = {
      MakeAdapter("eth0", 2, Ip(10, 77, 0, 1), mask24),
      MakeAdapter("wlan0", 3, Ip(192, 168, 1, 20), mask24),
      MakeAdapter("eth1", 5, Ip(172, 16, 0, 1), Ip(255, 255, 0, 0), false),
      MakeAdapter("vpn", 7, Ip(10, 8, 0, 2), mask24, true, AdapterKind::kPointToPoint),
      MakeAdapter("link", 9, Ip(10, 9, 0, 0), Ip(255, 255, 255, 254)),
  };
  // As recorded from the platform's table after the datagrams.
  const std::vector<NeighbourRow> rows = {
      Entry(Ip(10, 77, 0, 50), State::kReachable, 0x50, 2),
      Entry(Ip(10, 77, 0, 51), State::kStale, 0x51, 2),
      Entry(Ip(10, 77, 0, 52), State::kDelay, 0x52, 2),
      Entry(Ip(10, 77, 0, 53), State::kProbe, 0x53, 2),
      Entry(Ip(10, 77, 0, 54), State::kIncomplete, 0, 2, false),
      Entry(Ip(10, 77, 0, 55), State::kFailed, 0, 2),
      Entry(Ip(10, 77, 0, 56), State::kReachable, 0, 2),
      Entry(Ip(10, 77, 0, 57), State::kReachable, 0x57, 3),
      Entry(Ip(192, 168, 1, 30), State::kReachable, 0x30, 3),
      Entry(Ip(10, 99, 0, 5), State::kReachable, 0x05, 2),
      Entry(Ip(10, 8, 0, 1), State::kReachable, 0x01, 7),
      Entry(Ip(10, 9, 0, 1), State::kStale, 0x91, 9),
  };
  struct Row {
    const char* what;
    uint32_t ip;
    Use use;
    uint8_t macLast;  // 0: none
    const char* adapter;
    bool pcAddress;
  };
  const Row table[] = {
      {"reachable", Ip(10, 77, 0, 50), Use::kInUse, 0x50, "eth0", false},
      {"stale", Ip(10, 77, 0, 51), Use::kInUse, 0x51, "eth0", false},
      {"delay", Ip(10, 77, 0, 52), Use::kInUse, 0x52, "eth0", false},
      {"probe", Ip(10, 77, 0, 53), Use::kInUse, 0x53, "eth0", false},
      {"incomplete, no hardware address", Ip(10, 77, 0, 54), Use::kFree, 0, "eth0", false},
      {"failed", Ip(10, 77, 0, 55), Use::kFree, 0, "eth0", false},
      {"a zero hardware address", Ip(10, 77, 0, 56), Use::kFree, 0, "eth0", false},
      {"heard on another adapter", Ip(10, 77, 0, 57), Use::kFree, 0, "eth0", false},
      {"no entry at all", Ip(10, 77, 0, 60), Use::kFree, 0, "eth0", false},
      {"the second adapter's network", Ip(192, 168, 1, 30), Use::kInUse, 0x30, "wlan0", false},
      {"the PC's own address", Ip(192, 168, 1, 20), Use::kInUse, 0, "wlan0", true},
      {"the network's address", Ip(10, 77, 0, 0), Use::kNotLookedUp, 0, "", false},
      {"the network's broadcast", Ip(10, 77, 0, 255), Use::kNotLookedUp, 0, "", false},
      {"on no adapter's network, though an entry says so", Ip(10, 99, 0, 5), Use::kNotLookedUp, 0, "", false},
      {"on an adapter that is down", Ip(172, 16, 0, 9), Use::kNotLookedUp, 0, "", false},
      {"on a point-to-point link", Ip(10, 8, 0, 1), Use::kNotLookedUp, 0, "", false},
      {"a /31's other host", Ip(10, 9, 0, 1), Use::kInUse, 0x91, "link", false},
  };
  std::vector<uint32_t> asked;
  for (const Row& row : table) asked.push_back(row.ip);
  const std::vector<AddressLookup> found = WhoAnswers(asked, adapters, rows);
  ASSERT_EQ(found.size(), asked.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    const Row& row = table[i];
    SCOPED_TRACE(row.what);
    HardwareAddress mac{};
    if (row.macLast != 0) mac = {0x02, 0x00, 0x00, 0x00, 0x00, row.macLast};
    EXPECT_EQ(found[i].ip, row.ip);
    EXPECT_EQ(found[i].use, row.use);
    EXPECT_EQ(found[i].mac, mac);
    EXPECT_EQ(found[i].adapterName, row.adapter);
    EXPECT_EQ(found[i].pcAddress, row.pcAddress);
  }
}

}  // namespace
}  // namespace lumora::net
