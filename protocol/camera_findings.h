// What bites a camera in the field, read the same way by the dialog's note,
// its "Copy list" and lumora's warnings: outside the network of the adapter
// it answered on, an IP address another camera also has, a MAC that has
// answered from more than one address. The callers count; this decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// Addresses and masks in network byte order.
struct CameraFacts {
  uint32_t ip = 0;
  // The subnet of the adapter the camera answered on; a mask of 0 when that
  // adapter is not known, which never reads as outside.
  uint32_t adapterIp = 0;
  uint32_t adapterMask = 0;
  std::size_t othersWithIp = 0;          // other listed cameras with this IP address
  std::size_t otherAddressesOfMac = 0;   // other addresses this MAC answered from
};

struct CameraFindings {
  bool offSubnet = false;
  bool duplicateIp = false;
  bool duplicateMac = false;

  bool any() const { return offSubnet || duplicateIp || duplicateMac; }
};

CameraFindings FindingsOf(const CameraFacts& facts);

inline constexpr char kFindingDuplicateMac[] = "duplicate-mac";
inline constexpr char kFindingDuplicateIp[] = "duplicate-ip";
inline constexpr char kFindingOffSubnet[] = "off-subnet";

// The findings by the names lumora prints, in its order: duplicate-mac,
// duplicate-ip, off-subnet.
std::vector<std::string> FindingNames(const CameraFindings& findings);

}  // namespace lumora
