// The look-up's flow over the socket layer and the platform's table reader.
#include "net/neighbour_lookup.h"

#include <algorithm>
#include <thread>

#include "worker/net_interfaces.h"
#include "worker/net_socket.h"

namespace lumora::net {
namespace {

constexpr uint16_t kDiscardPort = 9;
constexpr std::chrono::milliseconds kReadEvery{20};

struct OpenSocket {
  Socket s = kInvalidSocket;
  bool started = false;
  ~OpenSocket() {
    if (s != kInvalidSocket) Close(s);
    if (started) Cleanup();
  }
};

// True when each address is looked up on at least one adapter.
std::vector<bool> SendProbes(Socket s, const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters) {
  static const uint8_t kNothing[1] = {0};
  std::vector<bool> sent(asked.size(), false);
  for (std::size_t i = 0; i < asked.size(); ++i) {
    for (const AdapterRoute& route : LookupRoutes(adapters, asked[i])) {
      if (SendFromAdapter(s, kNothing, 0, Address{asked[i], kDiscardPort}, route) >= 0) sent[i] = true;
    }
  }
  return sent;
}

bool AllInUse(const std::vector<AddressLookup>& found) {
  return std::all_of(found.begin(), found.end(), [](const AddressLookup& a) {
    return a.use == AddressUse::kInUse || a.use == AddressUse::kNotLookedUp;
  });
}

}  // namespace

bool LookUpAddresses(const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                     std::vector<AddressLookup>& out, std::string& error, std::chrono::milliseconds patience) {
  const auto start = std::chrono::steady_clock::now();
  OpenSocket socket;
  const int startup = Startup();
  if (startup != 0) {
    error = "the socket library did not start (code " + std::to_string(startup) + ")";
    return false;
  }
  socket.started = true;
  socket.s = OpenUdp();
  if (socket.s == kInvalidSocket || !Bind(socket.s, 0)) {
    error = "no socket for the look-up (code " + std::to_string(LastError()) + ")";
    return false;
  }
  const std::vector<bool> sent = SendProbes(socket.s, asked, adapters);
  std::vector<NeighbourRow> rows;
  for (;;) {
    if (!ReadNeighbourTable(rows, error)) return false;
    out = WhoAnswers(asked, adapters, rows);
    if (AllInUse(out) || std::chrono::steady_clock::now() - start >= patience) break;
    std::this_thread::sleep_for(kReadEvery);
  }
  // Free means asked and unanswered: without a datagram nobody was asked.
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (sent[i] || out[i].use != AddressUse::kFree) continue;
    out[i] = AddressLookup{};
    out[i].ip = asked[i];
  }
  return true;
}

}  // namespace lumora::net
