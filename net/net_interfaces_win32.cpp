// Adapters from GetAdaptersAddresses; the arrival adapter through WSARecvMsg
// and IP_PKTINFO; the departure adapter through WSASendMsg and IN_PKTINFO,
// with IP_UNICAST_IF beside it.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <iphlpapi.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "net/net_interfaces.h"
#include "net/socket_address.h"

namespace lumora::net {
namespace {

SOCKET Sock(Socket s) { return static_cast<SOCKET>(s); }

uint32_t MaskOfPrefix(unsigned prefix) {
  uint32_t host = prefix == 0 ? 0 : (prefix >= 32 ? 0xFFFFFFFFu : ~((1u << (32 - prefix)) - 1));
  return htonl(host);
}

std::string Narrow(const wchar_t* text) {
  if (text == nullptr) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

// WSARecvMsg and WSASendMsg are reached through their function pointers,
// looked up once.
template <typename Function>
Function ExtensionFunction(SOCKET s, GUID guid, Function& cached) {
  if (cached != nullptr) return cached;
  DWORD returned = 0;
  Function found = nullptr;
  if (WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &guid, sizeof guid, &found, sizeof found, &returned,
               nullptr, nullptr) != 0) {
    return nullptr;
  }
  cached = found;
  return cached;
}

LPFN_WSARECVMSG RecvMsgFunction(SOCKET s) {
  static LPFN_WSARECVMSG function = nullptr;
  return ExtensionFunction(s, WSAID_WSARECVMSG, function);
}

LPFN_WSASENDMSG SendMsgFunction(SOCKET s) {
  static LPFN_WSASENDMSG function = nullptr;
  return ExtensionFunction(s, WSAID_WSASENDMSG, function);
}

AdapterKind KindOf(IFTYPE type) {
  switch (type) {
    case IF_TYPE_SOFTWARE_LOOPBACK: return AdapterKind::kLoopback;
    case IF_TYPE_PPP: return AdapterKind::kPointToPoint;
    case IF_TYPE_TUNNEL: return AdapterKind::kTunnel;
    default: return AdapterKind::kBroadcast;
  }
}

Adapter AdapterOf(const IP_ADAPTER_ADDRESSES& a) {
  Adapter adapter;
  adapter.name = Narrow(a.FriendlyName);
  adapter.index = a.IfIndex;
  adapter.up = a.OperStatus == IfOperStatusUp;
  adapter.kind = KindOf(a.IfType);
  for (auto* u = a.FirstUnicastAddress; u != nullptr; u = u->Next) {
    if (u->Address.lpSockaddr == nullptr || u->Address.lpSockaddr->sa_family != AF_INET) continue;
    AdapterSubnet subnet;
    subnet.ip = reinterpret_cast<sockaddr_in*>(u->Address.lpSockaddr)->sin_addr.s_addr;
    subnet.mask = MaskOfPrefix(u->OnLinkPrefixLength);
    subnet.broadcast = subnet.ip | ~subnet.mask;
    adapter.subnets.push_back(subnet);
  }
  // Listed with GAA_FLAG_INCLUDE_GATEWAYS: the adapter's default gateways.
  for (auto* g = a.FirstGatewayAddress; g != nullptr; g = g->Next) {
    if (g->Address.lpSockaddr == nullptr || g->Address.lpSockaddr->sa_family != AF_INET) continue;
    const uint32_t ip = reinterpret_cast<sockaddr_in*>(g->Address.lpSockaddr)->sin_addr.s_addr;
    if (ip != 0) adapter.gateways.push_back(ip);
  }
  return adapter;
}

// One datagram to or from `peer`, with room for one IN_PKTINFO.
using PacketInfoSpace = char[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];

WSAMSG DatagramMessage(sockaddr_in& peer, WSABUF& buffer, PacketInfoSpace& control) {
  WSAMSG msg;
  std::memset(&msg, 0, sizeof msg);
  msg.name = reinterpret_cast<sockaddr*>(&peer);
  msg.namelen = sizeof peer;
  msg.lpBuffers = &buffer;
  msg.dwBufferCount = 1;
  msg.Control.buf = control;
  msg.Control.len = sizeof control;
  return msg;
}

// The failures Microsoft documents for a socket or stack that does not take
// WSASendMsg or IN_PKTINFO: WSAEOPNOTSUPP, and WSAEINVAL (an unbound or
// non-overlapped socket) for WSASendMsg; WSAENOPROTOOPT for IP_PKTINFO. Any
// other failure is the datagram's own.
bool NotTaken(int code) {
  return code == WSAEOPNOTSUPP || code == WSAEINVAL || code == WSAENOPROTOOPT;
}

// The datagram with an IN_PKTINFO control message: the source address and
// the adapter. Bytes sent, or -1 with the code set. `taken` is false when
// there was no source address to give, no WSASendMsg, or NotTaken.
int SendWithPacketInfo(SOCKET s, const uint8_t* data, int size, const Address& to, const AdapterRoute& route,
                       bool& taken) {
  taken = false;
  LPFN_WSASENDMSG sendMsg = route.source != 0 ? SendMsgFunction(s) : nullptr;
  if (sendMsg == nullptr) return -1;
  sockaddr_in remote_addr = ToSockaddr(to);
  WSABUF buffer{static_cast<ULONG>(size), reinterpret_cast<char*>(const_cast<uint8_t*>(data))};
  alignas(WSACMSGHDR) PacketInfoSpace control;
  std::memset(control, 0, sizeof control);
  WSAMSG msg = DatagramMessage(remote_addr, buffer, control);
  WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&msg);
  c->cmsg_level = IPPROTO_IP;
  c->cmsg_type = IP_PKTINFO;
  c->cmsg_len = WSA_CMSG_LEN(sizeof(IN_PKTINFO));
  IN_PKTINFO info;
  std::memset(&info, 0, sizeof info);
  info.ipi_addr.s_addr = route.source;
  info.ipi_ifindex = route.index;
  std::memcpy(WSA_CMSG_DATA(c), &info, sizeof info);
  DWORD sent = 0;
  if (sendMsg(s, &msg, 0, &sent, nullptr, nullptr) != 0) {
    taken = !NotTaken(WSAGetLastError());
    return -1;
  }
  taken = true;
  return static_cast<int>(sent);
}

}  // namespace

bool ListAdapters(std::vector<Adapter>& out, std::string& error) {
  out.clear();
  // Room for about sixty adapters at the first call: a list that does not
  // fit is asked for twice, and under Wine each call costs milliseconds per
  // adapter (16 adapters overflowed 16 KiB and took twice as long).
  ULONG size = 64 * 1024;
  std::vector<unsigned char> buffer;
  ULONG result = ERROR_BUFFER_OVERFLOW;
  const ULONG flags =
      GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_INCLUDE_GATEWAYS;
  for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    result = GetAdaptersAddresses(AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                  &size);
  }
  // ERROR_NO_DATA: no adapter has an IPv4 address, which is a list too.
  if (result == ERROR_NO_DATA) return true;
  if (result != NO_ERROR) {
    error = "GetAdaptersAddresses failed with code " + std::to_string(result);
    return false;
  }
  for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr; a = a->Next) {
    out.push_back(AdapterOf(*a));
  }
  return true;
}

bool EnableArrivalAdapter(Socket s) {
  DWORD on = 1;
  if (setsockopt(Sock(s), IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on), sizeof on) != 0) return false;
  return RecvMsgFunction(Sock(s)) != nullptr;
}

int RecvFromAdapter(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& adapterIndex) {
  LPFN_WSARECVMSG recvMsg = RecvMsgFunction(Sock(s));
  if (recvMsg == nullptr) return -1;
  sockaddr_in sender;
  std::memset(&sender, 0, sizeof sender);
  WSABUF data{static_cast<ULONG>(capacity), reinterpret_cast<char*>(buffer)};
  alignas(WSACMSGHDR) PacketInfoSpace control;
  WSAMSG msg = DatagramMessage(sender, data, control);
  DWORD received = 0;
  if (recvMsg(Sock(s), &msg, &received, nullptr, nullptr) != 0) return -1;
  from = AddressOf(sender);
  adapterIndex = 0;
  for (WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&msg); c != nullptr; c = WSA_CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      IN_PKTINFO info;
      std::memcpy(&info, WSA_CMSG_DATA(c), sizeof info);
      adapterIndex = info.ipi_ifindex;
    }
  }
  // A datagram longer than the buffer fails as plain recvfrom does.
  if (msg.dwFlags & MSG_TRUNC) {
    WSASetLastError(WSAEMSGSIZE);
    return -1;
  }
  return static_cast<int>(received);
}

int SendFromAdapter(Socket s, const uint8_t* data, int size, const Address& to, const AdapterRoute& route) {
  // IP_UNICAST_IF (the index in network byte order) is documented for
  // unicast only, so the source address in IN_PKTINFO is what forces a
  // broadcast onto the adapter. sendto under IP_UNICAST_IF alone is what is
  // left only where WSASendMsg or its IN_PKTINFO is not taken at all; a
  // datagram that failed to leave by its adapter must not leave by another.
  DWORD index = htonl(route.index);
  setsockopt(Sock(s), IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&index), sizeof index);
  bool taken = false;
  int sent = SendWithPacketInfo(Sock(s), data, size, to, route, taken);
  if (sent < 0 && !taken) sent = SendTo(s, data, size, to);
  int error = WSAGetLastError();
  DWORD none = 0;
  setsockopt(Sock(s), IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&none), sizeof none);
  // The reset must not overwrite the send's own failure code.
  if (sent < 0) WSASetLastError(error);
  return sent;
}

}  // namespace lumora::net
