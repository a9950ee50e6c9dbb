#include "protocol/decimal_text.h"

#include <cstdlib>

namespace lumora {
namespace {

bool AllDigits(const std::string& text, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

bool ReadDigits(const std::string& text, uint64_t min, uint64_t max, uint64_t& out) {
  if (text.empty()) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    // Checked on every digit so that the product above cannot overflow.
    if (value > max) return false;
  }
  if (value < min) return false;
  out = value;
  return true;
}

bool ReadDecimal(const std::string& text, uint64_t min, uint64_t max, uint64_t& out) {
  if (text.size() > 1 && text[0] == '0') return false;
  return ReadDigits(text, min, max, out);
}

bool ReadDecimalFraction(const std::string& text, double min, double max, double& out) {
  std::size_t dot = text.find('.');
  if (text.size() > 18 || !AllDigits(text, 0, dot == std::string::npos ? text.size() : dot)) return false;
  if (dot != std::string::npos && !AllDigits(text, dot + 1, text.size())) return false;
  double value = std::strtod(text.c_str(), nullptr);
  if (!(value >= min && value <= max)) return false;
  out = value;
  return true;
}

}  // namespace lumora
