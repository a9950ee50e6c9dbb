// Scan bookkeeping: decoding through the dialog's own DecodeReply, keying by
// (MAC, IP), and the warnings.
#include "tools/lumora/camera_list.h"

#include <cstring>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "protocol/ipv4_text.h"
#include "protocol/mac_text.h"
#include "protocol/packet_format.h"

namespace lumora::cli {
namespace {

std::string MacOf(const Camera& camera) { return MacToText(camera.record.mac).text; }
std::string IpOf(const Camera& camera) { return FieldText(camera.record.ipText); }

bool OffSubnet(const Camera& camera) {
  Ipv4Bytes ip = Ipv4FromText(camera.record.ipText);
  uint32_t address;
  std::memcpy(&address, ip.data(), 4);
  const Arrival& a = camera.arrival;
  return (address & a.interfaceMask) != (a.interfaceIp & a.interfaceMask);
}

// A scratch table, kept all free between replies, so that DecodeReply runs
// exactly as the dialog's and no camera is ever turned away for a full table.
SearchState& ScratchState() {
  static SearchState state;
  return state;
}

}  // namespace

const char* ModeName(IpAssignMode mode) {
  switch (mode) {
    case IpAssignMode::kDhcp: return "dhcp";
    case IpAssignMode::kPppoe: return "pppoe";
    case IpAssignMode::kStatic: break;
  }
  return "static";
}

bool ReplyCarries(const uint8_t* data, int length, uint8_t tag) {
  if (length < static_cast<int>(kMagicSize) || std::memcmp(data, kMagic, kMagicSize) != 0) return false;
  for (int p = static_cast<int>(kMagicSize); p < length;) {
    if (data[p] == kTagEnd) return false;
    if (data[p] == tag) return true;
    if (p + 1 >= length) return false;
    p += 2 + data[p + 1];
  }
  return false;
}

bool DecodeCamera(const uint8_t* data, int length, Camera& out) {
  SearchState& state = ScratchState();
  int slot = DecodeReply(&state, data, length);
  if (slot == kNoSlot) return false;
  out.record = state.table.slots[slot];
  state.table.slots[slot] = DeviceRecord{};
  out.carriesIpAssign = ReplyCarries(data, length, kTagIpAssign);
  return true;
}

int CameraList::Add(Camera camera) {
  std::string mac = MacOf(camera);
  std::string ip = IpOf(camera);
  if (!pairs_.insert({mac, ip}).second) return -1;
  ipsOfMac_[mac].insert(ip);
  macsOfIp_[ip].insert(mac);
  cameras_.push_back(std::move(camera));
  std::size_t index = cameras_.size() - 1;
  cameras_[index].warnings = WarningsNow(index);
  return static_cast<int>(index);
}

std::vector<std::string> CameraList::WarningsNow(std::size_t index) const {
  const Camera& camera = cameras_.at(index);
  std::vector<std::string> warnings;
  if (ipsOfMac_.at(MacOf(camera)).size() > 1) warnings.push_back(kWarnDuplicateMac);
  if (macsOfIp_.at(IpOf(camera)).size() > 1) warnings.push_back(kWarnDuplicateIp);
  if (OffSubnet(camera)) warnings.push_back(kWarnOffSubnet);
  return warnings;
}

std::vector<std::size_t> CameraList::FindMac(const std::string& macText) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < cameras_.size(); ++i) {
    if (MacOf(cameras_[i]) == macText) found.push_back(i);
  }
  return found;
}

}  // namespace lumora::cli
