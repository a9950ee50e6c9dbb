// The details panel.
#include "ui/details_panel.h"

#include <cstdio>
#include <initializer_list>

#include "protocol/field_text.h"
#include "protocol/mac_text.h"
#include "ui/web_launch.h"

namespace lumora {
namespace {

constexpr uint8_t kNotSet = 0xFF;

void EnableAddressEdits(const DialogControls& c, BOOL enable) {
  EnableWindow(c.ip, enable);
  EnableWindow(c.subnetMask, enable);
  EnableWindow(c.gateway, enable);
}

void SetPort(HWND edit, int32_t port) {
  char temp[16];
  std::snprintf(temp, sizeof temp, "%d", static_cast<int>(port));
  SetWindowTextA(edit, temp);
}

// The mode text and the checked button are chosen by different tests, so
// they may disagree (01 FF FF FF reads as STATIC text with PPPOE checked).
const char* ModeText(const uint8_t (&ipAssign)[4]) {
  if (ipAssign[0] != kNotSet && ipAssign[1] != kNotSet) return "  PPPOE\r\n";
  if (ipAssign[2] != kNotSet && ipAssign[3] != kNotSet) return "  DHCP\r\n";
  return "  STATIC\r\n";
}

void CheckModeButton(const DialogControls& c, const uint8_t (&ipAssign)[4]) {
  if (ipAssign[0] != kNotSet) {
    SendMessageA(c.modePppoe, BM_SETCHECK, BST_CHECKED, 0);
  } else if (ipAssign[2] != kNotSet) {
    SendMessageA(c.modeDhcp, BM_SETCHECK, BST_CHECKED, 0);
  } else {
    SendMessageA(c.modeStatic, BM_SETCHECK, BST_CHECKED, 0);
    // BM_SETCHECK sends no command, so the button's own handler does not run.
    EnableAddressEdits(c, TRUE);
  }
}

}  // namespace

std::string DeviceInfoText(const DeviceRecord& record) {
  return std::string("IP Assignment:") + ModeText(record.ipAssign) + "Version: " + FieldText(record.version) +
         "\r\n";
}

void ShowDeviceDetails(const DialogControls& c, const DeviceRecord& record) {
  EnableAddressEdits(c, FALSE);
  SetWindowTextA(c.name, FieldText(record.name).c_str());
  SetWindowTextA(c.ip, FieldText(record.ipText).c_str());
  SetWindowTextA(c.subnetMask, FieldText(record.maskText).c_str());
  SetWindowTextA(c.gateway, FieldText(record.gatewayText).c_str());
  SetWindowTextA(c.pppoeAccount, FieldText(record.pppoeAccount).c_str());
  SetWindowTextA(c.pppoePassword, FieldText(record.pppoePassword).c_str());
  SetPort(c.httpPort, record.httpPort);
  SetPort(c.audioPort, record.audioPort);
  MacText mac = MacToText(record.mac);
  SetWindowTextA(c.macGroup, mac.text);
  if (IsWindowVisible(c.newMac)) SetWindowTextA(c.newMac, mac.text);
  for (HWND radio : {c.modePppoe, c.modeDhcp, c.modeStatic}) SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
  CheckModeButton(c, record.ipAssign);
  SetWindowTextA(c.deviceInfo, DeviceInfoText(record).c_str());
}

void OnDeviceListNotify(WPARAM wParam, SearchState* state, const DialogControls& c) {
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
    case LBN_SELCHANGE: ShowDeviceDetails(c, record); break;
    case LBN_DBLCLK: OpenDeviceWebPage(record, GetParent(c.deviceList)); break;
    default: break;
  }
}

void ClearDevices(const DialogControls& c, DeviceList& list, DeviceTable& table) {
  const HWND kEdits[] = {c.name, c.ip, c.subnetMask, c.gateway, c.httpPort, c.audioPort, c.pppoeAccount, c.pppoePassword};
  for (HWND edit : kEdits) SetWindowTextA(edit, "");
  if (IsWindowVisible(c.newMac)) SetWindowTextA(c.newMac, "");
  SetWindowTextA(c.macGroup, kNoCameraCaption);
  for (HWND radio : {c.modePppoe, c.modeDhcp, c.modeStatic}) SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
  SetWindowTextA(c.deviceInfo, "");
  ResetDeviceList(list);
  ZeroTable(table);
}

}  // namespace lumora
