#include "protocol/ipv4_subnet.h"

#include <cstdio>
#include <cstring>

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

}  // namespace lumora
