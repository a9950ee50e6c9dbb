#include "ui/dialog_controls.h"

#include "resources/resource_ids.h"

namespace lumora {

DialogControls FetchDialogControls(HWND dialog) {
  DialogControls c;
  c.deviceList = GetDlgItem(dialog, IDC_DEVICE_LIST);
  c.name = GetDlgItem(dialog, IDC_NAME);
  c.ip = GetDlgItem(dialog, IDC_IP);
  c.subnetMask = GetDlgItem(dialog, IDC_SUBNET_MASK);
  c.gateway = GetDlgItem(dialog, IDC_GATEWAY);
  c.httpPort = GetDlgItem(dialog, IDC_HTTP_PORT);
  c.audioPort = GetDlgItem(dialog, IDC_AUDIO_PORT);
  c.newMac = GetDlgItem(dialog, IDC_NEW_MAC);
  c.toolPort = GetDlgItem(dialog, IDC_TOOL_PORT);
  c.pppoeAccount = GetDlgItem(dialog, IDC_PPPOE_ACCOUNT);
  c.pppoePassword = GetDlgItem(dialog, IDC_PPPOE_PASSWORD);
  c.macGroup = GetDlgItem(dialog, IDC_MAC_GROUP);
  c.deviceInfo = GetDlgItem(dialog, IDC_DEVICE_INFO);
  c.statusLine = GetDlgItem(dialog, IDC_STATUS_LINE);
  c.modePppoe = GetDlgItem(dialog, IDC_MODE_PPPOE);
  c.modeDhcp = GetDlgItem(dialog, IDC_MODE_DHCP);
  c.modeStatic = GetDlgItem(dialog, IDC_MODE_STATIC);
  return c;
}

}  // namespace lumora
