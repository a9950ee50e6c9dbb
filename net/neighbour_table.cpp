// The neighbour table's rows read against the addresses asked and the PC's
// adapters.
#include "net/neighbour_table.h"

#include <algorithm>

#include "protocol/ipv4.h"

namespace lumora::net {
namespace {

// The network and broadcast addresses of a subnet are no host's; a /31 or
// /32 has neither (a /31's two addresses are both hosts).
bool IsHostOf(const AdapterSubnet& subnet, uint32_t ip) {
  if (subnet.mask == 0 || !InSubnet(ip, subnet.ip, subnet.mask)) return false;
  const uint32_t host = HostOrder(ip), mask = HostOrder(subnet.mask);
  if (mask >= 0xFFFFFFFEu) return true;
  return (host & ~mask) != 0 && (host & ~mask) != ~mask;
}

bool Answered(const NeighbourRow& row) {
  static const HardwareAddress kZero{};
  if (!row.hasMac || row.mac == kZero) return false;
  switch (row.state) {
    case NeighbourState::kReachable:
    case NeighbourState::kStale:
    case NeighbourState::kDelay:
    case NeighbourState::kProbe: return true;
    default: return false;
  }
}

const Adapter* AdapterWithIndex(const std::vector<Adapter>& adapters, uint32_t index) {
  for (const Adapter& adapter : adapters) {
    if (adapter.index == index) return &adapter;
  }
  return nullptr;
}

// The PC's own address answers no ARP request of its own, so the table
// never shows it: it is in use by the PC.
const Adapter* HolderOf(const std::vector<Adapter>& adapters, uint32_t ip) {
  for (const Adapter& adapter : adapters) {
    for (const AdapterSubnet& subnet : adapter.subnets) {
      if (subnet.ip == ip) return &adapter;
    }
  }
  return nullptr;
}

AddressLookup Judge(uint32_t ip, const std::vector<Adapter>& adapters, const std::vector<NeighbourRow>& rows) {
  AddressLookup out;
  out.ip = ip;
  const std::vector<AdapterRoute> routes = LookupRoutes(adapters, ip);
  if (routes.empty()) return out;
  const auto onRoute = [&routes](uint32_t index) {
    return std::any_of(routes.begin(), routes.end(), [index](const AdapterRoute& r) { return r.index == index; });
  };
  uint32_t index = routes.front().index;
  out.use = AddressUse::kFree;
  if (const Adapter* pc = HolderOf(adapters, ip)) {
    out.use = AddressUse::kInUse;
    out.pcAddress = true;
    index = pc->index;
  } else {
    for (const NeighbourRow& row : rows) {
      if (row.ip != ip || !onRoute(row.adapterIndex) || !Answered(row)) continue;
      out.use = AddressUse::kInUse;
      out.mac = row.mac;
      index = row.adapterIndex;
      break;
    }
  }
  out.adapterIndex = index;
  if (const Adapter* adapter = AdapterWithIndex(adapters, index)) out.adapterName = adapter->name;
  return out;
}

}  // namespace

std::vector<AdapterRoute> LookupRoutes(const std::vector<Adapter>& adapters, uint32_t ip) {
  std::vector<AdapterRoute> routes;
  for (const Adapter& adapter : adapters) {
    if (!adapter.up || adapter.kind != AdapterKind::kBroadcast || adapter.index == 0) continue;
    for (const AdapterSubnet& subnet : adapter.subnets) {
      if (!IsHostOf(subnet, ip)) continue;
      routes.push_back({adapter.index, subnet.ip});
      break;
    }
  }
  return routes;
}

std::vector<AddressLookup> WhoAnswers(const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                                      const std::vector<NeighbourRow>& rows) {
  std::vector<AddressLookup> out;
  out.reserve(asked.size());
  for (uint32_t ip : asked) out.push_back(Judge(ip, adapters, rows));
  return out;
}

}  // namespace lumora::net
