// Whether an address lies on an adapter's subnet, and the subnet as text.
// Addresses and masks in network byte order, as the socket layer keeps them.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

inline bool InSubnet(uint32_t ip, uint32_t subnetIp, uint32_t mask) { return (ip & mask) == (subnetIp & mask); }

// "10.88.0.0/24"; a mask that is not contiguous counts its set bits.
std::string SubnetText(uint32_t subnetIp, uint32_t mask);

}  // namespace lumora
