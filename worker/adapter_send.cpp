// One datagram per adapter, or one unforced.
#include "worker/adapter_send.h"

#include <string>

namespace lumora {
namespace {

// An adapter with several IPv4 addresses is listed once per address.
bool ListedBefore(const std::vector<net::Interface>& adapters, std::size_t i) {
  for (std::size_t j = 0; j < i; ++j) {
    if (adapters[j].index == adapters[i].index) return true;
  }
  return false;
}

}  // namespace

SendOutcome SendOutOfEveryAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to,
                                  std::vector<net::Interface>& adapters) {
  adapters.clear();
  std::string ignored;  // the status texts are fixed: a failed listing searches as before
  if (!net::ListInterfaces(adapters, ignored)) adapters.clear();
  SendOutcome outcome;
  bool tried = false;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    if (adapters[i].index == 0 || ListedBefore(adapters, i)) continue;
    tried = true;
    if (net::SendToInterface(s, data, size, to, adapters[i].index) >= 0) {
      outcome.sent = true;
    } else {
      outcome.error = net::LastError();
    }
  }
  if (!tried) return SendOutOfAdapter(s, data, size, to, 0);
  if (outcome.sent) outcome.error = 0;
  return outcome;
}

SendOutcome SendOutOfAdapter(net::Socket s, const uint8_t* data, int size, const net::Address& to, uint32_t adapter) {
  int sent = adapter != 0 ? net::SendToInterface(s, data, size, to, adapter) : net::SendTo(s, data, size, to);
  SendOutcome outcome;
  outcome.sent = sent >= 0;
  if (!outcome.sent) outcome.error = net::LastError();
  return outcome;
}

}  // namespace lumora
