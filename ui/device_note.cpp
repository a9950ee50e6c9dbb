// The device note.
#include "ui/device_note.h"

namespace lumora {
namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

}  // namespace

std::string DeviceNoteText(const ListedCameras& listed, int slot) {
  const CameraReading reading = ReadCamera(listed, slot);
  std::vector<std::string> lines;
  if (reading.findings.offSubnet) {
    lines.push_back("Outside " + reading.network +
                    ", the network it answered on: its page will not open until it has an address there.");
  }
  if (reading.findings.duplicateIp) lines.push_back("Same IP address as " + Joined(reading.sameIpEntries) + ".");
  if (reading.findings.duplicateMac) {
    lines.push_back("This MAC also answered from " + Joined(reading.otherAddresses) +
                    ": Submit changes every camera that has it.");
  }
  std::string note;
  for (const std::string& line : lines) note += (note.empty() ? "" : "\r\n") + line;
  return note;
}

void ShowDeviceNote(const DialogControls& c, const DeviceTable& table, const SlotArrivals& arrivals,
                    const SlotAddresses& seen, int slot) {
  std::string note;
  if (slot >= 0 && slot < kTableSlots) {
    note = DeviceNoteText(ListedCamerasNow(c.deviceList, table, arrivals, seen), slot);
  }
  SetWindowTextA(c.deviceNote, note.c_str());
}

void ClearDeviceNote(const DialogControls& c) { SetWindowTextA(c.deviceNote, ""); }

}  // namespace lumora
