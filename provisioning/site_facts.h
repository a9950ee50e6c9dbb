// What the PC knows of the site besides the cameras that answered: its own
// addresses, its default gateways and the addresses something answers on.
// The range skips these addresses and the match refuses to send a camera
// onto one. Gathered by the caller (the adapter list, the route table, a
// look-up on the wire); empty where a caller has none, which protects
// nothing beyond the cameras themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/mac_address.h"

namespace lumora::provisioning {

// An address that something answered on, with the MAC it answered with.
struct AddressInUse {
  uint32_t ip = 0;  // network byte order
  MacAddress mac;
};

struct SiteFacts {
  std::vector<uint32_t> pcAddresses;  // every adapter's, network byte order
  std::vector<uint32_t> pcGateways;   // the PC's default gateways
  std::vector<AddressInUse> inUse;
};

// The MAC of a host that is no listed camera holding `ip`, if any. A listed
// camera found at that very address is no foreign host: where it ends up is
// the match's own business.
const AddressInUse* ForeignHolder(const SiteFacts& site, const std::vector<FoundCamera>& cameras, uint32_t ip);

// True for a PC address or a PC gateway.
bool IsPcAddressOrGateway(const SiteFacts& site, uint32_t ip);

}  // namespace lumora::provisioning
