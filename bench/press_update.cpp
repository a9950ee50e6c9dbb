// Windows, for the figures: presses "Update" in the running program a given
// number of times, 300 ms apart, and prints the time of each press on the
// clock wire_times uses: "press <unix-time-ns>". Asserts nothing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"

namespace {

long long UnixNanoseconds() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks - 116444736000000000ULL) * 100;  // from 1601 in 100 ns to 1970 in ns
}

}  // namespace

int main(int argc, char** argv) {
  int presses = argc > 1 ? std::atoi(argv[1]) : 20;
  HWND dialog = nullptr;
  char status[64] = {};
  // The program may still be starting; its first search must be out.
  for (int attempt = 0; attempt < 300; ++attempt) {
    dialog = FindWindowA("#32770", "Lumora Search V2.6");
    if (dialog != nullptr && GetDlgItemTextA(dialog, IDC_STATUS_LINE, status, sizeof status) > 0) break;
    dialog = nullptr;
    Sleep(100);
  }
  if (dialog == nullptr) {
    std::fprintf(stderr, "press-update: no Lumora Search window with a status\n");
    return 1;
  }
  Sleep(500);
  for (int i = 0; i < presses; ++i) {
    long long at = UnixNanoseconds();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_UPDATE, BN_CLICKED), 0);
    std::printf("press %lld\n", at);
    std::fflush(stdout);
    Sleep(300);
  }
  return 0;
}
