// Questions about the site facts that the range and the match both ask.
#include "provisioning/site_facts.h"

#include <algorithm>

#include "protocol/ipv4.h"

namespace lumora::provisioning {

const AddressInUse* ForeignHolder(const SiteFacts& site, const std::vector<FoundCamera>& cameras, uint32_t ip) {
  for (const AddressInUse& entry : site.inUse) {
    if (entry.ip != ip) continue;
    const bool listedThere = std::any_of(cameras.begin(), cameras.end(), [&](const FoundCamera& camera) {
      uint32_t at = 0;
      return MacOf(camera.record.mac) == entry.mac && ReadDecimalIpv4(camera.record.ipText, at) && at == ip;
    });
    if (!listedThere) return &entry;
  }
  return nullptr;
}

bool IsPcAddressOrGateway(const SiteFacts& site, uint32_t ip) {
  auto has = [ip](const std::vector<uint32_t>& list) { return std::find(list.begin(), list.end(), ip) != list.end(); };
  return has(site.pcAddresses) || has(site.pcGateways);
}

}  // namespace lumora::provisioning
