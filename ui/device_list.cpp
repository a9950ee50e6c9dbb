#include "ui/device_list.h"

#include <cstdio>

#include "protocol/configuration_request.h"
#include "protocol/field_text.h"

namespace lumora {

void AddDeviceEntry(DeviceList& list, const SearchState* state, int slot) {
  if (slot < 0 || slot >= kTableSlots) return;
  const DeviceRecord& record = state->table.slots[slot];
  if (record.number < 1 || record.number > kTableSlots || list.listed.test(record.number)) return;
  if (SendMessageA(list.box, LB_GETCOUNT, 0, 0) == LB_ERR) return;

  // A name that fills its 16 bytes has no terminator: it is shown at its width.
  char msg[90];
  std::snprintf(msg, sizeof msg, "%d %s", static_cast<int>(record.number), FieldText(record.name).c_str());
  SendMessageA(list.box, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(msg));
  list.listed.set(record.number);
  if (list.holdSelection) {
    list.selectionHeld = true;
    return;
  }
  LRESULT count = SendMessageA(list.box, LB_GETCOUNT, 0, 0);
  SendMessageA(list.box, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
}

void HoldSelection(DeviceList& list) {
  list.holdSelection = true;
  list.selectionHeld = false;
}

void ReleaseSelection(DeviceList& list) {
  list.holdSelection = false;
  if (!list.selectionHeld) return;
  list.selectionHeld = false;
  LRESULT count = SendMessageA(list.box, LB_GETCOUNT, 0, 0);
  if (count > 0) SendMessageA(list.box, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
}

void ResetDeviceList(DeviceList& list) {
  SendMessageA(list.box, LB_RESETCONTENT, 0, 0);
  list.listed.reset();
  list.selectionHeld = false;  // an entry appended after this is the one to select
}

int SlotOfEntry(const char* entry) {
  int number = LeadingNumber(entry);
  return number >= 1 && number <= kTableSlots ? number - 1 : -1;
}

}  // namespace lumora
