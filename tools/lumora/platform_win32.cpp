// ShellExecuteA, the console check and console output in UTF-16.
#include <windows.h>
#include <shellapi.h>
#include <io.h>

#include "tools/lumora/platform.h"

namespace lumora::cli {

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

void WriteText(std::FILE* stream, const std::string& text) {
  HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (text.empty() || !GetConsoleMode(console, &mode)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
  std::fflush(stream);
  DWORD written = 0;
  WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

bool OpenInBrowser(const std::string& url, std::string& error) {
  // ShellExecuteA reports success with a value above 32.
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    error = "the shell could not open the page (code " + std::to_string(result) + ")";
    return false;
  }
  return true;
}

}  // namespace lumora::cli
