// The reply socket's start-up and its one read.
#include "net/reply_socket.h"

#include <algorithm>
#include <iterator>

#include "net/net_interfaces.h"

namespace lumora::net {

OpenOutcome OpenReplySocket(ReplySocket& out, uint16_t port) {
  if (int code = Startup()) return {OpenStep::kStartup, code};
  out.started = true;
  out.socket = OpenUdp();
  if (out.socket == kInvalidSocket || !SetBroadcast(out.socket)) return {OpenStep::kSocket, LastError()};
  out.receiveBufferGranted = SetReceiveBuffer(out.socket, kReceiveBufferRequest);
  if (!Bind(out.socket, port)) return {OpenStep::kBind, LastError()};
  out.arrivalKnown = EnableArrivalAdapter(out.socket);
  out.eventDriven = WatchReadable(out.socket, out.watch);
  return {};
}

void CloseReplySocket(ReplySocket& s) {
  CloseWatch(s.watch);
  Close(s.socket);
  s.socket = kInvalidSocket;
  if (s.started) Cleanup();
  s.started = false;
}

int ReceiveWithArrival(ReplySocket& s, uint8_t* buffer, int capacity, const std::vector<Adapter>& searched,
                       Arrival& arrival) {
  Address sender{};
  uint32_t adapter = 0;
  int n = s.arrivalKnown ? RecvFromAdapter(s.socket, buffer, capacity, sender, adapter)
                         : RecvFrom(s.socket, buffer, capacity, sender);
  if (n >= 0) DescribeArrival(searched, adapter, sender.ip, sender.port, arrival);
  return n;
}

bool ReceiveErrorPasses(int code) {
  constexpr int kPassing[] = {
      10004,  // WSAEINTR
      10040,  // WSAEMSGSIZE
      10052,  // WSAENETRESET: time to live expired
      10054,  // WSAECONNRESET: port unreachable
  };
  return std::find(std::begin(kPassing), std::end(kPassing), code) != std::end(kPassing);
}

}  // namespace lumora::net
