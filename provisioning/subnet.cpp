// Subnet masks and their network and broadcast addresses.
#include "provisioning/subnet.h"

#include "protocol/decimal_text.h"
#include "protocol/ipv4_subnet.h"

namespace lumora::provisioning {

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

}  // namespace lumora::provisioning
