// What a scan has found: one entry per distinct (MAC, IP) pair, in the order
// the cameras first answered, each with the interface and the address its
// reply came from, and the warnings an integrator should see. No slot limit:
// a thousand cameras are a thousand entries.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "protocol/device_record.h"
#include "protocol/ip_assign.h"

namespace lumora::cli {

// "static", "dhcp" or "pppoe".
const char* ModeName(IpAssignMode mode);

// Where a reply came from. Addresses are in network byte order.
struct Arrival {
  std::string interfaceName;
  uint32_t interfaceIp = 0;
  uint32_t interfaceMask = 0;
  uint32_t sourceIp = 0;
  uint16_t sourcePort = 0;
};

struct Camera {
  DeviceRecord record{};
  bool carriesIpAssign = false;
  Arrival arrival;
  std::vector<std::string> warnings;  // as known when the camera was added
};

inline constexpr char kWarnDuplicateMac[] = "duplicate-mac";
inline constexpr char kWarnDuplicateIp[] = "duplicate-ip";
inline constexpr char kWarnOffSubnet[] = "off-subnet";

// Turns one datagram into a camera record through DecodeReply. False when it
// is not a reply.
bool DecodeCamera(const uint8_t* data, int length, Camera& out);

// True when the reply's fields (walked as DecodeReply walks them) include one
// with `tag`.
bool ReplyCarries(const uint8_t* data, int length, uint8_t tag);

class CameraList {
 public:
  // Adds the camera when its (MAC, IP) pair is new, with the warnings known
  // so far, and returns its index; returns -1 for a pair already listed.
  int Add(Camera camera);

  const std::vector<Camera>& cameras() const { return cameras_; }

  // The warnings of entry `index` against everything found so far (entries
  // added later can give an earlier one a warning it was printed without).
  std::vector<std::string> WarningsNow(std::size_t index) const;

  // Indexes of the entries with this MAC text, in answer order.
  std::vector<std::size_t> FindMac(const std::string& macText) const;

 private:
  std::vector<Camera> cameras_;
  std::set<std::pair<std::string, std::string>> pairs_;  // (MAC text, IP text)
  std::map<std::string, std::set<std::string>> ipsOfMac_;
  std::map<std::string, std::set<std::string>> macsOfIp_;
};

}  // namespace lumora::cli
