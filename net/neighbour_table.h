// What the system's neighbour table says about addresses a look-up asked
// after: in use (with the hardware address that answered), free, or not
// looked up at all. The platform files only read the table into rows; what
// the rows mean is decided here alone, the same way on every platform, so
// it can be checked as a table over recorded rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "net/adapters.h"

namespace lumora::net {

using HardwareAddress = std::array<uint8_t, 6>;

// Linux's and Windows' neighbour states, as both name them.
enum class NeighbourState { kIncomplete, kReachable, kStale, kDelay, kProbe, kFailed, kPermanent, kOther };

// One entry of the system's IPv4 neighbour table.
struct NeighbourRow {
  uint32_t ip = 0;            // network byte order
  bool hasMac = false;        // the entry holds a 6-byte hardware address
  HardwareAddress mac{};
  NeighbourState state = NeighbourState::kOther;
  uint32_t adapterIndex = 0;  // the system's index of the adapter the entry belongs to
};

enum class AddressUse {
  kNotLookedUp,  // on no network of the PC's adapters (or nothing could be sent): neither free nor in use
  kFree,         // nothing answered on any adapter whose network holds it
  kInUse,        // something answered, or the PC holds it itself
};

struct AddressLookup {
  uint32_t ip = 0;
  AddressUse use = AddressUse::kNotLookedUp;
  HardwareAddress mac{};      // kInUse: who answered; zero for the PC's own address
  bool pcAddress = false;     // kInUse: one of the PC's own addresses
  uint32_t adapterIndex = 0;  // kInUse, kFree: the adapter it was looked up on
  std::string adapterName;
};

// Where `ip` can be looked up: one route per adapter (up, broadcast-capable,
// with a known index) with a subnet holding `ip` as a host address, from
// that subnet's address. Empty: `ip` cannot be looked up.
std::vector<AdapterRoute> LookupRoutes(const std::vector<Adapter>& adapters, uint32_t ip);

// The answer for each of `asked`, in order, from the table's `rows`. Only an
// entry on an adapter whose network holds the address, with a non-zero
// hardware address in a reachable, stale, delay or probe state, means that
// something answered; an incomplete or failed entry, or one of another
// adapter, means nothing.
std::vector<AddressLookup> WhoAnswers(const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                                      const std::vector<NeighbourRow>& rows);

// The system's IPv4 neighbour table; false with `error` when it cannot be
// read. One implementation per platform (neighbour_table_posix.cpp: rtnetlink;
// neighbour_table_win32.cpp: GetIpNetTable2). Unprivileged.
bool ReadNeighbourTable(std::vector<NeighbourRow>& out, std::string& error);

}  // namespace lumora::net
