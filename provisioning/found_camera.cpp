// A reply as a found camera.
#include "provisioning/found_camera.h"

#include "protocol/decode_reply.h"
#include "protocol/packet_format.h"

namespace lumora::provisioning {

bool DecodeCamera(const uint8_t* data, int length, FoundCamera& out) {
  CarriedTags carried;
  if (!ParseReply(data, length, out.record, carried)) return false;
  out.carriesIpAssign = carried.Has(kTagIpAssign);
  return true;
}

}  // namespace lumora::provisioning
