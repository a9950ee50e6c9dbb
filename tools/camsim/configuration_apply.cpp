#include "tools/camsim/configuration_apply.h"

#include <algorithm>
#include <cstring>

#include "protocol/field_text.h"
#include "protocol/packet_format.h"

namespace camsim {
namespace {

inline constexpr std::size_t kPortTextWidth = 5;

std::string TextOf(const uint8_t* value, std::size_t length, std::size_t width) {
  return lumora::FieldText(reinterpret_cast<const char*>(value), std::min(length, width));
}

template <std::size_t N>
void TakeBytes(const uint8_t* value, std::size_t length,
               std::optional<std::array<uint8_t, N>>& member) {
  if (length < N) return;
  std::array<uint8_t, N> bytes;
  std::memcpy(bytes.data(), value, N);
  member = bytes;
}

void TakeField(uint8_t tag, const uint8_t* value, std::size_t length,
               ConfigurationChange& change) {
  switch (tag) {
    case lumora::kTagMac: TakeBytes(value, length, change.mac); break;
    case lumora::kTagName: change.name = TextOf(value, length, kNameWidth); break;
    case lumora::kTagIp: TakeBytes(value, length, change.ip); break;
    case lumora::kTagMask: TakeBytes(value, length, change.mask); break;
    case lumora::kTagGateway: TakeBytes(value, length, change.gateway); break;
    case lumora::kTagHttpPort: change.httpPort = PortFromText(value, length); break;
    case lumora::kTagAudioPort: change.audioPort = PortFromText(value, length); break;
    case lumora::kTagIpAssign: TakeBytes(value, length, change.ipAssign); break;
    case lumora::kTagPppoeAccount:
      change.pppoeAccount = TextOf(value, length, kPppoeWidth);
      break;
    case lumora::kTagPppoePassword:
      change.pppoePassword = TextOf(value, length, kPppoeWidth);
      break;
    default: break;  // the version is the firmware's own; unknown tags mean nothing here
  }
}

template <std::size_t N>
void Store(const std::optional<std::array<uint8_t, N>>& member, uint8_t (&field)[N]) {
  if (member) std::memcpy(field, member->data(), N);
}

}  // namespace

DatagramKind ClassifyDatagram(const uint8_t* data, std::size_t size) {
  if (size < lumora::kMagicSize || std::memcmp(data, lumora::kMagic, lumora::kMagicSize) != 0) {
    return DatagramKind::kNoMagic;
  }
  if (size == lumora::kMagicSize || data[lumora::kMagicSize] == lumora::kTagEnd) {
    return DatagramKind::kNoFields;
  }
  if (data[lumora::kMagicSize] == lumora::kTagMac) return DatagramKind::kConfiguration;
  return DatagramKind::kSearch;
}

uint16_t PortFromText(const uint8_t* value, std::size_t length) {
  unsigned port = 0;
  for (std::size_t i = 0; i < std::min(length, kPortTextWidth); ++i) {
    if (value[i] < '0' || value[i] > '9') break;
    port = port * 10 + (value[i] - '0');
  }
  return static_cast<uint16_t>(port & 0xFFFF);
}

bool ReadConfiguration(const uint8_t* data, std::size_t size, ConfigurationChange& change) {
  if (ClassifyDatagram(data, size) != DatagramKind::kConfiguration) return false;
  change = ConfigurationChange();
  bool haveTarget = false;
  std::size_t at = lumora::kMagicSize;
  while (at + 2 <= size) {
    uint8_t tag = data[at];
    if (tag == lumora::kTagEnd) break;
    std::size_t length = data[at + 1];
    if (length > size - at - 2) break;
    const uint8_t* value = data + at + 2;
    if (!haveTarget) {
      // The first field is a MAC field by classification.
      if (length < change.target.size()) return false;
      std::memcpy(change.target.data(), value, change.target.size());
      haveTarget = true;
    } else {
      TakeField(tag, value, length, change);
    }
    at += 2 + length;
  }
  return haveTarget;
}

void ApplyChange(const ConfigurationChange& change, CameraSettings& camera) {
  Store(change.mac, camera.mac);
  if (change.name) camera.name = *change.name;
  Store(change.ip, camera.ip);
  Store(change.mask, camera.mask);
  Store(change.gateway, camera.gateway);
  if (change.httpPort) camera.httpPort = *change.httpPort;
  if (change.audioPort) camera.audioPort = *change.audioPort;
  Store(change.ipAssign, camera.ipAssign);
  if (change.pppoeAccount) camera.pppoeAccount = *change.pppoeAccount;
  if (change.pppoePassword) camera.pppoePassword = *change.pppoePassword;
}

std::vector<std::size_t> ApplyConfiguration(const uint8_t* data, std::size_t size,
                                            std::vector<CameraSettings>& cameras) {
  std::vector<std::size_t> changed;
  ConfigurationChange change;
  if (!ReadConfiguration(data, size, change)) return changed;
  for (std::size_t i = 0; i < cameras.size(); ++i) {
    if (std::memcmp(cameras[i].mac, change.target.data(), change.target.size()) != 0) continue;
    ApplyChange(change, cameras[i]);
    changed.push_back(i);
  }
  return changed;
}

}  // namespace camsim
