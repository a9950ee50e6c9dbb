// Status text formatting.
#include "worker/status_text.h"

#include <cstdio>
#include <cstring>

namespace lumora {

void FormatStatus(char (&out)[kStatusSize], const char* format, int code) {
  std::memset(out, 0, sizeof out);
  std::snprintf(out, sizeof out, format, code);
}

}  // namespace lumora
