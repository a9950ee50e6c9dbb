// A camera as a scan found it, in plain data: what the site plan is matched
// against. The command line maps its scan results into these, and the dialog
// can map its table the same way; the index in the vector is the answer
// order. Addresses are in network byte order, as the socket layer keeps them.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/device_record.h"

namespace lumora::provisioning {

struct FoundCamera {
  DeviceRecord record{};
  bool carriesIpAssign = false;  // the reply had the IP-assignment field
  uint32_t adapter = 0;          // the interface the reply arrived on (its index)
  std::string adapterName;
  uint32_t adapterIp = 0, adapterMask = 0;
  uint32_t sourceIp = 0;
  uint16_t sourcePort = 0;
};

}  // namespace lumora::provisioning
