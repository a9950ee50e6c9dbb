// What "Assign addresses" knows of the site beyond its cameras: the PC's
// own addresses and gateways, and who answered on the addresses the worker
// looked up. One place turns that into the addresses a range must skip and
// the conflicts that stop a plan, so the rest of the dialog never reads the
// look-up's answers itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/site_preview.h"

namespace lumora {

// Every address of every adapter of the PC, and its default gateways.
struct PcFacts {
  std::vector<uint32_t> addresses, gateways;  // network byte order
};

// One looked-up address, as the worker found it.
struct AddressSeen {
  enum class Use { kNotLookedUp, kFree, kInUse };
  uint32_t ip = 0;
  Use use = Use::kNotLookedUp;
  std::array<uint8_t, 6> mac{};  // kInUse: who answered
  bool pcAddress = false;        // kInUse: the PC's own
};

// An address a host that is no listed camera answers on.
struct HeldAddress {
  uint32_t ip = 0;
  std::array<uint8_t, 6> mac{};
};

struct SiteCheck {
  std::vector<uint32_t> reserved;  // never handed out: the PC's, its gateways, and `held`
  std::vector<HeldAddress> held;
  std::vector<uint32_t> gateways;
};

// A MAC of a listed camera on an address is that camera, not a foreign host.
SiteCheck CheckSite(const PcFacts& pc, const std::vector<AddressSeen>& seen,
                    const std::vector<provisioning::FoundCamera>& listed);

// The addresses the preview's sent steps give their cameras, each once.
std::vector<uint32_t> PlannedAddresses(const provisioning::SitePreview& preview,
                                       const std::vector<provisioning::FoundCamera>& cameras);

// A sent row onto an address held by another host or used as the PC's
// gateway, as "line 3: ..." texts. A camera's own address never conflicts.
std::vector<std::string> SiteConflicts(const SiteCheck& check, const provisioning::SitePreview& preview,
                                       const std::vector<provisioning::FoundCamera>& cameras);

// "10.1.1.5 is in use by 00:11:22:33:44:55, which is no listed camera:
// skipped." for each held address from `first` to `last`.
std::string SkippedText(const SiteCheck& check, uint32_t first, uint32_t last);

// The planned addresses that were not looked up (on no network of the PC,
// or never asked), said as neither free nor in use; "" when there are none.
std::string NotLookedUpText(const std::vector<uint32_t>& planned, const std::vector<AddressSeen>& seen);

}  // namespace lumora
