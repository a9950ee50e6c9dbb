#include "protocol/field_text.h"

#include <cstring>

namespace lumora {

std::string FieldText(const char* field, std::size_t width) {
  const void* nul = std::memchr(field, 0, width);
  std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
  return std::string(field, length);
}

}  // namespace lumora
