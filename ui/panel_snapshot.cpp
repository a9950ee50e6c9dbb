// Reading the panel's controls.
#include "ui/panel_snapshot.h"

#include <windows.h>

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

}  // namespace

PanelSnapshot ReadPanelSnapshot(const DialogControls& c) {
  PanelSnapshot p;
  p.caption = ControlText(c.macGroup);
  p.newMacVisible = IsWindowVisible(c.newMac) != FALSE;
  if (p.newMacVisible) p.newMac = ControlText(c.newMac);
  p.name = ControlText(c.name);
  p.ip = ControlText(c.ip);
  p.mask = ControlText(c.subnetMask);
  p.gateway = ControlText(c.gateway);
  p.httpPort = ControlText(c.httpPort);
  p.audioPort = ControlText(c.audioPort);
  p.pppoeAccount = ControlText(c.pppoeAccount);
  p.pppoePassword = ControlText(c.pppoePassword);
  p.pppoeChecked = IsChecked(c.modePppoe);
  p.dhcpChecked = IsChecked(c.modeDhcp);
  return p;
}

}  // namespace lumora
