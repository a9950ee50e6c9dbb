// The host's network adapters, and datagrams tied to one of them: sent out
// of a chosen adapter from its own address whatever the routing table
// prefers, and received with the adapter they arrived on. A limited
// broadcast (255.255.255.255) leaves by one adapter only, the one the
// routing table prefers, so cameras behind any other adapter are reached
// only this way. One implementation per platform, beside net_socket_*.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/adapters.h"
#include "net/net_socket.h"

namespace lumora::net {

// Every adapter with its IPv4 addresses, one record per adapter, as the
// system reports it (ChooseAdapters picks those a search goes out of). No
// adapter with an IPv4 address is an empty list. False with `error` set
// when the list cannot be had.
bool ListAdapters(std::vector<Adapter>& out, std::string& error);

// Asks the socket to report each datagram's arrival adapter.
bool EnableArrivalAdapter(Socket s);

// As RecvFrom, and `adapterIndex` receives the arrival adapter (0 when the
// platform did not say).
int RecvFromAdapter(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& adapterIndex);

// As SendTo, but out of adapter `route.index` with `route.source` as the
// datagram's source address.
int SendFromAdapter(Socket s, const uint8_t* data, int size, const Address& to, const AdapterRoute& route);

}  // namespace lumora::net
