#include "ui/web_launch.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "protocol/field_text.h"
#include "protocol/web_address.h"

namespace lumora {
namespace {

constexpr char kBrowserKey[] = "SOFTWARE\\Classes\\Applications\\iexplore.exe\\shell\\open\\command";
constexpr char kProgramName[] = "iexplore.exe ";

const WebLaunchCalls kRealCalls = {WinExec, ShellExecuteA, SetForegroundWindow};
const WebLaunchCalls* gCalls = &kRealCalls;

void OpenWithShell(const std::string& address) {
  gCalls->shellExecute(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool FormBrowserCommand(char (&buffer)[kBrowserBufferSize]) {
  std::size_t length = strnlen(buffer, kBrowserBufferSize - 1);
  for (std::size_t i = length; i-- > 0;) {
    if (buffer[i] != '\\') continue;
    if (i + 1 + std::strlen(kProgramName) + 1 > kBrowserBufferSize) return false;
    std::memcpy(buffer + i + 1, kProgramName, sizeof kProgramName);  // with its terminator
    return true;
  }
  std::memset(buffer, 0, kBrowserBufferSize);
  std::memcpy(buffer, kFallbackBrowser, sizeof kFallbackBrowser);
  return true;
}

void SetWebLaunchCalls(const WebLaunchCalls* calls) { gCalls = calls ? calls : &kRealCalls; }

void OpenDeviceWebPage(const DeviceRecord& record, HWND dialog) {
  std::string address = DeviceWebAddress(FieldText(record.ipText).c_str(), record.httpPort);

  // Read access is all the lookup needs: asking for full access to a key
  // under HKEY_LOCAL_MACHINE fails for every user without administrator
  // rights, which would skip the browser for ordinary operators.
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBrowserKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
    OpenWithShell(address);
    return;
  }
  // Without the buffer no command can be formed; the page still opens.
  char* pAppStr = static_cast<char*>(std::calloc(1, kBrowserBufferSize));
  if (pAppStr == nullptr) {
    RegCloseKey(hKey);
    OpenWithShell(address);
    return;
  }
  DWORD lpType = 0;
  DWORD dwCount = kBrowserBufferSize - 1;
  // A value that cannot be read (absent, or longer than the buffer) forms no
  // command: no browser is started from a guess, and the shell still opens
  // the page with the program it has for http addresses.
  bool formed = RegQueryValueExA(hKey, nullptr, nullptr, &lpType, reinterpret_cast<BYTE*>(pAppStr), &dwCount) ==
                    ERROR_SUCCESS &&
                FormBrowserCommand(*reinterpret_cast<char(*)[kBrowserBufferSize]>(pAppStr));
  RegCloseKey(hKey);
  if (formed) gCalls->winExec(pAppStr, SW_SHOWMAXIMIZED);
  OpenWithShell(address);
  gCalls->setForegroundWindow(dialog);
  std::free(pAppStr);
}

}  // namespace lumora
