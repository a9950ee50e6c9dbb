// Byte strings for the camsim tests, written as hex the way a datagram dump
// reads. Kept apart from camsim's own hex parser so a fault there cannot
// hide in the expected values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace camsim_test {

inline std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::string digits;
  for (char c : text) {
    if (c != ' ') digits.push_back(c);
  }
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// `text` then zeros up to `width` bytes.
inline std::vector<uint8_t> Text(const std::string& text, std::size_t width) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.resize(width, 0);
  return bytes;
}

inline std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace camsim_test
