// The listed cameras and their readings.
#include "ui/listed_cameras.h"

#include <cstdio>
#include <cstring>

#include "protocol/field_text.h"
#include "protocol/ipv4.h"
#include "ui/device_list.h"

namespace lumora {
namespace {

std::string EntryText(HWND listBox, int index) {
  LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

}  // namespace

void NoteSeenAddress(SeenAddresses& seen, uint32_t ip) {
  for (std::size_t i = 0; i < seen.count; ++i) {
    if (seen.ips[i] == ip) return;
  }
  if (seen.count < SeenAddresses::kKept) {
    seen.ips[seen.count++] = ip;
  } else {
    seen.more = true;
  }
}

ListedCameras ListedCamerasNow(HWND listBox, const DeviceTable& table, const SlotArrivals& arrivals,
                               const SlotAddresses& seen) {
  ListedCameras listed;
  listed.table = &table;
  listed.arrivals = &arrivals;
  listed.seen = &seen;
  LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::string entry = EntryText(listBox, static_cast<int>(i));
    int slot = SlotOfEntry(entry.c_str());
    if (slot < 0 || table.slots[slot].number != slot + 1) continue;
    listed.slots.push_back(slot);
    listed.entries.push_back(std::move(entry));
  }
  return listed;
}

CameraReading ReadCamera(const ListedCameras& listed, int slot) {
  CameraReading reading;
  CameraFacts facts;
  facts.ip = RecordIp(listed.table->slots[slot]);
  const Arrival& arrival = (*listed.arrivals)[slot];
  facts.adapterIp = arrival.ip;
  facts.adapterMask = arrival.mask;
  if (arrival.mask != 0) reading.network = SubnetText(arrival.ip, arrival.mask);
  reading.interfaceName = arrival.name;
  for (std::size_t i = 0; i < listed.slots.size(); ++i) {
    int other = listed.slots[i];
    if (other == slot || RecordIp(listed.table->slots[other]) != facts.ip) continue;
    ++facts.othersWithIp;
    if (reading.sameIpEntries.size() < kNamedAtMost) reading.sameIpEntries.push_back(listed.entries[i]);
  }
  const SeenAddresses& seen = (*listed.seen)[slot];
  for (std::size_t i = 0; i < seen.count; ++i) {
    if (seen.ips[i] == facts.ip) continue;
    ++facts.otherAddressesOfMac;
    if (reading.otherAddresses.size() < kNamedAtMost) reading.otherAddresses.push_back(Ipv4Text(seen.ips[i]));
  }
  if (seen.more) ++facts.otherAddressesOfMac;
  reading.findings = FindingsOf(facts);
  return reading;
}

bool CarriesIpAssign(const DeviceRecord& record) {
  for (uint8_t flag : record.ipAssign) {
    if (flag != 0) return true;
  }
  return false;
}

std::vector<provisioning::FoundCamera> FoundCamerasOf(const ListedCameras& listed) {
  std::vector<provisioning::FoundCamera> found;
  for (int slot : listed.slots) {
    provisioning::FoundCamera camera;
    camera.record = listed.table->slots[slot];
    camera.carriesIpAssign = CarriesIpAssign(camera.record);
    camera.arrival = (*listed.arrivals)[slot];
    found.push_back(camera);
    // The slot holds the last of the cameras with its MAC; the others are
    // still there, each at its own address.
    const SeenAddresses& seen = (*listed.seen)[slot];
    const uint32_t ip = RecordIp(camera.record);
    for (std::size_t i = 0; i < seen.count; ++i) {
      if (seen.ips[i] == ip) continue;
      provisioning::FoundCamera other = camera;
      std::snprintf(other.record.ipText, sizeof other.record.ipText, "%s", Ipv4Text(seen.ips[i]).c_str());
      found.push_back(other);
    }
  }
  return found;
}

}  // namespace lumora
