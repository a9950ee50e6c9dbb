// The IPv4 neighbour table through an rtnetlink dump (RTM_GETNEIGH), which
// any user may ask for and which, unlike /proc/net/arp, says each entry's
// state and its adapter's index.
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/neighbour_table.h"

namespace lumora::net {
namespace {

NeighbourState StateOf(uint16_t state) {
  switch (state) {
    case NUD_INCOMPLETE: return NeighbourState::kIncomplete;
    case NUD_REACHABLE: return NeighbourState::kReachable;
    case NUD_STALE: return NeighbourState::kStale;
    case NUD_DELAY: return NeighbourState::kDelay;
    case NUD_PROBE: return NeighbourState::kProbe;
    case NUD_FAILED: return NeighbourState::kFailed;
    case NUD_PERMANENT: return NeighbourState::kPermanent;
    default: return NeighbourState::kOther;
  }
}

// One RTM_NEWNEIGH message of the dump; false when it is no IPv4 entry.
bool ReadEntry(const nlmsghdr* header, NeighbourRow& row) {
  if (header->nlmsg_type != RTM_NEWNEIGH || header->nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg))) return false;
  const auto* entry = static_cast<const ndmsg*>(NLMSG_DATA(header));
  if (entry->ndm_family != AF_INET) return false;
  row = NeighbourRow{};
  row.state = StateOf(entry->ndm_state);
  row.adapterIndex = static_cast<uint32_t>(entry->ndm_ifindex);
  bool hasIp = false;
  int left = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof(ndmsg)));
  for (const rtattr* a = reinterpret_cast<const rtattr*>(reinterpret_cast<const char*>(entry) + NLMSG_ALIGN(sizeof(ndmsg)));
       RTA_OK(a, left); a = RTA_NEXT(a, left)) {
    const std::size_t size = RTA_PAYLOAD(a);
    if (a->rta_type == NDA_DST && size == 4) {
      std::memcpy(&row.ip, RTA_DATA(a), 4);
      hasIp = true;
    } else if (a->rta_type == NDA_LLADDR && size == row.mac.size()) {
      std::memcpy(row.mac.data(), RTA_DATA(a), row.mac.size());
      row.hasMac = true;
    }
  }
  return hasIp;
}

struct Dump {
  int fd = -1;
  ~Dump() {
    if (fd >= 0) close(fd);
  }
};

bool Ask(int fd) {
  struct {
    nlmsghdr header;
    ndmsg entry;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = RTM_GETNEIGH;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = 1;
  request.entry.ndm_family = AF_INET;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  return sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) ==
         static_cast<ssize_t>(sizeof request);
}

}  // namespace

bool ReadNeighbourTable(std::vector<NeighbourRow>& out, std::string& error) {
  out.clear();
  Dump dump;
  dump.fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
  if (dump.fd < 0 || !Ask(dump.fd)) {
    error = std::string("the neighbour table cannot be read: ") + std::strerror(errno);
    return false;
  }
  // A dump comes in parts of at most a page or so each; 32 KiB holds any.
  std::vector<uint32_t> buffer(8192);  // aligned as nlmsghdr is
  for (;;) {
    ssize_t got = recv(dump.fd, buffer.data(), buffer.size() * sizeof buffer[0], 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = std::string("the neighbour table cannot be read: ") + std::strerror(got < 0 ? errno : EIO);
      return false;
    }
    unsigned left = static_cast<unsigned>(got);
    for (const nlmsghdr* h = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(h, left); h = NLMSG_NEXT(h, left)) {
      if (h->nlmsg_type == NLMSG_DONE) return true;
      if (h->nlmsg_type == NLMSG_ERROR) {
        error = "the neighbour table cannot be read: the kernel refused the dump";
        return false;
      }
      NeighbourRow row;
      if (ReadEntry(h, row)) out.push_back(row);
    }
  }
}

}  // namespace lumora::net
