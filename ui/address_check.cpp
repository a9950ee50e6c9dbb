// The site's facts beyond the cameras, and the summary's words on them.
#include "ui/address_check.h"

#include <algorithm>

#include "protocol/ipv4.h"
#include "provisioning/plan.h"
#include "provisioning/sheet_text.h"

namespace lumora {
namespace {

using provisioning::FoundCamera;
using provisioning::SitePreview;
using provisioning::Step;
using provisioning::StepStatus;

bool Holds(const std::vector<uint32_t>& list, uint32_t ip) { return std::find(list.begin(), list.end(), ip) != list.end(); }

bool IsListedMac(const std::vector<FoundCamera>& listed, const std::array<uint8_t, 6>& mac) {
  return std::any_of(listed.begin(), listed.end(),
                     [&](const FoundCamera& c) { return std::equal(mac.begin(), mac.end(), c.record.mac); });
}

uint32_t AddressOf(const std::string& text) {
  uint32_t ip = 0;
  return ReadDecimalIpv4(text, ip) ? ip : 0;
}

// The address a sent step moves its camera to; 0 when it keeps its own.
uint32_t TargetOf(const SitePreview& preview, const Step& step, const std::vector<FoundCamera>& cameras) {
  if (step.status != StepStatus::kSend || !step.camera) return 0;
  const std::optional<std::string>& cell = preview.plan.rows[step.row][SettingId::kIp];
  if (!cell) return 0;
  const uint32_t target = AddressOf(*cell);
  return target == AddressOf(cameras[*step.camera].record.ipText) ? 0 : target;
}

}  // namespace

provisioning::SiteFacts SiteFactsOf(const PcFacts& pc, const std::vector<AddressSeen>& seen,
                                    const std::vector<FoundCamera>& listed) {
  provisioning::SiteFacts site;
  site.pcAddresses = pc.addresses;
  site.pcGateways = pc.gateways;
  for (const AddressSeen& answer : seen) {
    if (answer.use != AddressSeen::Use::kInUse || answer.pcAddress || IsListedMac(listed, answer.mac)) continue;
    site.inUse.push_back({answer.ip, provisioning::MacOf(answer.mac.data())});
  }
  return site;
}

std::vector<uint32_t> PlannedAddresses(const SitePreview& preview, const std::vector<FoundCamera>& cameras) {
  std::vector<uint32_t> planned;
  for (const Step& step : preview.steps) {
    const uint32_t target = TargetOf(preview, step, cameras);
    if (target != 0 && !Holds(planned, target)) planned.push_back(target);
  }
  return planned;
}

std::string SkippedText(const provisioning::SiteFacts& site, uint32_t first, uint32_t last) {
  std::string text;
  for (const provisioning::AddressInUse& held : site.inUse) {
    if (HostOrder(held.ip) < HostOrder(first) || HostOrder(held.ip) > HostOrder(last)) continue;
    text += (text.empty() ? "" : " ") + Ipv4Text(held.ip) + " is in use by " + provisioning::ColonMac(held.mac.bytes.data()) +
            ", which is no listed camera: skipped.";
  }
  return text;
}

std::string NotLookedUpText(const std::vector<uint32_t>& planned, const std::vector<AddressSeen>& seen) {
  std::vector<uint32_t> missing;
  bool unasked = false;
  for (uint32_t ip : planned) {
    auto answer = std::find_if(seen.begin(), seen.end(), [&](const AddressSeen& a) { return a.ip == ip; });
    if (answer != seen.end() && answer->use != AddressSeen::Use::kNotLookedUp) continue;
    missing.push_back(ip);
    unasked = unasked || answer == seen.end();
  }
  if (missing.empty()) return "";
  // A few named are enough to find the network; the count says the rest.
  std::string named;
  for (std::size_t i = 0; i < missing.size() && i < 3; ++i) named += (i ? ", " : "") + Ipv4Text(missing[i]);
  if (missing.size() > 3) named += ", ...";
  return std::to_string(missing.size()) + " planned address" + (missing.size() == 1 ? " was" : "es were") +
         " not looked up (" + named + "): on no network of this PC's adapters" +
         (unasked ? " or past the addresses looked up" : "") + ", so whether another host holds them is not known.";
}

}  // namespace lumora
