#include "ui/panel_snapshot.h"

#include <cstring>

#include "protocol/packet_format.h"

namespace lumora {
namespace {

// Into a zeroed 256-byte buffer with a limit of 256: at most 255 characters.
std::string ControlText(HWND control) {
  char temp[kRequestSize];
  std::memset(temp, 0, sizeof temp);
  GetWindowTextA(control, temp, sizeof temp);
  return temp;
}

bool IsChecked(HWND radio) { return SendMessageA(radio, BM_GETCHECK, 0, 0) != 0; }

struct EditOfSetting {
  std::string PanelSnapshot::*panel;
  HWND DialogControls::*edit;
};
const EditOfSetting kEdits[] = {
    {&PanelSnapshot::newMac, &DialogControls::newMac},
    {&PanelSnapshot::name, &DialogControls::name},
    {&PanelSnapshot::ip, &DialogControls::ip},
    {&PanelSnapshot::mask, &DialogControls::subnetMask},
    {&PanelSnapshot::gateway, &DialogControls::gateway},
    {&PanelSnapshot::httpPort, &DialogControls::httpPort},
    {&PanelSnapshot::audioPort, &DialogControls::audioPort},
    {&PanelSnapshot::pppoeAccount, &DialogControls::pppoeAccount},
    {&PanelSnapshot::pppoePassword, &DialogControls::pppoePassword},
};

}  // namespace

HWND SettingEdit(const DialogControls& c, const Setting& setting) {
  for (const EditOfSetting& row : kEdits) {
    if (row.panel != setting.panel) continue;
    HWND edit = c.*row.edit;
    if (edit == c.newMac && !IsWindowVisible(edit)) return nullptr;
    return edit;
  }
  return nullptr;
}

PanelSnapshot ReadPanelSnapshot(const DialogControls& c) {
  PanelSnapshot p;
  p.caption = ControlText(c.macGroup);
  p.newMacVisible = IsWindowVisible(c.newMac) != FALSE;
  for (const Setting& setting : kSettings) {
    if (HWND edit = SettingEdit(c, setting)) p.*setting.panel = ControlText(edit);
  }
  p.pppoeChecked = IsChecked(c.modePppoe);
  p.dhcpChecked = IsChecked(c.modeDhcp);
  return p;
}

}  // namespace lumora
