// Numbers and addresses typed by a person (on the command line or in a
// site plan), read as decimal and nothing else. The usual readers do more:
// strtol (and CLI11, which uses it with base 0) reads "010" as 8 and "0x10"
// as 16, and inet_addr reads a part with a leading 0 as octal. A value that
// could be read two ways is refused instead.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

// Decimal digits only, no sign, no leading zero ("0" itself is fine), within
// [min, max].
bool ReadWholeNumber(const std::string& text, long long min, long long max, long long& out);

// Four whole numbers 0..255 (as ReadWholeNumber reads them) joined by dots:
// text that decimal readers and inet_addr read as the same four bytes.
bool IsDottedIpv4(const std::string& text);

// The same reading, into an address in network byte order.
bool ReadDottedIpv4(const std::string& text, uint32_t& out);

// An address in network byte order as dotted text.
std::string DottedText(uint32_t ip);

// "10.77.0.2:3566"
std::string SourceText(uint32_t ip, uint16_t port);

}  // namespace lumora
