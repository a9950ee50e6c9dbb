// Numbers typed by a person (on the command line, in a site plan, to
// camsim), read as decimal and nothing else. The usual readers do more:
// strtol (and CLI11, which uses it with base 0) reads "010" as 8 and "0x10"
// as 16, strtod takes "nan", "inf" and hex floats, and inet_addr reads an
// address part with a leading 0 as octal. What lumora and the site plan read
// is refused when it could be read two ways, so that what they send is what
// was typed.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

// Digits only (no sign, no blank, no leading zero; "0" itself is fine),
// within [min, max]: text that every reader above takes for the same number.
bool ReadDecimal(const std::string& text, uint64_t min, uint64_t max, uint64_t& out);

// As ReadDecimal, but leading zeros read as decimal ("080" is 80), for camsim,
// which passes the value on without them. A long run of digits is refused,
// not wrapped: `max` must stay below 10^18.
bool ReadDigits(const std::string& text, uint64_t min, uint64_t max, uint64_t& out);

// Digits with an optional fraction ("2", "0.5"), within [min, max].
bool ReadDecimalFraction(const std::string& text, double min, double max, double& out);

}  // namespace lumora
