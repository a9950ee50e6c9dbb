#include "protocol/mac_text.h"

#include <cstdio>
#include <cstring>

namespace lumora {
namespace {

// The digit value of one character, modulo 256. Hex digits of either case get
// their values; every other character converts by the same three rules
// without an error (G gives 16, ':' gives 10, ' ' gives 0xF0).
uint8_t DigitValue(uint8_t c) {
  if (c >= 0x61) return static_cast<uint8_t>(c - 0x57);
  if (c >= 0x41) return static_cast<uint8_t>(c - 0x37);
  return static_cast<uint8_t>(c - 0x30);
}

}  // namespace

MacText MacToText(const uint8_t mac[6]) {
  MacText out;
  std::memset(&out, 0, sizeof out);
  std::snprintf(out.text, sizeof out.text, "%02X%02X%02X%02X%02X%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  return out;
}

MacBytes TextToMac(const char* text) {
  MacBytes out;
  for (int i = 0; i < 6; ++i) {
    uint8_t high = DigitValue(static_cast<uint8_t>(text[2 * i]));
    uint8_t low = DigitValue(static_cast<uint8_t>(text[2 * i + 1]));
    out.bytes[i] = static_cast<uint8_t>((high << 4) + low);
  }
  return out;
}

bool TextsDiffer(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  std::size_t length = std::strlen(a);
  if (length != std::strlen(b)) return true;
  return std::strncmp(a, b, length) != 0;
}

}  // namespace lumora
