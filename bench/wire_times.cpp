// Prints, for a while, the kernel's time of every UDP datagram to port 4000
// that leaves any interface of this network namespace, one line each:
// "wire <unix-time-ns> <interface-index>". Run on the PC side of a lab
// beside the program (scripts/update-figures.sh), whose presses print their
// times on the same clock. Asserts nothing.
#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 10;
  // Outgoing frames reach only packet sockets that take every protocol.
  int fd = socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_ALL));
  int on = 1;
  if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0) {
    std::perror("wire_times: packet socket");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  uint8_t frame[2048];
  char control[CMSG_SPACE(sizeof(timespec))];
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    sockaddr_ll from{};
    iovec io{frame, sizeof frame};
    msghdr msg{};
    msg.msg_name = &from;
    msg.msg_namelen = sizeof from;
    msg.msg_iov = &io;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    ssize_t n = recvmsg(fd, &msg, 0);
    if (n < static_cast<ssize_t>(sizeof(iphdr) + sizeof(udphdr))) continue;
    if (from.sll_pkttype != PACKET_OUTGOING || from.sll_protocol != htons(ETH_P_IP)) continue;
    const iphdr* ip = reinterpret_cast<const iphdr*>(frame);
    if (ip->protocol != IPPROTO_UDP) continue;
    const udphdr* udp = reinterpret_cast<const udphdr*>(frame + ip->ihl * 4);
    if (ntohs(udp->dest) != 4000) continue;
    timespec at{};
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
      if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMPNS) std::memcpy(&at, CMSG_DATA(c), sizeof at);
    }
    std::printf("wire %lld %d\n", static_cast<long long>(at.tv_sec) * 1000000000LL + at.tv_nsec, from.sll_ifindex);
    std::fflush(stdout);
  }
  close(fd);
  return 0;
}
