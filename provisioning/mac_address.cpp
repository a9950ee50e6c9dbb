// The MAC value's conversions and hash.
#include "provisioning/mac_address.h"

#include <algorithm>

#include "protocol/mac_text.h"

namespace lumora::provisioning {

MacAddress MacOf(const uint8_t bytes[6]) {
  MacAddress mac;
  std::copy(bytes, bytes + 6, mac.bytes.begin());
  return mac;
}

std::string MacDigits(const MacAddress& mac) { return MacToText(mac.bytes.data()).text; }

std::size_t MacAddressHash::operator()(const MacAddress& mac) const {
  uint64_t value = 0;
  for (uint8_t byte : mac.bytes) value = value << 8 | byte;
  return std::hash<uint64_t>()(value);
}

}  // namespace lumora::provisioning
