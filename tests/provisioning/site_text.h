// The site beside the cameras written as the tables write it: "pc A" for an
// address of the PC, "gateway A" for one of its default gateways, "A MAC"
// for a host that answered at A with that MAC.
#pragma once

#include <string>
#include <vector>

#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/site_facts.h"

namespace lumora::provisioning {

inline SiteFacts SiteOf(const std::vector<std::string>& facts) {
  SiteFacts site;
  for (const std::string& fact : facts) {
    const std::size_t space = fact.find(' ');
    const std::string first = fact.substr(0, space), second = fact.substr(space + 1);
    uint32_t ip = 0;
    ReadDecimalIpv4(first == "pc" || first == "gateway" ? second : first, ip);
    if (first == "pc") site.pcAddresses.push_back(ip);
    else if (first == "gateway") site.pcGateways.push_back(ip);
    else site.inUse.push_back({ip, MacOf(TextToMac(second.c_str()).bytes)});
  }
  return site;
}

}  // namespace lumora::provisioning
