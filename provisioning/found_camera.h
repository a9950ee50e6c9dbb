// A camera as a scan found it, in plain data: what the site plan is matched
// against. The command line maps its scan results into these, and the dialog
// can map its table the same way; the index in the vector is the answer
// order. Addresses are in network byte order, as the socket layer keeps them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "protocol/arrival.h"
#include "protocol/device_record.h"

namespace lumora::provisioning {

struct FoundCamera {
  DeviceRecord record{};
  bool carriesIpAssign = false;  // the reply had the IP-assignment field
  Arrival arrival;               // index 0: on no adapter the scan searched
};

// Turns one datagram into a camera record through the dialog's own reply
// parse, noting whether it carried the IP-assignment field; the arrival is
// the caller's. False when it is not a reply.
bool DecodeCamera(const uint8_t* data, int length, FoundCamera& out);

// How the plan's author saw a camera's text field: lumora writes a field
// that is not UTF-8 through a code page, so a name stored as Windows-1252
// "Caf\xE9" reads "Café" in the plan. A planned text equal to this reading
// (or to the bytes themselves) is what the camera already has. Empty: the
// bytes as they are.
using TextReading = std::function<std::string(const std::string& fieldText)>;

// True when `planned` is what the camera's `fieldText` already says.
inline bool SameText(const std::string& fieldText, const std::string& planned, const TextReading& reading) {
  return fieldText == planned || (reading && reading(fieldText) == planned);
}

}  // namespace lumora::provisioning
