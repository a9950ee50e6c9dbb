#include "tools/camsim/decimal.h"

namespace camsim {

bool ParseDecimal(const std::string& text, uint64_t min, uint64_t max, uint64_t& out) {
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

}  // namespace camsim
