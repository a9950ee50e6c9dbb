// The socket layer over Winsock: WSAEventSelect on the socket and an event
// for the wake, waited on together with WaitForMultipleObjects.
#include <winsock2.h>
#include <mswsock.h>
#include <windows.h>

#include <cstring>

#include "net/net_socket.h"
#include "net/socket_address.h"

namespace lumora::net {
namespace {

SOCKET Sock(Socket s) { return static_cast<SOCKET>(s); }
HANDLE Handle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
bool HasHandle(intptr_t h) { return h != -1 && h != 0; }

// Whether a datagram is waiting, asked in a way that re-enables FD_READ.
// WSAEventSelect re-enables it after recv, recvfrom, WSARecv, WSARecvEx and
// WSARecvFrom only; WSARecvMsg, which takes the arrival adapter, is not
// among them, so without this a reply that came in after the last read
// would wait unread for the next wake. A one-byte peek of a longer datagram
// fails with WSAEMSGSIZE, which also means something is there.
bool DatagramWaiting(Socket s) {
  char byte;
  sockaddr_in sender;
  int size = sizeof sender;
  int n = recvfrom(Sock(s), &byte, 1, MSG_PEEK, reinterpret_cast<sockaddr*>(&sender), &size);
  return n != SOCKET_ERROR || WSAGetLastError() != WSAEWOULDBLOCK;
}

}  // namespace

int Startup() {
  // Version 2.2: the event-driven wait below (WSAEventSelect) is a Windows
  // Sockets 2 call. Everything else is what 1.1 offers.
  WSADATA wsaData;
  return WSAStartup(MAKEWORD(2, 2), &wsaData);
}

void Cleanup() { WSACleanup(); }
int LastError() { return WSAGetLastError(); }

Socket OpenUdp() {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return kInvalidSocket;
  // Without this, an ICMP "port unreachable" for an earlier datagram makes the
  // next recvfrom fail with WSAECONNRESET, which is no fault of the reply.
  BOOL reportReset = FALSE;
  DWORD returned = 0;
  WSAIoctl(s, SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &returned, nullptr,
           nullptr);
  return static_cast<Socket>(s);
}

void Close(Socket s) {
  if (s != kInvalidSocket) closesocket(Sock(s));
}

bool SetBroadcast(Socket s) {
  BOOL bcast = TRUE;
  return setsockopt(Sock(s), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&bcast),
                    sizeof bcast) == 0;
}

int SetReceiveBuffer(Socket s, int bytes) {
  setsockopt(Sock(s), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
  int granted = 0;
  int size = sizeof granted;
  if (getsockopt(Sock(s), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &size) != 0) {
    return 0;
  }
  return granted;
}

bool Bind(Socket s, uint16_t port) {
  sockaddr_in serv_addr = ToSockaddr({kAnyAddress, port});
  return bind(Sock(s), reinterpret_cast<sockaddr*>(&serv_addr), sizeof serv_addr) == 0;
}

int SendTo(Socket s, const uint8_t* data, int size, const Address& to) {
  sockaddr_in remote_addr = ToSockaddr(to);
  int sent = sendto(Sock(s), reinterpret_cast<const char*>(data), size, 0,
                    reinterpret_cast<sockaddr*>(&remote_addr), sizeof remote_addr);
  return sent == SOCKET_ERROR ? -1 : sent;
}

int RecvFrom(Socket s, uint8_t* buffer, int capacity, Address& from) {
  sockaddr_in sender;
  int nAddrSize = sizeof sender;
  std::memset(&sender, 0, sizeof sender);
  int n = recvfrom(Sock(s), reinterpret_cast<char*>(buffer), capacity, 0,
                   reinterpret_cast<sockaddr*>(&sender), &nAddrSize);
  if (n == SOCKET_ERROR) return -1;
  from = AddressOf(sender);
  return n;
}

bool OpenWake(WakeSignal& wake) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (event == nullptr) return false;
  wake.handles[0] = reinterpret_cast<intptr_t>(event);
  return true;
}

void Signal(WakeSignal& wake) {
  if (HasHandle(wake.handles[0])) SetEvent(Handle(wake.handles[0]));
}

void CloseWake(WakeSignal& wake) {
  if (HasHandle(wake.handles[0])) CloseHandle(Handle(wake.handles[0]));
  wake.handles[0] = -1;
}

bool WatchReadable(Socket s, ReadWatch& watch) {
  watch.socket = s;
  WSAEVENT event = WSACreateEvent();
  if (event == WSA_INVALID_EVENT) return false;
  // WSAEventSelect also puts the socket into non-blocking mode.
  if (WSAEventSelect(Sock(s), event, FD_READ) == SOCKET_ERROR) {
    WSACloseEvent(event);
    u_long nonBlocking = 1;
    ioctlsocket(Sock(s), FIONBIO, &nonBlocking);
    return false;
  }
  watch.handle = reinterpret_cast<intptr_t>(event);
  return true;
}

void CloseWatch(ReadWatch& watch) {
  // Winsock would go on signalling a selected event after it is closed, and
  // its handle value may by then belong to something else: the selection is
  // cancelled first.
  if (HasHandle(watch.handle) && watch.socket != kInvalidSocket) WSAEventSelect(Sock(watch.socket), nullptr, 0);
  if (HasHandle(watch.handle)) WSACloseEvent(reinterpret_cast<WSAEVENT>(watch.handle));
  watch.handle = -1;
  watch.socket = kInvalidSocket;
}

void Wait(ReadWatch& watch, WakeSignal& wake, int timeoutMs) {
  HANDLE handles[2];
  DWORD count = 0;
  if (HasHandle(watch.handle)) {
    // The documented reset of the event, which also clears the socket's
    // record of the readiness already seen; then the peek, after which a
    // new datagram sets the event again.
    WSANETWORKEVENTS seen;
    WSAEnumNetworkEvents(Sock(watch.socket), Handle(watch.handle), &seen);
    if (DatagramWaiting(watch.socket)) return;
    handles[count++] = Handle(watch.handle);
  }
  if (HasHandle(wake.handles[0])) handles[count++] = Handle(wake.handles[0]);
  DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (count == 0) {
    Sleep(limit == INFINITE ? 10 : limit);
    return;
  }
  WaitForMultipleObjects(count, handles, FALSE, limit);
}

}  // namespace lumora::net
