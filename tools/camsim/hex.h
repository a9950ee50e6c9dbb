// Hex text for datagram bytes: the log writes it, --send-hex and the control
// channel read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

// 0..15 for a hex digit of either case, -1 for anything else.
int HexDigitValue(char c);

// Two lower-case digits per byte, nothing between them.
std::string ToHex(const uint8_t* data, std::size_t size);

// Reads pairs of hex digits of either case. Whitespace anywhere is skipped,
// so "4b 56 32" and "4B5632" give the same bytes. False, with `out` left in
// an unspecified state, on any other character or an odd number of digits.
bool ParseHex(const std::string& text, std::vector<uint8_t>& out);

}  // namespace camsim
