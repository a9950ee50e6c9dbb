// The cameras the list shows, with what the dialog knows of each beyond its
// record: its arrival (the adapter it answered on, as the worker described
// it, and its sender), and the addresses replies with its MAC came from.
// The note and "Copy list" read them through ReadCamera.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/arrival.h"
#include "protocol/camera_findings.h"
#include "protocol/device_record.h"
#include "protocol/ipv4.h"
#include "provisioning/found_camera.h"

namespace lumora {

// The addresses replies with one slot's MAC came from since the last
// clearing. A few are enough to name; past them there are only "more", so
// a flood of forged replies cannot grow it.
struct SeenAddresses {
  static constexpr std::size_t kKept = 4;
  std::array<uint32_t, kKept> ips{};
  uint8_t count = 0;
  bool more = false;
};

// Adds `ip` unless it is kept already.
void NoteSeenAddress(SeenAddresses& seen, uint32_t ip);

using SlotArrivals = std::array<Arrival, kTableSlots>;
using SlotAddresses = std::array<SeenAddresses, kTableSlots>;

struct ListedCameras {
  const DeviceTable* table = nullptr;
  const SlotArrivals* arrivals = nullptr;
  const SlotAddresses* seen = nullptr;
  std::vector<int> slots;            // the listed slots, in list order
  std::vector<std::string> entries;  // and their entry texts
};

// The list box's entries that name a used slot.
ListedCameras ListedCamerasNow(HWND listBox, const DeviceTable& table, const SlotArrivals& arrivals,
                               const SlotAddresses& seen);

// What the note and the sheet say of one listed camera.
struct CameraReading {
  CameraFindings findings;
  std::string network;        // its adapter's network, "10.88.0.0/24"; "" when not known
  std::string interfaceName;  // its adapter's name; "" when not known
  std::vector<std::string> sameIpEntries;   // the first other entries with its IP address
  std::vector<std::string> otherAddresses;  // the first other addresses its MAC answered from
};

// How many other entries or addresses a reading names at most.
inline constexpr std::size_t kNamedAtMost = 2;

CameraReading ReadCamera(const ListedCameras& listed, int slot);

// A reply without the IP-assignment field leaves all four bytes 0, where
// cameras write 01 or FF: the table keeps no other sign of it.
bool CarriesIpAssign(const DeviceRecord& record);

// The listed cameras as the site plan sees them, in list order; a MAC that
// answered from several addresses once for each, so that a plan refuses it
// as lumora does.
std::vector<provisioning::FoundCamera> FoundCamerasOf(const ListedCameras& listed);

}  // namespace lumora
