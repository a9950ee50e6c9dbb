#include "protocol/ipv4_subnet.h"

#include <cstdio>
#include <cstring>

#include "protocol/decimal_text.h"

namespace lumora {

std::string SubnetText(uint32_t subnetIp, uint32_t mask) {
  uint32_t network = subnetIp & mask;
  uint8_t b[4];
  std::memcpy(b, &network, 4);
  int bits = 0;
  for (uint32_t m = mask; m != 0; m &= m - 1) ++bits;
  char text[24];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u/%d", b[0], b[1], b[2], b[3], bits);
  return text;
}

bool IsSubnetMask(uint32_t mask) {
  uint32_t host = ~HostOrder(mask);
  return (host & (host + 1)) == 0;
}

std::string SubnetEdgeProblem(uint32_t ip, uint32_t mask) {
  uint32_t h = HostOrder(ip), m = HostOrder(mask);
  if (!IsSubnetMask(mask) || (~m) < 3) return "";
  const char* which = nullptr;
  if ((h & ~m) == 0) which = "network";
  else if ((h & ~m) == ~m) which = "broadcast";
  if (which == nullptr) return "";
  return DottedText(ip) + " is the " + which + " address of " + SubnetText(ip, mask);
}

}  // namespace lumora
