// Sending the worker's requests out of the PC's adapters. A limited broadcast
// (255.255.255.255) sent unforced leaves by the adapter the routing table
// prefers, usually Wi-Fi, and on Linux and Wine fails outright with no
// default route; cameras on a switch behind any other adapter never hear it.
// So the search goes out of each adapter, forced onto it, and a configuration
// request out of the one its target camera answered on. On a PC with one
// adapter the wire is what an unforced broadcast would give.
#pragma once

#include <cstdint>
#include <vector>

#include "worker/net_interfaces.h"
#include "worker/net_socket.h"

namespace lumora {

struct SendOutcome {
  bool sent = false;  // left by at least one adapter
  int error = 0;      // when nothing was sent: the Winsock code of the last failure
};

// Sends `size` bytes to `to` once out of every adapter that is up, has an
// IPv4 address and can broadcast, whatever the number of its addresses. The
// list is read afresh at each call, so an adapter plugged in meanwhile is
// included. With no such adapter, or no list to be had, the datagram is sent
// once unforced, so that a failure carries the system's own code.
// `adapters` is the caller's scratch space.
SendOutcome SendOutOfEveryAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                  std::vector<net::Interface>& adapters);

// Sends out of adapter `adapter` alone, or unforced when it is 0.
SendOutcome SendOutOfAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to, uint32_t adapter);

}  // namespace lumora
