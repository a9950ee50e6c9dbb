// Another process's window text, by WM_GETTEXT with a time-out, so a hung
// program fails the caller instead of hanging it.
#pragma once

#include <windows.h>

#include <string>

namespace lumora::test {

inline std::string WindowTextOf(HWND window, UINT timeoutMs) {
  char text[512] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, timeoutMs,
                      &ignored);
  return text;
}

}  // namespace lumora::test
