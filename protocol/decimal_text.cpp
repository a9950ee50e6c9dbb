// Decimal-only readings of typed numbers and addresses.
#include "protocol/decimal_text.h"

#include <cstdlib>
#include <cstring>

#include "protocol/field_text.h"

namespace lumora {
namespace {

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

bool ReadWholeNumber(const std::string& text, long long min, long long max, long long& out) {
  // Eighteen digits cannot overflow a long long.
  if (!AllDigits(text) || text.size() > 18) return false;
  if (text.size() > 1 && text[0] == '0') return false;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value < min || value > max) return false;
  out = value;
  return true;
}

bool ReadDottedIpv4(const std::string& text, uint32_t& out) {
  uint8_t bytes[4];
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    long long value = 0;
    if (parts == 4 || !ReadWholeNumber(part, 0, 255, value)) return false;
    bytes[parts++] = static_cast<uint8_t>(value);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (parts != 4) return false;
  std::memcpy(&out, bytes, 4);
  return true;
}

bool IsDottedIpv4(const std::string& text) {
  uint32_t ip = 0;
  return ReadDottedIpv4(text, ip);
}

std::string DottedText(uint32_t ip) {
  uint8_t bytes[4];
  std::memcpy(bytes, &ip, 4);
  char text[kDottedTextSize];
  FormatDottedQuad(bytes, text);
  return text;
}

std::string SourceText(uint32_t ip, uint16_t port) { return DottedText(ip) + ":" + std::to_string(port); }

}  // namespace lumora
