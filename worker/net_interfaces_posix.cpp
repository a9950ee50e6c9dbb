// Interfaces from getifaddrs; the arrival and the departure interface of a
// datagram through IP_PKTINFO control messages.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "worker/net_interfaces.h"
#include "worker/posix_error_codes.h"

namespace lumora::net {
namespace {

int Fail(int error) { return FailWithErrno(error); }

uint32_t Ipv4Of(const sockaddr* address) {
  return reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr;
}

// One datagram's header: the peer, one buffer, room for one IP_PKTINFO.
using PacketInfoSpace = char[CMSG_SPACE(sizeof(in_pktinfo))];
msghdr DatagramHeader(sockaddr_in& peer, iovec& io, PacketInfoSpace& control) {
  msghdr msg;
  std::memset(&msg, 0, sizeof msg);
  msg.msg_name = &peer;
  msg.msg_namelen = sizeof peer;
  msg.msg_iov = &io;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  return msg;
}

}  // namespace

bool ListInterfaces(std::vector<Interface>& out, std::string& error) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    error = std::string("getifaddrs: ") + std::strerror(errno);
    return false;
  }
  for (ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || a->ifa_netmask == nullptr) continue;
    unsigned flags = a->ifa_flags;
    if (!(flags & IFF_UP) || !(flags & IFF_BROADCAST) || (flags & IFF_LOOPBACK)) continue;
    Interface item;
    item.name = a->ifa_name;
    item.index = if_nametoindex(a->ifa_name);
    item.ip = Ipv4Of(a->ifa_addr);
    item.mask = Ipv4Of(a->ifa_netmask);
    // An address added without a broadcast address reports 0.0.0.0 here.
    item.broadcast = a->ifa_broadaddr != nullptr ? Ipv4Of(a->ifa_broadaddr) : 0;
    if (item.broadcast == 0) item.broadcast = item.ip | ~item.mask;
    out.push_back(item);
  }
  freeifaddrs(list);
  return true;
}

bool EnableArrivalInterface(Socket s) {
  int on = 1;
  if (setsockopt(static_cast<int>(s), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) return Fail(errno), false;
  return true;
}

int RecvFromInterface(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& ifIndex) {
  sockaddr_in sender;
  std::memset(&sender, 0, sizeof sender);
  iovec io{buffer, static_cast<size_t>(capacity)};
  alignas(cmsghdr) PacketInfoSpace control;
  msghdr msg = DatagramHeader(sender, io, control);
  // MSG_TRUNC: the real length, so an oversized datagram fails as on Winsock.
  ssize_t n = recvmsg(static_cast<int>(s), &msg, MSG_TRUNC | MSG_DONTWAIT);
  if (n < 0) return Fail(errno);
  from.ip = sender.sin_addr.s_addr;
  from.port = ntohs(sender.sin_port);
  ifIndex = 0;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      ifIndex = static_cast<uint32_t>(info.ipi_ifindex);
    }
  }
  if (n > capacity) return Fail(EMSGSIZE);
  return static_cast<int>(n);
}

int SendToInterface(Socket s, const uint8_t* data, int size, const Address& to, uint32_t ifIndex) {
  sockaddr_in remote_addr;
  std::memset(&remote_addr, 0, sizeof remote_addr);
  remote_addr.sin_family = AF_INET;
  remote_addr.sin_port = htons(to.port);
  remote_addr.sin_addr.s_addr = to.ip;
  iovec io{const_cast<uint8_t*>(data), static_cast<size_t>(size)};
  alignas(cmsghdr) PacketInfoSpace control;
  std::memset(control, 0, sizeof control);
  msghdr msg = DatagramHeader(remote_addr, io, control);
  // ipi_ifindex picks the outgoing device, for 255.255.255.255 too; a zero
  // ipi_spec_dst lets the kernel take that device's own address as source.
  cmsghdr* c = CMSG_FIRSTHDR(&msg);
  c->cmsg_level = IPPROTO_IP;
  c->cmsg_type = IP_PKTINFO;
  c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
  in_pktinfo info;
  std::memset(&info, 0, sizeof info);
  info.ipi_ifindex = static_cast<int>(ifIndex);
  std::memcpy(CMSG_DATA(c), &info, sizeof info);
  ssize_t sent = sendmsg(static_cast<int>(s), &msg, 0);
  if (sent < 0) return Fail(errno);
  return static_cast<int>(sent);
}

}  // namespace lumora::net
