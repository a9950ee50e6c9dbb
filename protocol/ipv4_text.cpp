#include "protocol/ipv4_text.h"

#include <cstring>

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

Ipv4Bytes Ipv4FromText(const char* text) {
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

uint32_t RecordIp(const DeviceRecord& record) {
  Ipv4Bytes bytes = Ipv4FromText(FieldText(record.ipText).c_str());
  uint32_t ip;
  std::memcpy(&ip, bytes.data(), 4);
  return ip;
}

}  // namespace lumora
