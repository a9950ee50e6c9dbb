// Network namespace comparison through /proc.
//
// The machine's own namespace is that of process 1. Where /proc/1/ns/net
// cannot be read (a sandbox's init may refuse it even to root), the
// farthest ancestor whose namespace can be read stands in for it: a lab is
// entered from a shell in the machine's namespace, so that ancestor lies
// outside the lab. Every doubt ends in a refusal.
#include "tools/common/host_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace lumora::tools {
namespace {

// Recent kernels give the initial network namespace this fixed number; it
// lies below the range handed out to namespaces created later, so on any
// kernel it can only mean the initial one.
inline constexpr ino_t kInitialNetInode = 0xEFFFFFF9u;

bool StatNamespace(const std::string& pid, struct stat& out) {
  return stat(("/proc/" + pid + "/ns/net").c_str(), &out) == 0;
}

long ParentOf(long pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, 5, "PPid:") == 0) return std::strtol(line.c_str() + 5, nullptr, 10);
  }
  return 0;
}

// The namespace of process 1, else of the farthest readable ancestor.
bool StatHostNamespace(struct stat& out) {
  if (StatNamespace("1", out)) return true;
  bool found = false;
  long pid = getppid();
  // The bound stops a cycle in a /proc that changes while it is walked.
  for (int depth = 0; pid > 1 && depth < 4096; ++depth) {
    struct stat ancestor;
    if (StatNamespace(std::to_string(pid), ancestor)) {
      out = ancestor;
      found = true;
    }
    pid = ParentOf(pid);
  }
  return found;
}

}  // namespace

bool InLabNamespace(std::string& why) {
  static const char kRefusal[] =
      "refusing to run in the machine's own network namespace (run it inside a lab namespace)";
  struct stat own;
  struct stat host;
  if (!StatNamespace("self", own) || !StatHostNamespace(host)) {
    why = std::string("cannot compare network namespaces (") + std::strerror(errno) +
          "), so refusing to run (run it inside a lab namespace)";
    return false;
  }
  if ((own.st_dev == host.st_dev && own.st_ino == host.st_ino) || own.st_ino == kInitialNetInode) {
    why = kRefusal;
    return false;
  }
  return true;
}

}  // namespace lumora::tools
