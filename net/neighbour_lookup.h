// Who answers on an address: one empty UDP datagram to the discard port of
// each address, all at once, out of each adapter whose network holds it, so
// that the system resolves its hardware address; then the neighbour table,
// read until every address has an answer or the time is up. An address on
// no adapter's network is not looked up, never guessed free or in use.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "net/neighbour_table.h"
#include "net/adapters.h"

namespace lumora::net {

// A host answers ARP within milliseconds; a second also covers a slow
// camera, and is all a plan or an apply can spare to wait.
inline constexpr std::chrono::milliseconds kLookupPatience{1000};

// The answer for each of `asked`, in order, looked up on `adapters` (the
// PC's, as ListAdapters gives them). False with `error` when no socket or
// table can be had; an address whose datagrams could not be sent is not
// looked up.
bool LookUpAddresses(const std::vector<uint32_t>& asked, const std::vector<Adapter>& adapters,
                     std::vector<AddressLookup>& out, std::string& error,
                     std::chrono::milliseconds patience = kLookupPatience);

}  // namespace lumora::net
