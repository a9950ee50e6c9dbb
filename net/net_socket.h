// The thin socket layer under the worker: one UDP socket, a wake signal, and a
// wait that sleeps until a datagram or a wake arrives. One implementation per
// platform (Winsock, BSD sockets); CMake compiles exactly one of them.
//
// Errors are reported as Winsock codes on every platform, so that a status
// text reads the same natively and on Windows (10048 for a port in use, ...).
#pragma once

#include <cstdint>

namespace lumora::net {

using Socket = intptr_t;
inline constexpr Socket kInvalidSocket = -1;

// The Winsock code the worker acts on: nothing is waiting to be read.
inline constexpr int kWouldBlock = 10035;  // WSAEWOULDBLOCK

inline constexpr uint32_t kBroadcastAddress = 0xFFFFFFFFu;  // 255.255.255.255
inline constexpr uint32_t kAnyAddress = 0;

// An IPv4 address in network byte order and a port in host order.
struct Address {
  uint32_t ip;
  uint16_t port;
};

// 0 when the socket library is ready, else its start-up error code.
int Startup();
void Cleanup();

// The Winsock code of the last failed call on this thread.
int LastError();

Socket OpenUdp();
void Close(Socket s);
bool SetBroadcast(Socket s);
// Asks for a receive buffer of `bytes`; returns what the platform granted
// (0 when it cannot tell).
int SetReceiveBuffer(Socket s, int bytes);
bool Bind(Socket s, uint16_t port);

// Bytes sent, or -1 (LastError() tells why).
int SendTo(Socket s, const uint8_t* data, int size, const Address& to);

// Never blocks once WatchReadable has succeeded. Returns the length of one
// datagram (0 included), or -1: LastError() is kWouldBlock when nothing is
// waiting, and 10040 (WSAEMSGSIZE) when the datagram was longer than `capacity`
// (the datagram is consumed and not delivered).
int RecvFrom(Socket s, uint8_t* buffer, int capacity, Address& from);

// Lets another thread wake a Wait. Open before the worker starts, so the
// dialog can signal it at any time; Signal is safe from any thread.
struct WakeSignal {
  intptr_t handles[2] = {-1, -1};
};
bool OpenWake(WakeSignal& wake);
void Signal(WakeSignal& wake);
void CloseWake(WakeSignal& wake);

// The readiness source of one socket. WatchReadable makes the socket
// non-blocking and ties it to the watch.
struct ReadWatch {
  intptr_t handle = -1;
  Socket socket = kInvalidSocket;
};
bool WatchReadable(Socket s, ReadWatch& watch);
void CloseWatch(ReadWatch& watch);

// Sleeps until the socket is readable or the wake is signalled, or at most
// `timeoutMs` (negative: no limit); returns at once when a datagram is
// already waiting. Uses no CPU while it sleeps.
void Wait(ReadWatch& watch, WakeSignal& wake, int timeoutMs);

}  // namespace lumora::net
