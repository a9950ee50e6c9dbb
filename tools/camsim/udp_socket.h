// The few BSD socket calls camsim needs: bound UDP sockets that may
// broadcast, and datagram send and receive with plain results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

struct UdpSocket {
  int fd = -1;
  uint16_t port = 0;  // the local port it is bound to
};

// Binds 0.0.0.0:port without SO_REUSEADDR (a port in use is an error, not a
// shared port) and allows broadcasts. False with `error` set on failure.
bool OpenUdpSocket(uint16_t port, UdpSocket& socket, std::string& error);
void CloseUdpSocket(UdpSocket& socket);

// 0 when the whole datagram went, else the errno of the failure.
int SendBroadcast(const UdpSocket& socket, uint16_t port, const std::vector<uint8_t>& data);
int SendToPeer(const UdpSocket& socket, const uint8_t ip[4], uint16_t port,
               const std::string& text);

struct Received {
  std::vector<uint8_t> bytes;
  uint8_t ip[4];
  uint16_t port;
};

// One waiting datagram, never blocking; false when none is waiting (or the
// read failed, which the next poll reports again).
bool ReceiveDatagram(const UdpSocket& socket, Received& received);

}  // namespace camsim
