// Dotted IPv4 text to the four bytes a request carries, the way Winsock's
// inet_addr reads it, so that a request composed here and one composed with
// Winsock hold the same bytes.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/device_record.h"

namespace lumora {

using Ipv4Bytes = std::array<uint8_t, 4>;  // network order, first octet first

// inet_addr's reading: one to four parts separated by dots, each decimal,
// octal (leading 0) or hex (0x); the last part fills the remaining bytes
// ("10.1" is 10.0.0.1); parsing stops at the first blank. Anything else, an
// empty text or a part too large for its bytes gives FF FF FF FF (INADDR_NONE).
Ipv4Bytes Ipv4FromText(const char* text);

// The record's IP address in network byte order. Its text is always written
// from four reply bytes, so reading it back is exact.
uint32_t RecordIp(const DeviceRecord& record);

}  // namespace lumora
