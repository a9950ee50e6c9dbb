// The device list: one entry "%d %s" (number, name) for each camera in the
// table, in the order the cameras first answered. The number at the start of
// an entry is the only link from the entry to its record.
#pragma once

#include <windows.h>

#include <bitset>

#include "protocol/device_record.h"

namespace lumora {

struct DeviceList {
  HWND box = nullptr;
  // The numbers that have an entry. Reading every entry back to find a
  // duplicate costs a message per entry per reply, which a burst of 255
  // cameras cannot afford; the list is only ever appended to or emptied
  // through this file, so the set stays exact.
  std::bitset<kTableSlots + 1> listed;
  // While a burst is applied with redrawing off, each selection would still
  // scroll the list; only the last one is made, when the burst ends.
  bool holdSelection = false;
  bool selectionHeld = false;
};

// Appends the entry of `slot` unless one with its number is listed (the
// existing entry keeps its text, even after a rename), then selects the new
// entry. Selecting with LB_SETCURSEL sends no notification, so the details
// panel keeps what it shows.
void AddDeviceEntry(DeviceList& list, const SearchState* state, int slot);

// Holds the selection of new entries back while a burst is applied, then
// selects the newest entry once, as the last of the held selections would.
void HoldSelection(DeviceList& list);
void ReleaseSelection(DeviceList& list);

void ResetDeviceList(DeviceList& list);

// The slot an entry text names ("%d %s": its number − 1), or -1 when the
// number is not one of a table slot.
int SlotOfEntry(const char* entry);

}  // namespace lumora
