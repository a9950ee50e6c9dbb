// The host-namespace refusal for the Windows build. On a Windows PC there is
// no namespace to be in: the program is for the real network. Under Wine on
// Linux the same program would broadcast from the machine's own namespace,
// so there it looks through the Z: drive. Wine cannot read the namespace
// links themselves (the file index of /proc/self/ns/net is not available and
// /proc/1/ns/net may be refused), but /proc/PID/net/dev lists the interfaces
// of PID's namespace: the same list as process 1's means the same namespace.
#include <windows.h>

#include <set>
#include <sstream>

#include "tools/common/host_guard.h"

namespace lumora::tools {
namespace {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool ReadWhole(const char* path, std::string& out) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(file);
  return !out.empty();
}

// The interface names of /proc/PID/net/dev ("  eth0: 1234 ..." after two
// header lines); false when the file cannot be read.
bool InterfaceNames(const char* path, std::set<std::string>& names) {
  std::string text;
  if (!ReadWhole(path, text)) return false;
  std::istringstream lines(text);
  std::string line;
  for (int header = 0; header < 2 && std::getline(lines, line); ++header) {
  }
  while (std::getline(lines, line)) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::size_t start = line.find_first_not_of(' ');
    names.insert(line.substr(start, colon - start));
  }
  return true;
}

}  // namespace

bool InLabNamespace(std::string& why) {
  if (!UnderWine()) return true;
  std::set<std::string> own, host;
  if (!InterfaceNames("Z:\\proc\\self\\net\\dev", own) || !InterfaceNames("Z:\\proc\\1\\net\\dev", host)) {
    why = "running under Wine, and the network namespace cannot be told, so refusing to run (run it inside a "
          "lab namespace)";
    return false;
  }
  if (own == host) {
    why = "refusing to run in the machine's own network namespace (run it inside a lab namespace)";
    return false;
  }
  return true;
}

}  // namespace lumora::tools
