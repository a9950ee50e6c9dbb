// The details panel.
#include "ui/details_panel.h"

#include <initializer_list>

namespace lumora {

void OnDeviceListNotify(WPARAM wParam, SearchState* state) {
  // Selecting a camera fills the panel, a double click opens its web page;
  // both arrive with the list entries and the panel.
  (void)wParam;
  (void)state;
}

void ClearDevices(const DialogControls& c, DeviceTable& table) {
  const HWND kEdits[] = {c.name, c.ip, c.subnetMask, c.gateway, c.httpPort, c.audioPort, c.pppoeAccount, c.pppoePassword};
  for (HWND edit : kEdits) SetWindowTextA(edit, "");
  if (IsWindowVisible(c.newMac)) SetWindowTextA(c.newMac, "");
  SetWindowTextA(c.macGroup, kNoCameraCaption);
  for (HWND radio : {c.modePppoe, c.modeDhcp, c.modeStatic}) SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
  SetWindowTextA(c.deviceInfo, "");
  SendMessageA(c.deviceList, LB_RESETCONTENT, 0, 0);
  ZeroTable(table);
}

}  // namespace lumora
