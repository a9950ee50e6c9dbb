#include "protocol/ipv4.h"

#include <cstdio>
#include <cstring>

#include "protocol/decimal_text.h"
#include "protocol/field_text.h"

namespace lumora {
namespace {

constexpr Ipv4Bytes kNone = {0xFF, 0xFF, 0xFF, 0xFF};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int DigitIn(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value >= 0 && value < base ? value : -1;
}

// One part at `p`: its value (saturated above 32 bits), `p` moved past it.
bool ReadPart(const char*& p, uint64_t& value) {
  int base = 10;
  if (*p == '0') {
    base = 8;
    ++p;
    if (*p == 'x' || *p == 'X') {
      base = 16;
      ++p;
    } else {
      value = 0;  // a lone 0 is a part of its own
    }
  } else if (DigitIn(*p, 10) < 0) {
    return false;
  }
  value = 0;
  for (int d; (d = DigitIn(*p, base)) >= 0; ++p) {
    value = value * base + d;
    if (value > 0xFFFFFFFFull) value = 0x100000000ull;
  }
  return true;
}

}  // namespace

std::string Ipv4Text(uint32_t ip) {
  uint8_t b[4];
  std::memcpy(b, &ip, 4);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return text;
}

std::string Ipv4PortText(uint32_t ip, uint16_t port) { return Ipv4Text(ip) + ":" + std::to_string(port); }

Ipv4Bytes ReadInetAddrIpv4(const char* text) {
  if (text == nullptr || *text == '\0') return kNone;
  uint64_t parts[4] = {};
  int count = 0;
  const char* p = text;
  for (;;) {
    if (count == 4 || !ReadPart(p, parts[count])) return kNone;
    ++count;
    if (*p != '.') break;
    ++p;
  }
  if (*p != '\0' && !IsBlank(*p)) return kNone;

  // The last part fills every byte the earlier parts left.
  uint64_t address = 0;
  for (int i = 0; i < count - 1; ++i) {
    if (parts[i] > 0xFF) return kNone;
    address |= parts[i] << (24 - 8 * i);
  }
  uint64_t lastLimit = 0xFFFFFFFFull >> (8 * (count - 1));
  if (parts[count - 1] > lastLimit) return kNone;
  address |= parts[count - 1];
  return {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16), static_cast<uint8_t>(address >> 8),
          static_cast<uint8_t>(address)};
}

bool ReadDecimalIpv4(const std::string& text, uint32_t& out) {
  uint8_t bytes[4];
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    uint64_t value = 0;
    if (parts == 4 || !ReadDecimal(part, 0, 255, value)) return false;
    bytes[parts++] = static_cast<uint8_t>(value);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (parts != 4) return false;
  std::memcpy(&out, bytes, 4);
  return true;
}

bool IsDecimalIpv4(const std::string& text) {
  uint32_t ip = 0;
  return ReadDecimalIpv4(text, ip);
}

uint32_t RecordIp(const DeviceRecord& record) {
  Ipv4Bytes bytes = ReadInetAddrIpv4(FieldText(record.ipText).c_str());
  uint32_t ip;
  std::memcpy(&ip, bytes.data(), 4);
  return ip;
}

std::string SubnetText(uint32_t subnetIp, uint32_t mask) {
  int bits = 0;
  for (uint32_t m = mask; m != 0; m &= m - 1) ++bits;
  return Ipv4Text(subnetIp & mask) + "/" + std::to_string(bits);
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
  return Ipv4Text(ip) + " is the " + which + " address of " + SubnetText(ip, mask);
}

}  // namespace lumora
