// Subnet arithmetic: whether an address lies on an adapter's subnet, the
// subnet as text, masks and their network and broadcast addresses. Counting
// addresses needs host byte order; everything else keeps network byte order.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

inline bool InSubnet(uint32_t ip, uint32_t subnetIp, uint32_t mask) { return (ip & mask) == (subnetIp & mask); }

// "10.88.0.0/24"; a mask that is not contiguous counts its set bits.
std::string SubnetText(uint32_t subnetIp, uint32_t mask);

// Network byte order to a number that counts up with the address, and back.
inline uint32_t HostOrder(uint32_t ip) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&ip);
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}
inline uint32_t NetOrder(uint32_t host) {
  uint32_t ip;
  uint8_t* b = reinterpret_cast<uint8_t*>(&ip);
  b[0] = static_cast<uint8_t>(host >> 24);
  b[1] = static_cast<uint8_t>(host >> 16);
  b[2] = static_cast<uint8_t>(host >> 8);
  b[3] = static_cast<uint8_t>(host);
  return ip;
}

// One bits that run unbroken from the left (0.0.0.0 and 255.255.255.255
// included).
bool IsSubnetMask(uint32_t mask);

// "" when `ip` can be a camera's address under `mask`, else "10.1.1.0 is the
// network address of 10.1.1.0/24" (or the broadcast address). Masks of /31
// and /32 have no such addresses.
std::string SubnetEdgeProblem(uint32_t ip, uint32_t mask);

}  // namespace lumora
