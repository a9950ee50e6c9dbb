// The range's adapter choice.
#include "provisioning/range_adapters.h"

#include <bitset>

#include "protocol/ipv4.h"

namespace lumora::provisioning {
namespace {

// The name is "" when the adapter is not known; the index may be 0 where
// the platform does not number its adapters.
bool Known(const Arrival& arrival) { return !arrival.name.empty(); }

bool SameAdapter(const RangeAdapter& entry, uint32_t index, const std::string& name) {
  return !entry.all && entry.index == index && entry.name == name;
}

// The entry of `kept`, or entries.size() where there is none.
std::size_t Find(const std::vector<RangeAdapter>& entries, const RangeAdapter& kept) {
  std::size_t i = 0;
  while (i < entries.size() && !(kept.all ? entries[i].all : SameAdapter(entries[i], kept.index, kept.name))) ++i;
  return i;
}

// One form for every count, "(1 cameras)" too: the entry's text is the same
// pattern whatever the site.
std::string CountText(std::size_t cameras) { return "(" + std::to_string(cameras) + " cameras)"; }

}  // namespace

std::string RangeAdapterText(const RangeAdapter& entry) {
  if (entry.all) return "All adapters " + CountText(entry.cameras);
  const std::size_t prefix = std::bitset<32>(entry.mask).count();
  return entry.name + " " + Ipv4Text(entry.ip) + "/" + std::to_string(prefix) + " " + CountText(entry.cameras);
}

std::vector<RangeAdapter> RangeAdaptersOf(const std::vector<Arrival>& listed, const std::optional<RangeAdapter>& kept) {
  std::vector<RangeAdapter> entries(1);
  entries[0].cameras = listed.size();
  for (const Arrival& arrival : listed) {
    if (!Known(arrival)) continue;
    std::size_t at = 1;
    while (at < entries.size() && !SameAdapter(entries[at], arrival.index, arrival.name)) ++at;
    if (at == entries.size()) entries.push_back({false, arrival.index, arrival.name, arrival.ip, arrival.mask, 0});
    ++entries[at].cameras;
  }
  if (kept && Find(entries, *kept) == entries.size()) {
    RangeAdapter gone = *kept;
    gone.cameras = 0;
    entries.push_back(gone);
  }
  return entries;
}

std::size_t ChosenRangeAdapter(const std::vector<RangeAdapter>& entries, const std::optional<RangeAdapter>& kept) {
  if (kept && Find(entries, *kept) < entries.size()) return Find(entries, *kept);
  std::size_t most = 0;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    if (most == 0 ? entries[i].cameras > 0 : entries[i].cameras > entries[most].cameras) most = i;
  }
  return most;
}

std::vector<FoundCamera> CamerasBehind(const RangeAdapter& entry, const std::vector<FoundCamera>& cameras) {
  if (entry.all) return cameras;
  std::vector<FoundCamera> behind;
  for (const FoundCamera& camera : cameras) {
    if (Known(camera.arrival) && SameAdapter(entry, camera.arrival.index, camera.arrival.name)) behind.push_back(camera);
  }
  return behind;
}

}  // namespace lumora::provisioning
