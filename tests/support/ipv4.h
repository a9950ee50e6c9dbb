// An IPv4 address from its four octets, in network byte order as the socket
// layer and the records keep it.
#pragma once

#include <cstdint>
#include <cstring>

namespace lumora::test {

inline uint32_t Ip(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t out;
  std::memcpy(&out, bytes, 4);
  return out;
}

}  // namespace lumora::test
