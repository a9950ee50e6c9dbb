// IPv4 addresses as text, both ways, and subnet arithmetic. An address is a
// uint32_t in network byte order (as sockets and records keep it) unless a
// name says otherwise; counting addresses needs host byte order.
//
// Text is read two ways. ReadInetAddrIpv4 reads what the panel's edits hold
// as Winsock's inet_addr reads it, so that a request composed here and one
// composed with Winsock hold the same bytes. ReadDecimalIpv4 reads what a
// person types for lumora or a site plan, decimal only (see decimal_text.h),
// and refuses anything inet_addr would read otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/device_record.h"

namespace lumora {

using Ipv4Bytes = std::array<uint8_t, 4>;  // network order, first octet first

// "192.168.1.10", as inet_ntoa writes it: at most 15 characters.
std::string Ipv4Text(uint32_t ip);

// "10.77.0.2:3566"
std::string Ipv4PortText(uint32_t ip, uint16_t port);

// inet_addr's reading: one to four parts separated by dots, each decimal,
// octal (leading 0) or hex (0x); the last part fills the remaining bytes
// ("10.1" is 10.0.0.1); parsing stops at the first blank. Anything else, an
// empty text or a part too large for its bytes gives FF FF FF FF (INADDR_NONE).
Ipv4Bytes ReadInetAddrIpv4(const char* text);

// Four numbers 0..255 as ReadDecimal reads them, joined by dots: text that
// inet_addr reads as the same four bytes.
bool ReadDecimalIpv4(const std::string& text, uint32_t& out);
bool IsDecimalIpv4(const std::string& text);

// The record's IP address. Its text is always written from four reply
// bytes, so reading it back is exact.
uint32_t RecordIp(const DeviceRecord& record);

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
