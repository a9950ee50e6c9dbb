// The three readings.
#include "protocol/camera_findings.h"

#include "protocol/ipv4.h"

namespace lumora {

CameraFindings FindingsOf(const CameraFacts& facts) {
  CameraFindings findings;
  findings.offSubnet = !InSubnet(facts.ip, facts.adapterIp, facts.adapterMask);
  findings.duplicateIp = facts.othersWithIp > 0;
  findings.duplicateMac = facts.otherAddressesOfMac > 0;
  return findings;
}

std::vector<std::string> FindingNames(const CameraFindings& findings) {
  std::vector<std::string> names;
  if (findings.duplicateMac) names.push_back(kFindingDuplicateMac);
  if (findings.duplicateIp) names.push_back(kFindingDuplicateIp);
  if (findings.offSubnet) names.push_back(kFindingOffSubnet);
  return names;
}

}  // namespace lumora
