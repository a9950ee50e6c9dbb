// What "Assign addresses" knows of the site beyond its cameras: the PC's
// own addresses and gateways, and who answered on the addresses the worker
// looked up. One place turns that into the site the range plans around and
// the match checks, and into the summary's words on it, so the rest of the
// dialog never reads the look-up's answers itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "provisioning/found_camera.h"
#include "provisioning/site_facts.h"
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

// The PC's addresses and gateways, and each address a MAC of no listed
// camera answers on: a listed camera's MAC is that camera, wherever it is.
provisioning::SiteFacts SiteFactsOf(const PcFacts& pc, const std::vector<AddressSeen>& seen,
                                    const std::vector<provisioning::FoundCamera>& listed);

// The addresses the preview's sent steps give their cameras, each once.
std::vector<uint32_t> PlannedAddresses(const provisioning::SitePreview& preview,
                                       const std::vector<provisioning::FoundCamera>& cameras);

// "10.1.1.5 is in use by 00:11:22:33:44:55, which is no listed camera:
// skipped." for each address in use from `first` to `last`.
std::string SkippedText(const provisioning::SiteFacts& site, uint32_t first, uint32_t last);

// The planned addresses that were not looked up (on no network of the PC,
// or never asked), said as neither free nor in use; "" when there are none.
std::string NotLookedUpText(const std::vector<uint32_t>& planned, const std::vector<AddressSeen>& seen);

}  // namespace lumora
