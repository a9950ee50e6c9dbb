// MAC addresses as the 12-digit text the dialog shows, and the comparison the
// configuration request builds its choice of fields on.
//
// Both conversions return by value, so the dialog thread and the worker never
// share a buffer that the other could overwrite.
#pragma once

#include <cstdint>

namespace lumora {

struct MacText {
  char text[13];  // 12 upper-case hex digits and the terminator
};

struct MacBytes {
  uint8_t bytes[6];
};

// 6 bytes, first byte first, as "%02X" each.
MacText MacToText(const uint8_t mac[6]);

// Reads exactly the first 12 characters of `text` (the caller makes sure there
// are 12) and turns each pair into a byte. Any character converts without an
// error, by the digit arithmetic in the .cpp: upper and lower case hex digits
// give the same bytes.
MacBytes TextToMac(const char* text);

// True when both texts are present and not identical byte for byte; false
// when either is absent. Case counts and nothing is trimmed.
bool TextsDiffer(const char* a, const char* b);

}  // namespace lumora
