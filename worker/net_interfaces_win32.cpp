// Interfaces from GetAdaptersAddresses; the arrival interface through
// WSARecvMsg and IP_PKTINFO, the departure interface through IP_UNICAST_IF.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <iphlpapi.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "worker/net_interfaces.h"

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

// WSARecvMsg is reached only through its function pointer.
LPFN_WSARECVMSG RecvMsgFunction(SOCKET s) {
  static LPFN_WSARECVMSG function = nullptr;
  if (function != nullptr) return function;
  GUID guid = WSAID_WSARECVMSG;
  DWORD returned = 0;
  LPFN_WSARECVMSG found = nullptr;
  if (WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &guid, sizeof guid, &found, sizeof found, &returned,
               nullptr, nullptr) != 0) {
    return nullptr;
  }
  function = found;
  return function;
}

}  // namespace

bool ListInterfaces(std::vector<Interface>& out, std::string& error) {
  // Room for about sixty adapters at the first call: a list that does not
  // fit is asked for twice, and under Wine each call costs milliseconds per
  // adapter (16 adapters overflowed 16 KiB and took twice as long).
  ULONG size = 64 * 1024;
  std::vector<unsigned char> buffer;
  ULONG result = ERROR_BUFFER_OVERFLOW;
  const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    result = GetAdaptersAddresses(AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                  &size);
  }
  if (result != NO_ERROR) {
    error = "GetAdaptersAddresses failed with code " + std::to_string(result);
    return false;
  }
  for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr; a = a->Next) {
    if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
    if (a->IfType == IF_TYPE_PPP || a->IfType == IF_TYPE_TUNNEL) continue;
    for (auto* u = a->FirstUnicastAddress; u != nullptr; u = u->Next) {
      if (u->Address.lpSockaddr == nullptr || u->Address.lpSockaddr->sa_family != AF_INET) continue;
      Interface item;
      item.name = Narrow(a->FriendlyName);
      item.index = a->IfIndex;
      item.ip = reinterpret_cast<sockaddr_in*>(u->Address.lpSockaddr)->sin_addr.s_addr;
      item.mask = MaskOfPrefix(u->OnLinkPrefixLength);
      item.broadcast = item.ip | ~item.mask;
      out.push_back(item);
    }
  }
  return true;
}

bool EnableArrivalInterface(Socket s) {
  DWORD on = 1;
  if (setsockopt(Sock(s), IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on), sizeof on) != 0) return false;
  return RecvMsgFunction(Sock(s)) != nullptr;
}

int RecvFromInterface(Socket s, uint8_t* buffer, int capacity, Address& from, uint32_t& ifIndex) {
  LPFN_WSARECVMSG recvMsg = RecvMsgFunction(Sock(s));
  if (recvMsg == nullptr) return -1;
  sockaddr_in sender;
  std::memset(&sender, 0, sizeof sender);
  WSABUF data{static_cast<ULONG>(capacity), reinterpret_cast<char*>(buffer)};
  char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];
  WSAMSG msg;
  std::memset(&msg, 0, sizeof msg);
  msg.name = reinterpret_cast<sockaddr*>(&sender);
  msg.namelen = sizeof sender;
  msg.lpBuffers = &data;
  msg.dwBufferCount = 1;
  msg.Control.buf = control;
  msg.Control.len = sizeof control;
  DWORD received = 0;
  if (recvMsg(Sock(s), &msg, &received, nullptr, nullptr) != 0) return -1;
  from.ip = sender.sin_addr.s_addr;
  from.port = ntohs(sender.sin_port);
  ifIndex = 0;
  for (WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&msg); c != nullptr; c = WSA_CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      IN_PKTINFO info;
      std::memcpy(&info, WSA_CMSG_DATA(c), sizeof info);
      ifIndex = info.ipi_ifindex;
    }
  }
  // A datagram longer than the buffer fails as plain recvfrom does.
  if (msg.dwFlags & MSG_TRUNC) {
    WSASetLastError(WSAEMSGSIZE);
    return -1;
  }
  return static_cast<int>(received);
}

int SendToInterface(Socket s, const uint8_t* data, int size, const Address& to, uint32_t ifIndex) {
  // IP_UNICAST_IF takes the IPv4 interface index in network byte order. Where
  // it is refused the datagram still goes, by the routing table's choice.
  DWORD index = htonl(ifIndex);
  setsockopt(Sock(s), IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&index), sizeof index);
  int sent = SendTo(s, data, size, to);
  int error = WSAGetLastError();
  DWORD none = 0;
  setsockopt(Sock(s), IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&none), sizeof none);
  // The reset must not overwrite the send's own failure code.
  if (sent < 0) WSASetLastError(error);
  return sent;
}

}  // namespace lumora::net
