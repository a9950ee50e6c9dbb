// The IPv4 neighbour table through GetIpNetTable2 (iphlpapi), which any user
// may call. Neither SendARP nor ResolveIpNetEntry2 is used: Wine does not
// implement them, and the table read after a datagram says the same.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <windows.h>

#include <cstring>

#include "net/neighbour_table.h"

namespace lumora::net {
namespace {

NeighbourState StateOf(NL_NEIGHBOR_STATE state) {
  switch (state) {
    case NlnsIncomplete: return NeighbourState::kIncomplete;
    case NlnsReachable: return NeighbourState::kReachable;
    case NlnsStale: return NeighbourState::kStale;
    case NlnsDelay: return NeighbourState::kDelay;
    case NlnsProbe: return NeighbourState::kProbe;
    case NlnsUnreachable: return NeighbourState::kFailed;
    case NlnsPermanent: return NeighbourState::kPermanent;
    default: return NeighbourState::kOther;
  }
}

}  // namespace

bool ReadNeighbourTable(std::vector<NeighbourRow>& out, std::string& error) {
  out.clear();
  MIB_IPNET_TABLE2* table = nullptr;
  const DWORD result = GetIpNetTable2(AF_INET, &table);
  // Documented: an empty table is ERROR_NOT_FOUND, not an empty list.
  if (result == ERROR_NOT_FOUND) return true;
  if (result != NO_ERROR) {
    error = "the neighbour table cannot be read (GetIpNetTable2 error " + std::to_string(result) + ")";
    return false;
  }
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IPNET_ROW2& entry = table->Table[i];
    if (entry.Address.si_family != AF_INET) continue;
    NeighbourRow row;
    row.ip = entry.Address.Ipv4.sin_addr.s_addr;
    row.state = StateOf(entry.State);
    row.adapterIndex = entry.InterfaceIndex;
    if (entry.PhysicalAddressLength == row.mac.size()) {
      std::memcpy(row.mac.data(), entry.PhysicalAddress, row.mac.size());
      row.hasMac = true;
    }
    out.push_back(row);
  }
  FreeMibTable(table);
  return true;
}

}  // namespace lumora::net
