// `lumora plan`'s range assignment: a plan that gives every camera found a
// static address of a range (and, where asked, a mask, gateway, another
// mode and a name from a pattern), pure over the scan's results.
//
// The mask whose network and broadcast addresses are skipped is the given
// one; without it 255.255.255.0, and then the range must lie in one /24
// (a range across /24s needs the mask, since a guessed wider one could hand
// out the broadcast address of the real subnet). The gateway's own address
// is skipped as well, and so are the PC's addresses and gateways and every
// address a host that is no listed camera answers on. Only the given mask
// and gateway are written into the plan; the ip always is, and the mode
// (static unless one is given) for every camera that says its mode. A
// camera that does not say it gets the given mode, or static: the request
// always carries a mode, and for such a camera it is sent along with the
// address but is no change by itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/plan.h"
#include "provisioning/site_facts.h"

namespace lumora::provisioning {

struct AssignOptions {
  uint32_t first = 0, last = 0;  // the range, network byte order, first <= last
  std::optional<uint32_t> mask, gateway;  // a gateway of 0.0.0.0 clears the cameras'
  std::optional<std::string> mode;  // "static", "dhcp" or "pppoe"; default static
  std::string namePattern;          // "" = no name column; {n} and {n:0W}
  bool answerOrder = false;         // false: cameras in MAC order
  // Never handed out: an address there would take the PC, its router or
  // another host off the network.
  SiteFacts site;
};

// One row per MAC found (a MAC that answered from several addresses once,
// as it first answered), in the chosen order; row.line is the line the row
// takes in the plan CSV (2 for the first). Each camera gets the next free
// address of the range, skipping the network and broadcast addresses, the
// gateway, the site's addresses (above), every address a MAC that answered from
// several addresses holds (its row is refused, so none of them is freed)
// and every address kept by a camera the plan does not move; a
// camera whose address is in the range, is usable and is held by no other
// camera keeps it. A name's {n} is the place of the camera's address in
// the range (its first address is 1), so a camera that keeps its address
// keeps its name. False with `error` for too few addresses, a name longer
// than 16 bytes, a bad pattern, a gateway outside the range's subnet or on
// its edge, or a range the mask does not hold in one subnet.
bool PlanAddresses(const std::vector<FoundCamera>& cameras, const AssignOptions& options, Plan& plan,
                   std::string& error);

// "10.1.1.10-10.1.1.60" (each address as set reads one; first <= last) into
// network byte order.
bool ParseIpRange(const std::string& text, uint32_t& first, uint32_t& last, std::string& error);

}  // namespace lumora::provisioning
