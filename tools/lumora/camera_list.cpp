// Scan bookkeeping: the reply read by the dialog's own parse, keyed by
// (MAC, IP), and the warnings. Since pairs are distinct, the number of
// entries with one MAC is the number of its IP addresses, and the other way
// round, so two counters stand for the sets.
#include "tools/lumora/camera_list.h"

#include <cstring>

#include "protocol/camera_findings.h"
#include "protocol/decode_reply.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "protocol/packet_format.h"

namespace lumora::cli {
namespace {

uint64_t MacKey(const DeviceRecord& record) {
  uint64_t key = 0;
  for (uint8_t byte : record.mac) key = key << 8 | byte;
  return key;
}


}  // namespace

int CameraList::Add(Camera camera) {
  uint64_t mac = MacKey(camera.record);
  uint32_t ip = RecordIp(camera.record);
  std::string pair(reinterpret_cast<const char*>(camera.record.mac), 6);
  pair.append(reinterpret_cast<const char*>(&ip), 4);
  if (FromPc(camera) || pairs_.count(pair) != 0) return -1;
  if (cameras_.size() >= kMaxCameras) {
    ++ignored_;
    return -1;
  }
  pairs_.insert(std::move(pair));
  ++entriesOfMac_[mac];
  ++entriesOfIp_[ip];
  cameras_.push_back(std::move(camera));
  return static_cast<int>(cameras_.size() - 1);
}

std::vector<std::string> CameraList::WarningsNow(std::size_t index) const {
  const Camera& camera = cameras_.at(index);
  CameraFacts facts;
  facts.ip = RecordIp(camera.record);
  facts.adapterIp = camera.arrival.ip;
  facts.adapterMask = camera.arrival.mask;
  // The entry itself is one of those counted.
  facts.othersWithIp = entriesOfIp_.at(facts.ip) - 1;
  facts.otherAddressesOfMac = entriesOfMac_.at(MacKey(camera.record)) - 1;
  return FindingNames(FindingsOf(facts));
}

std::vector<std::size_t> CameraList::FindMac(const std::string& macText) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < cameras_.size(); ++i) {
    if (MacToText(cameras_[i].record.mac).text == macText) found.push_back(i);
  }
  return found;
}

}  // namespace lumora::cli
