// The handles of the main dialog's controls that the program addresses,
// fetched once when the dialog initialises.
#pragma once

#include <windows.h>

namespace lumora {

struct DialogControls {
  HWND deviceList;
  HWND name, ip, subnetMask, gateway;
  HWND httpPort, audioPort, newMac, toolPort;
  HWND pppoeAccount, pppoePassword;
  HWND macGroup, deviceInfo, deviceNote, statusLine;
  HWND modePppoe, modeDhcp, modeStatic;
};

DialogControls FetchDialogControls(HWND dialog);

}  // namespace lumora
