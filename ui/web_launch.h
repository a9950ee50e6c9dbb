// A double click on a camera opens its web page: the browser the registry
// names is started, the shell opens the page address, and the dialog comes
// back to the front.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "protocol/device_record.h"

namespace lumora {

// The registry value is read into a zeroed buffer of this size offered one
// byte less, so the text read is always terminated.
inline constexpr std::size_t kBrowserBufferSize = 261;
inline constexpr char kFallbackBrowser[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

// Turns the value text in `buffer` into the browser command, in place: the
// text up to and including its last backslash, then "iexplore.exe "; the
// fallback path when it has no backslash. Quotes and arguments mean nothing
// here. Returns false, leaving the buffer as it was, when the command would
// not fit (a last backslash at index 247 or later): a cut-off command is
// never run.
bool FormBrowserCommand(char (&buffer)[kBrowserBufferSize]);

// The three calls that start something, replaceable so that tests can record
// them instead of starting a browser.
struct WebLaunchCalls {
  UINT(WINAPI* winExec)(LPCSTR commandLine, UINT show);
  HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  INT show);
  BOOL(WINAPI* setForegroundWindow)(HWND window);
};
// nullptr restores the real calls.
void SetWebLaunchCalls(const WebLaunchCalls* calls);

// Opens the page of `record` (its ipText and httpPort); `dialog` is brought
// back to the front once the browser has been started.
void OpenDeviceWebPage(const DeviceRecord& record, HWND dialog);

}  // namespace lumora
