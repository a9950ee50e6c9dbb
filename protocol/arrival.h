// Where a reply came from: the PC's adapter it arrived on and the camera's
// address. The worker, lumora and the site plan keep it beside each record;
// a request to the camera goes out of that adapter, to that source port.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// Addresses in network byte order.
struct Arrival {
  uint32_t index = 0;  // the adapter's; 0 when the platform did not say
  // Its name and its subnet that holds the sender, else its first, when the
  // last search went out of it; "" and a mask of 0 (not known) otherwise.
  std::string name;
  uint32_t ip = 0;
  uint32_t mask = 0;
  uint32_t sourceIp = 0;
  uint16_t sourcePort = 0;
};

// A datagram from one of the PC's own addresses (`pcAddresses`: those of the
// adapters searched) is the PC's own search or request heard by its own
// socket, never a camera's reply, whatever its bytes say.
inline bool FromPc(const Arrival& arrival, const std::vector<uint32_t>& pcAddresses) {
  return std::find(pcAddresses.begin(), pcAddresses.end(), arrival.sourceIp) != pcAddresses.end();
}

}  // namespace lumora
