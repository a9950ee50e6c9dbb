// Sending requests out of the PC's adapters. A limited broadcast
// (255.255.255.255) sent unforced leaves by the adapter the routing table
// prefers, usually Wi-Fi, and on Linux and Wine fails outright with no
// default route; cameras on a switch behind any other adapter never hear it.
// So a search goes out of each adapter, forced onto it and from its own
// address, and a configuration request out of the one its target camera
// answered on. On a PC with one adapter the wire is what an unforced
// broadcast would give.
#pragma once

#include <cstdint>
#include <vector>

#include "net/adapters.h"
#include "net/net_socket.h"

namespace lumora {

// What Winsock reports for a broadcast on a PC with no route
// (WSAENETUNREACH): the outcome when no adapter can broadcast.
inline constexpr int kNetworkUnreachable = 10051;

struct SendOutcome {
  bool sent = false;  // left by at least one adapter
  int error = 0;      // when nothing was sent: the Winsock code of the last failure
};

// Sends `size` bytes to `to` out of each of `adapters` (as ChooseAdapters
// gives them), as PlanSends lays it out. With none, nothing is sent: Windows
// keeps a 255.255.255.255 route on loopback, so an unforced send there would
// report success while no camera could hear it.
SendOutcome SendOutOfEveryAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                  const std::vector<Adapter>& adapters, SubnetCopies copies = SubnetCopies::kNone);

// Sends out of one adapter, or unforced for a route of 0.
SendOutcome SendOutOfAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                             const AdapterRoute& route);

// The worker's search: the adapters listed afresh (so one plugged in
// meanwhile is included) and chosen, into the caller's scratch `adapters`.
// A list that cannot be had is no reason to stay silent: then the search
// goes out once unforced, so a failure carries the system's own code.
// With `every`, the whole list before the choice goes there as well.
SendOutcome SendSearchOutOfListedAdapters(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                          std::vector<Adapter>& adapters, std::vector<Adapter>* every = nullptr);

}  // namespace lumora
