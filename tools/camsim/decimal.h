// Strict decimal numbers for option values and control command arguments.
#pragma once

#include <cstdint>
#include <string>

namespace camsim {

// Digits only (no sign, no spaces, at least one digit), and the value within
// [min, max]. A long run of digits is refused, not wrapped (max must stay
// below 10^18).
bool ParseDecimal(const std::string& text, uint64_t min, uint64_t max, uint64_t& out);

}  // namespace camsim
