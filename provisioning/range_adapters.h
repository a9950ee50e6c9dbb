// Which adapter the dialog's range keeps to: the drop-down's entries
// ("All adapters", then each adapter the listed cameras answered on, with
// its count), the one it starts on, and the cameras a choice takes. A
// laptop on the office network beside the site's switch must not
// re-address the office's cameras along with the site's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/arrival.h"
#include "provisioning/found_camera.h"

namespace lumora::provisioning {

// One entry: every adapter, or the one of `index` and `name` (the PC's
// address on it and its mask as its first listed camera's arrival says).
struct RangeAdapter {
  bool all = true;
  uint32_t index = 0;
  std::string name;
  uint32_t ip = 0, mask = 0;
  std::size_t cameras = 0;  // listed behind it
};

// "All adapters (21 cameras)", "eth1 10.77.0.1/24 (11 cameras)".
std::string RangeAdapterText(const RangeAdapter& entry);

// The entries for the listed cameras' arrivals (one per listed camera, in
// list order): "All adapters" first, then the adapters in the order their
// first camera is listed. A camera whose adapter is not known counts only
// under "All adapters". An adapter `kept` (the entry chosen before the list
// was read again) that no camera answers on now stays, with none, so that
// the range never moves to another adapter unseen.
std::vector<RangeAdapter> RangeAdaptersOf(const std::vector<Arrival>& listed, const std::optional<RangeAdapter>& kept);

// The entry to show: `kept` where it is among `entries`, else the adapter
// with the most cameras (the first of equals), else "All adapters".
std::size_t ChosenRangeAdapter(const std::vector<RangeAdapter>& entries, const std::optional<RangeAdapter>& kept);

// The cameras of `cameras` that answered on the adapter of `entry`, in order.
std::vector<FoundCamera> CamerasBehind(const RangeAdapter& entry, const std::vector<FoundCamera>& cameras);

}  // namespace lumora::provisioning
