// The socket replies arrive on, opened and read one way for the dialog's
// worker and for lumora: bound to the reply port with broadcasts allowed and
// a large receive buffer, each datagram read with the adapter it arrived on.
#pragma once

#include <cstdint>
#include <vector>

#include "net/adapters.h"
#include "net/net_socket.h"
#include "net/ports.h"
#include "protocol/arrival.h"

namespace lumora::net {

struct ReplySocket {
  Socket socket = kInvalidSocket;
  ReadWatch watch;
  bool started = false;          // the socket library is up and owes its Cleanup
  bool arrivalKnown = false;     // each datagram comes with its arrival adapter
  bool eventDriven = false;      // Wait sleeps until a datagram; else the caller polls
  int receiveBufferGranted = 0;  // what SO_RCVBUF the platform granted
};

// The start-up step that failed; each has its own status text in the dialog.
enum class OpenStep { kNone, kStartup, kSocket, kBind };

struct OpenOutcome {
  OpenStep failed = OpenStep::kNone;
  int code = 0;  // the Winsock code of the failure
  bool ok() const { return failed == OpenStep::kNone; }
};

// Starts the socket library and opens `out` bound to `port`. Arrival
// adapters and the readiness watch are asked for and reported, not
// required: each front decides what it can do without them. On a failure
// what was opened stays in `out` for CloseReplySocket.
OpenOutcome OpenReplySocket(ReplySocket& out, uint16_t port = kLocalPort);
void CloseReplySocket(ReplySocket& s);

// One datagram into `buffer`, its sender and arrival adapter described
// against `searched` (the adapters the last search went out of) into
// `arrival`, overwritten in place. -1 when there is none: LastError() tells
// why (kWouldBlock: nothing waiting).
int ReceiveWithArrival(ReplySocket& s, uint8_t* buffer, int capacity, const std::vector<Adapter>& searched,
                       Arrival& arrival);

// True for a receive failure that concerns one datagram and leaves the
// socket readable afterwards: one longer than the buffer (consumed), and the
// ICMP reports Windows hands to the next read after an earlier send. Any
// other failure (kWouldBlock aside) would only repeat.
bool ReceiveErrorPasses(int code);

}  // namespace lumora::net
