// Adapters from getifaddrs; the arrival and the departure adapter of a
// datagram, and its source address, through IP_PKTINFO control messages.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "net/net_interfaces.h"
#include "net/posix_error_codes.h"
#include "net/socket_address.h"

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

AdapterKind KindOf(unsigned flags) {
  if (flags & IFF_LOOPBACK) return AdapterKind::kLoopback;
  if (flags & IFF_POINTOPOINT) return AdapterKind::kPointToPoint;
  if (!(flags & IFF_BROADCAST)) return AdapterKind::kTunnel;
  return AdapterKind::kBroadcast;
}

// The record of the adapter that holds address entry `a`. An address added
// with a label ("eth0:1") is listed under the label; its adapter is the part
// before the colon.
Adapter* FindOrAdd(std::vector<Adapter>& adapters, const ifaddrs* a) {
  std::string name = a->ifa_name;
  name = name.substr(0, name.find(':'));
  for (Adapter& adapter : adapters) {
    if (adapter.name == name) return &adapter;
  }
  Adapter adapter;
  adapter.name = name;
  adapter.index = if_nametoindex(name.c_str());
  adapter.up = (a->ifa_flags & IFF_UP) != 0;
  adapter.kind = KindOf(a->ifa_flags);
  adapters.push_back(std::move(adapter));
  return &adapters.back();
}

// The default routes' gateways from /proc/net/route, onto the adapters by
// name. The kernel prints each address as the hex of its 32-bit value as
// stored, so it reads back already in network byte order. A table that
// cannot be read leaves the gateways unknown: the list stands without them.
void AddDefaultGateways(std::vector<Adapter>& adapters) {
  std::FILE* table = std::fopen("/proc/net/route", "r");
  if (table == nullptr) return;
  char line[256];
  if (std::fgets(line, sizeof line, table) == nullptr) line[0] = 0;  // the header
  while (std::fgets(line, sizeof line, table) != nullptr) {
    char name[64];
    unsigned destination = 0, gateway = 0, flags = 0, mask = 0;
    if (std::sscanf(line, "%63s %x %x %x %*d %*d %*d %x", name, &destination, &gateway, &flags, &mask) != 5) continue;
    if (destination != 0 || mask != 0 || gateway == 0 || !(flags & RTF_GATEWAY)) continue;
    for (Adapter& adapter : adapters) {
      if (adapter.name == name) adapter.gateways.push_back(gateway);
    }
  }
  std::fclose(table);
}

}  // namespace

bool ListAdapters(std::vector<Adapter>& out, std::string& error) {
  out.clear();
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    error = std::string("getifaddrs: ") + std::strerror(errno);
    return false;
  }
  // One entry per address: grouped here by adapter, in the order listed.
  for (ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || a->ifa_netmask == nullptr) continue;
    Adapter* adapter = FindOrAdd(out, a);
    AdapterSubnet subnet;
    subnet.ip = Ipv4Of(a->ifa_addr);
    subnet.mask = Ipv4Of(a->ifa_netmask);
    // An address added without a broadcast address reports 0.0.0.0 here; on
    // a point-to-point link the field is the peer's address.
    if ((a->ifa_flags & IFF_BROADCAST) && a->ifa_broadaddr != nullptr) subnet.broadcast = Ipv4Of(a->ifa_broadaddr);
    if (subnet.broadcast == 0) subnet.broadcast = subnet.ip | ~subnet.mask;
    adapter->subnets.push_back(subnet);
  }
  freeifaddrs(list);
  AddDefaultGateways(out);
  return true;
}

bool EnableArrivalAdapter(Socket s) {
  int on = 1;
  if (setsockopt(static_cast<int>(s), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) return Fail(errno), false;
  return true;
}

int RecvFromAdapter(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& adapterIndex) {
  sockaddr_in sender;
  std::memset(&sender, 0, sizeof sender);
  iovec io{buffer, static_cast<size_t>(capacity)};
  alignas(cmsghdr) PacketInfoSpace control;
  msghdr msg = DatagramHeader(sender, io, control);
  // MSG_TRUNC: the real length, so an oversized datagram fails as on Winsock.
  ssize_t n = recvmsg(static_cast<int>(s), &msg, MSG_TRUNC | MSG_DONTWAIT);
  if (n < 0) return Fail(errno);
  from = AddressOf(sender);
  adapterIndex = 0;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      adapterIndex = static_cast<uint32_t>(info.ipi_ifindex);
    }
  }
  if (n > capacity) return Fail(EMSGSIZE);
  return static_cast<int>(n);
}

int SendFromAdapter(Socket s, const uint8_t* data, int size, const Address& to, const AdapterRoute& route) {
  sockaddr_in remote_addr = ToSockaddr(to);
  iovec io{const_cast<uint8_t*>(data), static_cast<size_t>(size)};
  alignas(cmsghdr) PacketInfoSpace control;
  std::memset(control, 0, sizeof control);
  msghdr msg = DatagramHeader(remote_addr, io, control);
  // ipi_ifindex picks the outgoing device, for 255.255.255.255 too, and
  // ipi_spec_dst the source address, as WSASendMsg's IN_PKTINFO does.
  cmsghdr* c = CMSG_FIRSTHDR(&msg);
  c->cmsg_level = IPPROTO_IP;
  c->cmsg_type = IP_PKTINFO;
  c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
  in_pktinfo info;
  std::memset(&info, 0, sizeof info);
  info.ipi_ifindex = static_cast<int>(route.index);
  info.ipi_spec_dst.s_addr = route.source;
  std::memcpy(CMSG_DATA(c), &info, sizeof info);
  ssize_t sent = sendmsg(static_cast<int>(s), &msg, 0);
  if (sent < 0) return Fail(errno);
  return static_cast<int>(sent);
}

}  // namespace lumora::net
