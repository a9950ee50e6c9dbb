#include "protocol/web_address.h"

#include <cstdio>

namespace lumora {

std::string DeviceWebAddress(const char* ipText, int32_t httpPort) {
  char temp[512];
  if (httpPort == 80) {
    std::snprintf(temp, sizeof temp, "http://%s/index.html", ipText);
  } else {
    std::snprintf(temp, sizeof temp, "http://%s:%d/index.html", ipText, static_cast<int>(httpPort));
  }
  return temp;
}

}  // namespace lumora
