// The socket layer's Address as the sockaddr_in the platform's calls take
// and give, for the platform files alone (net_socket_*.cpp,
// net_interfaces_*.cpp): both socket libraries lay it out alike.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include <cstring>

#include "net/net_socket.h"

namespace lumora::net {

inline sockaddr_in ToSockaddr(const Address& address) {
  sockaddr_in out;
  std::memset(&out, 0, sizeof out);
  out.sin_family = AF_INET;
  out.sin_port = htons(address.port);
  out.sin_addr.s_addr = address.ip;
  return out;
}

inline Address AddressOf(const sockaddr_in& address) { return {address.sin_addr.s_addr, ntohs(address.sin_port)}; }

}  // namespace lumora::net
