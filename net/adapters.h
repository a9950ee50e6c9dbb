// The PC's network adapters as plain records, and the choice of those a
// search goes out of. Each platform file lists the adapters as the system
// reports them (net_interfaces_*.cpp); which of them can carry a broadcast is
// decided here alone, the same way on every platform, so it can be checked
// as a table without a network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/arrival.h"

namespace lumora {

// One IPv4 address of an adapter, in network byte order.
struct AdapterSubnet {
  uint32_t ip = 0;
  uint32_t mask = 0;
  uint32_t broadcast = 0;  // the subnet-directed broadcast address
};

enum class AdapterKind {
  kBroadcast,     // Ethernet, Wi-Fi, virtual switches
  kLoopback,
  kPointToPoint,  // PPP, PPPoE dial-up and VPN links: one peer, no broadcast
  kTunnel,        // IP-in-IP, Teredo, ISATAP, and any link that cannot broadcast
};

struct Adapter {
  std::string name;    // "eth0"; the friendly name on Windows
  uint32_t index = 0;  // the system's adapter index, 0 when unknown
  bool up = false;
  AdapterKind kind = AdapterKind::kBroadcast;
  std::vector<AdapterSubnet> subnets;  // in the system's order
  // The default routes' next hops through this adapter, network byte order:
  // the site's router, whose address no camera may take. Empty for a route
  // straight onto the link.
  std::vector<uint32_t> gateways;
};

// How one datagram is sent out of one adapter: forced onto it by index, with
// its own address as the source. Windows sends a datagram whose source
// address belongs to an adapter out of that adapter; 0 and 0 is unforced.
struct AdapterRoute {
  uint32_t index = 0;
  uint32_t source = 0;

  friend bool operator==(const AdapterRoute& a, const AdapterRoute& b) {
    return a.index == b.index && a.source == b.source;
  }
};

// The adapters a broadcast can leave by, in the order listed: up, neither
// loopback nor point-to-point nor tunnel, with a known index and at least
// one IPv4 address. Each is searched once, however many addresses it has.
std::vector<Adapter> ChooseAdapters(std::vector<Adapter> listed);

// Out of `adapter`, from its first address.
AdapterRoute RouteOf(const Adapter& adapter);

// Also a copy to each subnet's own broadcast address (lumora's scan), but
// for a /31 or /32, whose "broadcast" is the PC's own or its peer's address.
enum class SubnetCopies { kNone, kEach };

// One datagram of a search.
struct PlannedSend {
  AdapterRoute route;
  uint32_t destination = 0;

  friend bool operator==(const PlannedSend& a, const PlannedSend& b) {
    return a.route == b.route && a.destination == b.destination;
  }
};

// The datagrams of one search to `destination` (the limited broadcast) out
// of each of `adapters`, in order, each from the adapter's first address,
// and with kEach its subnet copies, each from its own subnet's address.
std::vector<PlannedSend> PlanSends(const std::vector<Adapter>& adapters, uint32_t destination, SubnetCopies copies);

// Out of the adapter with `index` among `adapters`; with no source address
// when it is not among them (the system then picks it), unforced for 0.
AdapterRoute RouteOf(const std::vector<Adapter>& adapters, uint32_t index);

// The subnet of `adapter` that holds `ip`, else its first; nullptr when it
// has none.
const AdapterSubnet* SubnetFor(const Adapter& adapter, uint32_t ip);

// Fills `out` for a datagram from `sender` (its address and port) that
// arrived on adapter `index`, read against `searched`, the adapters the last
// search went out of. `out` is overwritten in place, so a worker that keeps
// one allocates nothing per datagram.
void DescribeArrival(const std::vector<Adapter>& searched, uint32_t index, uint32_t sender, uint16_t senderPort,
                     Arrival& out);

}  // namespace lumora
