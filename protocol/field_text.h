// Fixed-width record fields as text. A camera may fill a text field to its
// last byte, leaving no terminator; every reader of such a field goes through
// FieldText so that none of them runs on into the next field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora {

// The field's bytes up to its first NUL, or all `width` bytes when it has none.
std::string FieldText(const char* field, std::size_t width);

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

// Four address bytes in network order as dotted decimal text, the way
// inet_ntoa writes them ("192.168.1.10"); `out` receives at most 15
// characters and the terminator.
inline constexpr std::size_t kDottedTextSize = 16;
void FormatDottedQuad(const uint8_t address[4], char out[kDottedTextSize]);

}  // namespace lumora
