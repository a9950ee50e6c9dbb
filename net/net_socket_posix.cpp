// The socket layer over BSD sockets: poll() on the socket and a wake pipe.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/net_socket.h"
#include "net/posix_error_codes.h"
#include "net/socket_address.h"

namespace lumora::net {
namespace {

thread_local int tLastError = 0;

int Fail(int error) { return FailWithErrno(error); }

int Fd(Socket s) { return static_cast<int>(s); }

bool SetNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

int Startup() { return 0; }
void Cleanup() {}
int LastError() { return tLastError; }

int FailWithErrno(int error) {
  tLastError = WinsockCodeForErrno(error);
  return -1;
}

Socket OpenUdp() {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) {
    Fail(errno);
    return kInvalidSocket;
  }
  return fd;
}

void Close(Socket s) {
  if (s != kInvalidSocket) close(Fd(s));
}

bool SetBroadcast(Socket s) {
  int bcast = 1;
  if (setsockopt(Fd(s), SOL_SOCKET, SO_BROADCAST, &bcast, sizeof bcast) != 0) return Fail(errno), false;
  return true;
}

int SetReceiveBuffer(Socket s, int bytes) {
  setsockopt(Fd(s), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
  int granted = 0;
  socklen_t size = sizeof granted;
  if (getsockopt(Fd(s), SOL_SOCKET, SO_RCVBUF, &granted, &size) != 0) return 0;
  // Linux reports twice the usable size (it counts its own bookkeeping).
  return granted / 2;
}

bool Bind(Socket s, uint16_t port) {
  sockaddr_in serv_addr = ToSockaddr({kAnyAddress, port});
  if (bind(Fd(s), reinterpret_cast<sockaddr*>(&serv_addr), sizeof serv_addr) != 0) {
    return Fail(errno), false;
  }
  return true;
}

int SendTo(Socket s, const uint8_t* data, int size, const Address& to) {
  sockaddr_in remote_addr = ToSockaddr(to);
  ssize_t sent = sendto(Fd(s), data, static_cast<size_t>(size), 0,
                        reinterpret_cast<sockaddr*>(&remote_addr), sizeof remote_addr);
  if (sent < 0) return Fail(errno);
  return static_cast<int>(sent);
}

int RecvFrom(Socket s, uint8_t* buffer, int capacity, Address& from) {
  sockaddr_in sender;
  socklen_t nAddrSize = sizeof sender;
  std::memset(&sender, 0, sizeof sender);
  // MSG_TRUNC makes Linux return the datagram's real length instead of
  // silently cutting it, so an oversized one fails as it does on Winsock.
  ssize_t n = recvfrom(Fd(s), buffer, static_cast<size_t>(capacity), MSG_TRUNC | MSG_DONTWAIT,
                       reinterpret_cast<sockaddr*>(&sender), &nAddrSize);
  if (n < 0) return Fail(errno);
  from = AddressOf(sender);
  if (n > capacity) return Fail(EMSGSIZE);
  return static_cast<int>(n);
}

bool OpenWake(WakeSignal& wake) {
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return Fail(errno), false;
  wake.handles[0] = fds[0];
  wake.handles[1] = fds[1];
  return true;
}

void Signal(WakeSignal& wake) {
  if (wake.handles[1] < 0) return;
  const char one = 1;
  // A full pipe already holds a pending wake; nothing is lost by failing.
  ssize_t ignored = write(static_cast<int>(wake.handles[1]), &one, 1);
  (void)ignored;
}

void CloseWake(WakeSignal& wake) {
  for (intptr_t& handle : wake.handles) {
    if (handle >= 0) close(static_cast<int>(handle));
    handle = -1;
  }
}

bool WatchReadable(Socket s, ReadWatch& watch) {
  watch.socket = s;
  watch.handle = s;
  if (!SetNonBlocking(Fd(s))) return Fail(errno), false;
  return true;
}

void CloseWatch(ReadWatch& watch) {
  watch.handle = -1;
  watch.socket = kInvalidSocket;
}

void Wait(ReadWatch& watch, WakeSignal& wake, int timeoutMs) {
  pollfd fds[2] = {{Fd(watch.socket), POLLIN, 0}, {static_cast<int>(wake.handles[0]), POLLIN, 0}};
  nfds_t count = wake.handles[0] >= 0 ? 2 : 1;
  if (poll(fds, count, timeoutMs < 0 ? -1 : timeoutMs) <= 0) return;
  if (count == 2 && (fds[1].revents & POLLIN)) {
    char drain[64];
    while (read(fds[1].fd, drain, sizeof drain) > 0) {
    }
  }
}

}  // namespace lumora::net
