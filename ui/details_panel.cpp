#include "ui/details_panel.h"

#include <initializer_list>

#include "protocol/configuration_request.h"
#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "protocol/settings.h"
#include "ui/panel_snapshot.h"
#include "ui/device_note.h"
#include "ui/web_launch.h"

namespace lumora {
namespace {

void EnableAddressEdits(const DialogControls& c, BOOL enable) {
  EnableWindow(c.ip, enable);
  EnableWindow(c.subnetMask, enable);
  EnableWindow(c.gateway, enable);
}

// The mode text and the checked button are chosen by different readings, so
// they may disagree (01 FF FF FF reads as STATIC text with PPPOE checked).
const char* InfoModeLine(const uint8_t (&ipAssign)[4]) {
  switch (ReportedMode(ipAssign)) {
    case IpAssignMode::kPppoe: return "  PPPOE\r\n";
    case IpAssignMode::kDhcp: return "  DHCP\r\n";
    case IpAssignMode::kStatic: break;
  }
  return "  STATIC\r\n";
}

void CheckModeButton(const DialogControls& c, const PanelSnapshot& shown) {
  if (shown.pppoeChecked) {
    SendMessageA(c.modePppoe, BM_SETCHECK, BST_CHECKED, 0);
  } else if (shown.dhcpChecked) {
    SendMessageA(c.modeDhcp, BM_SETCHECK, BST_CHECKED, 0);
  } else {
    SendMessageA(c.modeStatic, BM_SETCHECK, BST_CHECKED, 0);
    // BM_SETCHECK sends no command, so the button's own handler does not run.
    EnableAddressEdits(c, TRUE);
  }
}

}  // namespace

std::string DeviceInfoText(const DeviceRecord& record) {
  return std::string("IP Assignment:") + InfoModeLine(record.ipAssign) + "Version: " + FieldText(record.version) +
         "\r\n";
}

void ShowDeviceDetails(const DialogControls& c, const DeviceRecord& record) {
  // The same texts "Submit" later compares with the record.
  const PanelSnapshot shown = ShownPanel(record);
  EnableAddressEdits(c, FALSE);
  for (const Setting& setting : kSettings) {
    if (HWND edit = SettingEdit(c, setting)) SetWindowTextA(edit, (shown.*setting.panel).c_str());
  }
  SetWindowTextA(c.macGroup, shown.caption.c_str());
  for (HWND radio : {c.modePppoe, c.modeDhcp, c.modeStatic}) SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
  CheckModeButton(c, shown);
  SetWindowTextA(c.deviceInfo, DeviceInfoText(record).c_str());
}

void OnDeviceListNotify(WPARAM wParam, SearchState* state, const DialogControls& c, const SlotArrivals& arrivals,
                        const SlotAddresses& seen) {
  LRESULT selected = SendMessageA(c.deviceList, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  LRESULT length = SendMessageA(c.deviceList, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
  char temp[512] = {};
  if (length == LB_ERR || length >= static_cast<LRESULT>(sizeof temp)) return;
  if (SendMessageA(c.deviceList, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(temp)) == LB_ERR)
    return;
  int slot = SlotOfEntry(temp);
  if (slot < 0) return;
  const DeviceRecord& record = state->table.slots[slot];
  // Entries and records are emptied together, so this holds; should it not,
  // a free slot is not shown as a camera.
  if (record.number != slot + 1) return;

  switch (HIWORD(wParam)) {
    case LBN_SELCHANGE:
      ShowDeviceDetails(c, record);
      ShowDeviceNote(c, state->table, arrivals, seen, slot);
      break;
    case LBN_DBLCLK: OpenDeviceWebPage(record, GetParent(c.deviceList)); break;
    default: break;
  }
}

void ForgetDevices(const DialogControls& c, DeviceList& list, DeviceTable& table) {
  for (const Setting& setting : kSettings) {
    if (HWND edit = SettingEdit(c, setting)) SetWindowTextA(edit, "");
  }
  SetWindowTextA(c.macGroup, kNoCameraCaption);
  for (HWND radio : {c.modePppoe, c.modeDhcp, c.modeStatic}) SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
  SetWindowTextA(c.deviceInfo, "");
  ClearDeviceNote(c);
  ResetDeviceList(list);
  ZeroTable(table);
}

}  // namespace lumora
