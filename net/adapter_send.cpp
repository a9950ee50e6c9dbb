// One datagram per adapter, or one unforced.
#include "net/adapter_send.h"

#include <string>
#include <utility>

#include "net/net_interfaces.h"

namespace lumora {

SendOutcome SendOutOfEveryAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                  const std::vector<Adapter>& adapters, SubnetCopies copies) {
  SendOutcome outcome;
  outcome.error = kNetworkUnreachable;
  for (const PlannedSend& send : PlanSends(adapters, to.ip, copies)) {
    SendOutcome one = SendOutOfAdapter(s, data, size, {send.destination, to.port}, send.route);
    outcome.sent = outcome.sent || one.sent;
    if (!one.sent) outcome.error = one.error;
  }
  if (outcome.sent) outcome.error = 0;
  return outcome;
}

SendOutcome SendOutOfAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                             const AdapterRoute& route) {
  int sent = route.index != 0 ? net::SendFromAdapter(s, data, size, to, route) : net::SendTo(s, data, size, to);
  SendOutcome outcome;
  outcome.sent = sent >= 0;
  if (!outcome.sent) outcome.error = net::LastError();
  return outcome;
}

SendOutcome SendSearchOutOfListedAdapters(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                          std::vector<Adapter>& adapters, std::vector<Adapter>* every) {
  std::string ignored;  // the status texts are fixed
  if (!net::ListAdapters(adapters, ignored)) return SendOutOfAdapter(s, data, size, to, AdapterRoute{});
  if (every != nullptr) *every = adapters;
  adapters = ChooseAdapters(std::move(adapters));
  return SendOutOfEveryAdapter(s, data, size, to, adapters);
}

}  // namespace lumora
