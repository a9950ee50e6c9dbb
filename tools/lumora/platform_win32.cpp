// ShellExecuteA and the console check.
#include <windows.h>
#include <shellapi.h>
#include <io.h>

#include "tools/lumora/platform.h"

namespace lumora::cli {

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

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
