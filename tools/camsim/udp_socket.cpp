#include "tools/camsim/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace camsim {
namespace {

// Larger than any UDP payload, so a datagram is never cut when read.
inline constexpr std::size_t kReceiveCapacity = 65536;

sockaddr_in AddressOf(const uint8_t ip[4], uint16_t port) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  std::memcpy(&address.sin_addr.s_addr, ip, 4);
  address.sin_port = htons(port);
  return address;
}

int SendBytes(int fd, const void* data, std::size_t size, const sockaddr_in& to) {
  ssize_t sent = sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent < 0) return errno;
  return static_cast<std::size_t>(sent) == size ? 0 : EMSGSIZE;
}

}  // namespace

bool OpenUdpSocket(uint16_t port, UdpSocket& socket, std::string& error) {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  int on = 1;
  if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    error = std::string("SO_BROADCAST: ") + std::strerror(errno);
    close(fd);
    return false;
  }
  const uint8_t any[4] = {0, 0, 0, 0};
  sockaddr_in address = AddressOf(any, port);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = "cannot bind port " + std::to_string(port) + ": " + std::strerror(errno);
    close(fd);
    return false;
  }
  socket.fd = fd;
  socket.port = port;
  return true;
}

void CloseUdpSocket(UdpSocket& socket) {
  if (socket.fd >= 0) close(socket.fd);
  socket.fd = -1;
}

int SendBroadcast(const UdpSocket& socket, uint16_t port, const std::vector<uint8_t>& data) {
  const uint8_t broadcast[4] = {255, 255, 255, 255};
  return SendBytes(socket.fd, data.data(), data.size(), AddressOf(broadcast, port));
}

int SendToPeer(const UdpSocket& socket, const uint8_t ip[4], uint16_t port,
               const std::string& text) {
  return SendBytes(socket.fd, text.data(), text.size(), AddressOf(ip, port));
}

bool ReceiveDatagram(const UdpSocket& socket, Received& received) {
  received.bytes.resize(kReceiveCapacity);
  sockaddr_in from;
  socklen_t fromSize = sizeof from;
  ssize_t length = recvfrom(socket.fd, received.bytes.data(), received.bytes.size(), MSG_DONTWAIT,
                            reinterpret_cast<sockaddr*>(&from), &fromSize);
  if (length < 0) return false;
  received.bytes.resize(static_cast<std::size_t>(length));
  std::memcpy(received.ip, &from.sin_addr.s_addr, 4);
  received.port = ntohs(from.sin_port);
  return true;
}

}  // namespace camsim
