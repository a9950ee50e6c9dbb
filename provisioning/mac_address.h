// A camera's MAC as a value: its 6 bytes, compared and hashed as bytes.
// Inside provisioning/ cameras are keyed by it (the match, the refusal
// check, the report); its text is made at the edges only: a plan cell read,
// a report or a sheet written, a line printed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora::provisioning {

struct MacAddress {
  std::array<uint8_t, 6> bytes{};

  bool operator==(const MacAddress& other) const { return bytes == other.bytes; }
  bool operator!=(const MacAddress& other) const { return bytes != other.bytes; }
  bool operator<(const MacAddress& other) const { return bytes < other.bytes; }
};

// The MAC of a record's 6 bytes.
MacAddress MacOf(const uint8_t bytes[6]);

// "00AA00000001": 12 upper-case digits, as reports and lumora print a MAC.
std::string MacDigits(const MacAddress& mac);

struct MacAddressHash {
  std::size_t operator()(const MacAddress& mac) const;
};

}  // namespace lumora::provisioning
