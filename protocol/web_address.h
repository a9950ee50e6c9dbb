// A camera's web page address, as the dialog's double click and `lumora open`
// both build it.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

// "http://IP/index.html" for port 80, "http://IP:PORT/index.html" for every
// other value, 0 and negative ones included.
std::string DeviceWebAddress(const char* ipText, int32_t httpPort);

}  // namespace lumora
