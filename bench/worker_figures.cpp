// Figures for the worker, run on the PC side of a lab (scripts/bench.sh):
//  - CPU the process uses over 10 s while the worker idles;
//  - request-to-wire latency: from the inbox's AskSearch until the search datagram
//    leaves the PC side's interface, seen by a packet socket on it;
//  - a dialog thread that stalls while replies flood in: what the
//    hand-over holds, what it dropped, and the process's peak memory.
// Prints figures; asserts nothing.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "worker/queued_dialog_link.h"
#include "worker/worker.h"

namespace {

using Clock = std::chrono::steady_clock;

// A link that only counts; the figures are about the worker and the wire.
class QuietLink : public lumora::DialogLink {
 public:
  std::atomic<int> clears{0};
  void WriteStatus(const char*) override {}
  void WriteToolPortEdit(unsigned) override {}
  void HandOverDatagram(const uint8_t*, int, const lumora::Arrival&) override {}
  void ClearDevices() override { clears.fetch_add(1); }
  void HandOverJobProgress(const lumora::provisioning::JobProgress&) override {}
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The first interface other than lo: the lab's veth.
std::string LabInterface() {
  ifaddrs* list = nullptr;
  std::string name;
  if (getifaddrs(&list) != 0) return name;
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (i->ifa_name && std::strcmp(i->ifa_name, "lo") != 0) {
      name = i->ifa_name;
      break;
    }
  }
  freeifaddrs(list);
  return name;
}

// Waits at most 1 s for an outgoing UDP datagram to port 4000 on `fd`.
bool WaitForSearchOnWire(int fd) {
  uint8_t frame[2048];
  auto deadline = Clock::now() + std::chrono::seconds(1);
  while (Clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    sockaddr_ll from{};
    socklen_t size = sizeof from;
    ssize_t n = recvfrom(fd, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < static_cast<ssize_t>(sizeof(iphdr) + sizeof(udphdr)) || from.sll_protocol != htons(ETH_P_IP)) continue;
    const iphdr* ip = reinterpret_cast<const iphdr*>(frame);
    if (ip->protocol != IPPROTO_UDP) continue;
    const udphdr* udp = reinterpret_cast<const udphdr*>(frame + ip->ihl * 4);
    if (ntohs(udp->dest) == 4000) return true;
  }
  return false;
}

// Counts what a drain hands the dialog.
class CountingSink : public lumora::DialogEventSink {
 public:
  std::size_t datagrams = 0, statuses = 0;
  void TakeDatagram(const uint8_t*, int, const lumora::Arrival&) override { ++datagrams; }
  void ClearDevices() override {}
  void ShowToolPort(unsigned) override {}
  void ShowStatus(const char*) override { ++statuses; }
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// The dialog thread stalled (a browser launch blocking it) while a camera
// floods the program with replies for `seconds`: nothing is drained.
void StalledDialogUnderFlood(int seconds) {
  lumora::QueuedDialogLink link([] { return true; });
  lumora::WorkerContext ctx;
  lumora::OpenWorkerContext(ctx, &link);
  std::thread worker([&] { lumora::RunWorker(ctx); });
  double before = PeakMegabytes();

  int flood = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(lumora::kLocalPort);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  uint8_t reply[200] = {'K', 'V', '2', '8', '0', 0x10, 6, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};
  long sent = 0;
  auto end = Clock::now() + std::chrono::seconds(seconds);
  while (Clock::now() < end) {
    for (int i = 0; i < 100; ++i) {
      sent += sendto(flood, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
    }
  }
  close(flood);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the worker takes what is left
  ctx.inbox.Stop();
  worker.join();
  lumora::CloseWorkerContext(ctx);
  CountingSink sink;
  link.Drain(sink);
  std::printf("stalled dialog under a %d s flood: %ld replies sent, %zu held, %zu dropped, %zu status; "
              "peak memory %.1f MB before, %.1f MB after\n",
              seconds, sent, sink.datagrams, link.droppedDatagrams(), sink.statuses, before, PeakMegabytes());
}

}  // namespace

int main() {
  if (std::getenv("LUMORA_LAB") == nullptr) {
    std::fprintf(stderr, "worker_figures: run it inside the lab (scripts/bench.sh)\n");
    return 2;
  }
  QuietLink link;
  lumora::WorkerContext ctx;
  lumora::OpenWorkerContext(ctx, &link);
  ctx.inbox.SetToolPortEdit(4000);
  ctx.inbox.AskSearch();
  std::thread worker([&] { lumora::RunWorker(ctx); });
  while (link.clears.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  double before = CpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(10));
  double idle = CpuSeconds() - before;
  std::printf("worker idle CPU over 10 s: %.4f CPU-s (%.3f%% of a core)\n", idle, idle * 10.0);
  std::printf("receive buffer granted: %d bytes\n", ctx.receiveBufferGranted.load());

  // Outgoing frames reach only packet sockets that take every protocol.
  int packets = socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_ALL));
  std::string ifname = LabInterface();
  sockaddr_ll where{};
  where.sll_family = AF_PACKET;
  where.sll_protocol = htons(ETH_P_ALL);
  where.sll_ifindex = static_cast<int>(if_nametoindex(ifname.c_str()));
  if (packets < 0 || where.sll_ifindex == 0 || bind(packets, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
    std::printf("request-to-wire latency: not measured (no packet socket on the lab interface)\n");
  } else {
    std::vector<double> micros;
    for (int i = 0; i < 200; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));  // let the worker fall asleep again
      auto start = Clock::now();
      ctx.inbox.AskSearch();
      if (!WaitForSearchOnWire(packets)) continue;
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
      std::printf("request-to-wire latency over %zu searches: median %.0f us, p99 %.0f us, max %.0f us\n",
                  micros.size(), micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back());
    }
    close(packets);
  }
  ctx.inbox.Stop();
  auto stopAsked = Clock::now();
  worker.join();
  std::printf("stop to worker end: %.0f us\n",
              std::chrono::duration<double, std::micro>(Clock::now() - stopAsked).count());
  lumora::CloseWorkerContext(ctx);
  StalledDialogUnderFlood(7);
  return 0;
}
