// What a scan has found: one entry per distinct (MAC, IP) pair, in the order
// the cameras first answered, each with the adapter and the address its
// reply came from, and the warnings an integrator should see. Far more than
// the dialog's 255 slots, but bounded: any host on the LAN can send replies,
// so past kMaxCameras a new pair is only counted.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "protocol/camera_findings.h"
#include "protocol/device_record.h"
#include "protocol/ip_assign.h"
#include "provisioning/found_camera.h"

namespace lumora::cli {

// A scan's camera is the site plan's FoundCamera: what the plan is matched
// against is what the scan kept, with nothing to copy between them.
using Camera = provisioning::FoundCamera;

// The most (MAC, IP) pairs one scan keeps.
inline constexpr std::size_t kMaxCameras = 65536;

using provisioning::DecodeCamera;

class CameraList {
 public:
  // `pcAddresses`: those of the adapters the scan searches.
  explicit CameraList(std::vector<uint32_t> pcAddresses = {}) : pcAddresses_(std::move(pcAddresses)) {}

  // Adds the camera when its (MAC, IP) pair is new and there is room, and
  // returns its index; returns -1 for a pair already listed, for a datagram
  // from one of the PC's own addresses (its own search or request, heard by
  // its own socket), and for a new pair past kMaxCameras, which is counted
  // in ignored().
  int Add(Camera camera);

  // The PC's own datagram, whatever its bytes say: never a camera.
  bool FromPc(const Camera& camera) const { return lumora::FromPc(camera.arrival, pcAddresses_); }

  const std::vector<Camera>& cameras() const { return cameras_; }

  // Replies of pairs turned away for want of room.
  std::size_t ignored() const { return ignored_; }

  // The warnings of entry `index` against everything found so far: an entry
  // added later can give an earlier one a warning it did not have.
  std::vector<std::string> WarningsNow(std::size_t index) const;

  // Indexes of the entries with this MAC text, in answer order.
  std::vector<std::size_t> FindMac(const std::string& macText) const;

 private:
  std::vector<uint32_t> pcAddresses_;
  std::vector<Camera> cameras_;
  std::unordered_set<std::string> pairs_;  // 6 MAC bytes and 4 IP bytes
  std::unordered_map<uint64_t, uint32_t> entriesOfMac_;
  std::unordered_map<uint32_t, uint32_t> entriesOfIp_;
  std::size_t ignored_ = 0;
};

}  // namespace lumora::cli
