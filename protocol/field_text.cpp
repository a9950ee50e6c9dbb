#include "protocol/field_text.h"

#include <cstdio>
#include <cstring>

namespace lumora {

std::string FieldText(const char* field, std::size_t width) {
  const void* nul = std::memchr(field, 0, width);
  std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
  return std::string(field, length);
}

void FormatDottedQuad(const uint8_t address[4], char out[kDottedTextSize]) {
  std::memset(out, 0, kDottedTextSize);
  std::snprintf(out, kDottedTextSize, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

}  // namespace lumora
