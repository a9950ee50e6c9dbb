// The look-up's flow over the socket layer and the platform's table reader.
#include "net/neighbour_lookup.h"

#include <algorithm>
#include <thread>

#include "net/net_interfaces.h"
#include "net/net_socket.h"

namespace lumora::net {
namespace {

constexpr uint16_t kDiscardPort = 9;
constexpr std::chrono::milliseconds kReadEvery{20};

// A datagram waiting for its address to resolve is charged to its socket's
// send buffer until the system gives the address up (about 3 s later): on
// Linux about 200 of them fill the default buffer, and the next send then
// blocks until they are dropped. Each socket carries only this many, and a
// look-up past what its sockets carry waits rather than holding more files.
constexpr std::size_t kAddressesPerSocket = 50;
constexpr std::size_t kMostSockets = 16;

struct Sockets {
  std::vector<Socket> open;
  bool started = false;
  ~Sockets() {
    for (Socket s : open) Close(s);
    if (started) Cleanup();
  }
};

// True for each address looked up on at least one adapter.
bool SendProbes(Sockets& sockets, const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                std::vector<bool>& sent, std::string& error) {
  static const uint8_t kNothing[1] = {0};
  sent.assign(asked.size(), false);
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const std::size_t which = i / kAddressesPerSocket % kMostSockets;
    if (which == sockets.open.size()) {
      const Socket s = OpenUdp();
      if (s == kInvalidSocket) {
        error = "no socket for the look-up (code " + std::to_string(LastError()) + ")";
        return false;
      }
      sockets.open.push_back(s);
      if (!Bind(s, 0)) {
        error = "no socket for the look-up (code " + std::to_string(LastError()) + ")";
        return false;
      }
    }
    for (const AdapterRoute& route : LookupRoutes(adapters, asked[i])) {
      if (SendFromAdapter(sockets.open[which], kNothing, 0, Address{asked[i], kDiscardPort}, route) >= 0) {
        sent[i] = true;
      }
    }
  }
  return true;
}

// Nothing more to wait for: every address is in use or cannot be looked up.
bool AllAnswered(const std::vector<AddressLookup>& found) {
  return std::all_of(found.begin(), found.end(), [](const AddressLookup& a) {
    return a.use == AddressUse::kInUse || a.use == AddressUse::kNotLookedUp;
  });
}

}  // namespace

bool LookUpAddresses(const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                     std::vector<AddressLookup>& out, std::string& error, std::chrono::milliseconds patience) {
  const auto start = std::chrono::steady_clock::now();
  Sockets sockets;
  const int startup = Startup();
  if (startup != 0) {
    error = "the socket library did not start (code " + std::to_string(startup) + ")";
    return false;
  }
  sockets.started = true;
  std::vector<bool> sent;
  if (!SendProbes(sockets, asked, adapters, sent, error)) return false;
  // Read again and again until all answer; the last read starts when it
  // still ends by the deadline, however long a read takes (under Wine a
  // table of 250 entries takes about 0.4 s to read).
  const auto deadline = start + patience;
  std::chrono::steady_clock::duration slowest{};
  std::vector<NeighbourRow> rows;
  for (;;) {
    const auto before = std::chrono::steady_clock::now();
    if (!ReadNeighbourTable(rows, error)) return false;
    out = WhoAnswers(asked, adapters, rows);
    const auto now = std::chrono::steady_clock::now();
    slowest = std::max(slowest, now - before);
    const auto lastRead = deadline - slowest;
    if (AllAnswered(out) || now >= lastRead) break;
    std::this_thread::sleep_until(std::min(now + kReadEvery, lastRead));
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
