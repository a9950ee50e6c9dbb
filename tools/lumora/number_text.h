// Numbers typed on the command line, read as decimal and nothing else. The
// usual readers do more: strtol (and CLI11, which uses it with base 0) reads
// "010" as 8 and "0x10" as 16, strtod takes "nan", "inf" and hex floats, and
// inet_addr reads a part with a leading 0 as octal. A value that could be
// read two ways is refused instead.
#pragma once

#include <string>

// ReadWholeNumber and IsDottedIpv4 live in protocol/ now, where the site plan
// reads the same values; they are named here for lumora's callers.
#include "protocol/decimal_text.h"

namespace lumora::cli {

using lumora::IsDottedIpv4;
using lumora::ReadWholeNumber;

// Decimal digits with an optional fraction ("2", "0.5"), within [min, max].
bool ReadSeconds(const std::string& text, double min, double max, double& out);

}  // namespace lumora::cli
