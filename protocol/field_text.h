// Fixed-width record fields as text. A camera may fill a text field to its
// last byte, leaving no terminator; every reader of such a field goes through
// FieldText so that none of them runs on into the next field.
#pragma once

#include <cstddef>
#include <string>

namespace lumora {

// The field's bytes up to its first NUL, or all `width` bytes when it has none.
std::string FieldText(const char* field, std::size_t width);

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace lumora
