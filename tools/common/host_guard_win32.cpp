// The host-namespace refusal for the Windows build. On a Windows PC there is
// no namespace to be in: the program is for the real network. Under Wine on
// Linux the same program would broadcast from the machine's own namespace,
// so there it compares namespaces the Linux way, through the Z: drive (Wine
// reports a file's inode as its file index).
#include <windows.h>

#include "tools/common/host_guard.h"

namespace lumora::tools {
namespace {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool FileIndex(const char* path, ULONGLONG& index) {
  HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return ok;
}

}  // namespace

bool InLabNamespace(std::string& why) {
  if (!UnderWine()) return true;
  ULONGLONG own = 0;
  ULONGLONG host = 0;
  if (!FileIndex("Z:\\proc\\self\\ns\\net", own) || !FileIndex("Z:\\proc\\1\\ns\\net", host)) {
    why = "running under Wine, and the network namespace cannot be told, so refusing to run (run it inside a "
          "lab namespace)";
    return false;
  }
  // 0xEFFFFFF9: the initial namespace's fixed number on recent kernels.
  if (own == host || own == 0xEFFFFFF9u) {
    why = "refusing to run in the machine's own network namespace (run it inside a lab namespace)";
    return false;
  }
  return true;
}

}  // namespace lumora::tools
