// demo-select: selects an entry of a running Lumora Search's device list as
// the operator's click does, so that the demo's screenshot shows a camera's
// settings. Usage: demo-select.exe [INDEX] (default 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"

int main(int argc, char** argv) {
  int index = argc > 1 ? std::atoi(argv[1]) : 0;
  HWND dialog = nullptr;
  // The program may still be starting, or its cameras still answering.
  for (int attempt = 0; attempt < 100; ++attempt) {
    dialog = FindWindowA("#32770", "Lumora Search V2.6");
    if (dialog != nullptr && SendMessageA(GetDlgItem(dialog, IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0) > index) break;
    dialog = nullptr;
    Sleep(100);
  }
  if (dialog == nullptr) {
    std::fprintf(stderr, "demo-select: no Lumora Search window with an entry %d\n", index);
    return 1;
  }
  HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEVICE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return 0;
}
