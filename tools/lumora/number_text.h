// Numbers typed on the command line, read as decimal and nothing else. The
// usual readers do more: strtol (and CLI11, which uses it with base 0) reads
// "010" as 8 and "0x10" as 16, strtod takes "nan", "inf" and hex floats, and
// inet_addr reads a part with a leading 0 as octal. A value that could be
// read two ways is refused instead.
#pragma once

#include <string>

namespace lumora::cli {

// Decimal digits only, no sign, no leading zero ("0" itself is fine), within
// [min, max].
bool ReadWholeNumber(const std::string& text, long long min, long long max, long long& out);

// Decimal digits with an optional fraction ("2", "0.5"), within [min, max].
bool ReadSeconds(const std::string& text, double min, double max, double& out);

// Four whole numbers 0..255 (as ReadWholeNumber reads them) joined by dots:
// text that decimal readers and inet_addr read as the same four bytes.
bool IsDottedIpv4(const std::string& text);

}  // namespace lumora::cli
