#include "tools/camsim/hex.h"

namespace camsim {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string ToHex(const uint8_t* data, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * size);
  for (std::size_t i = 0; i < size; ++i) {
    text.push_back(kDigits[data[i] >> 4]);
    text.push_back(kDigits[data[i] & 0x0F]);
  }
  return text;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& out) {
  out.clear();
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    int digit = HexDigitValue(c);
    if (digit < 0) return false;
    if (high < 0) {
      high = digit;
    } else {
      out.push_back(static_cast<uint8_t>((high << 4) | digit));
      high = -1;
    }
  }
  return high < 0;
}

}  // namespace camsim
