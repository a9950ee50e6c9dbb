// The host's IPv4 interfaces, and datagrams tied to one of them: sent out of
// a chosen interface whatever the routing table prefers, and received with
// the interface they arrived on. A limited broadcast (255.255.255.255) leaves
// by the default route's interface only, so cameras behind any other adapter
// are reached only this way. One implementation per platform, beside
// net_socket_*.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "worker/net_socket.h"

namespace lumora::net {

// Addresses in network byte order.
struct Interface {
  std::string name;    // "eth0"; the adapter's friendly name on Windows
  uint32_t index = 0;  // the OS interface index
  uint32_t ip = 0;
  uint32_t mask = 0;
  uint32_t broadcast = 0;  // the subnet-directed broadcast address
};

// Every interface that is up, has an IPv4 address and can broadcast
// (loopback and point-to-point links cannot), one entry per address.
// False with `error` set when the list cannot be had.
bool ListInterfaces(std::vector<Interface>& out, std::string& error);

// Asks the socket to report each datagram's arrival interface.
bool EnableArrivalInterface(Socket s);

// As RecvFrom, and `ifIndex` receives the arrival interface (0 when the
// platform did not say).
int RecvFromInterface(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& ifIndex);

// As SendTo, but out of interface `ifIndex`.
int SendToInterface(Socket s, const uint8_t* data, int size, const Address& to, uint32_t ifIndex);

}  // namespace lumora::net
