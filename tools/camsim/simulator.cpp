// The single-threaded event loop. Everything waits in one ppoll(): sockets,
// reply timers, the --max-seconds deadline and SIGINT/SIGTERM, so an idle
// simulator uses no CPU and a delayed reply never holds up the control
// channel.
#include "tools/camsim/simulator.h"

#include <poll.h>
#include <signal.h>

#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tools/camsim/configuration_apply.h"
#include "tools/camsim/control_channel.h"
#include "tools/camsim/reply_encoding.h"
#include "tools/camsim/simulator_state.h"
#include "tools/camsim/udp_socket.h"

namespace camsim {
namespace {

inline constexpr uint64_t kMaxFloodDatagrams = 1000000;
// Sent between two looks at the sockets, so a flood leaves the control
// channel responsive.
inline constexpr int kFloodBatch = 64;
// Read from one socket per wake before the others get their turn.
inline constexpr int kReceiveBatch = 64;
inline constexpr std::size_t kMaxPendingReplies = 1000000;
inline constexpr std::size_t kMaxSockets = 64;

volatile sig_atomic_t gStopSignal = 0;

void OnStopSignal(int) { gStopSignal = 1; }

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct Flood {
  bool active = false;
  int64_t endMs = 0;
  uint64_t sent = 0;
  std::size_t nextCamera = 0;
};

struct Simulator {
  const CamsimOptions& options;
  SimulatorState state;
  std::vector<UdpSocket> sockets;  // camera sockets; [0] listens on --port
  std::size_t replySocket = 0;
  UdpSocket control;
  std::multimap<int64_t, std::size_t> pending;  // due time -> camera index, in arrival order
  Flood flood;
  FILE* log = nullptr;
  int lastSendError = 0;
  std::mt19937 dropRandom{1};
  std::mt19937 ignoreRandom{1};
  std::vector<int64_t> silentUntil;  // per camera: no reply before this time
};

// A lost search: the camera never hears it, so none of its cameras answer.
bool DropSearch(Simulator& sim) {
  if (sim.options.dropSearchesPercent == 0) return false;
  return std::uniform_int_distribution<unsigned>(0, 99)(sim.dropRandom) < sim.options.dropSearchesPercent;
}

// A lost configuration request: logged, never applied.
bool IgnoreConfiguration(Simulator& sim) {
  if (sim.options.ignoreConfigPercent == 0) return false;
  return std::uniform_int_distribution<unsigned>(0, 99)(sim.ignoreRandom) < sim.options.ignoreConfigPercent;
}

// A camera restarting its network after a change hears searches but cannot answer them.
bool Silent(const Simulator& sim, std::size_t camera, int64_t now) {
  return camera < sim.silentUntil.size() && now < sim.silentUntil[camera];
}

// A failing send (no route in a bare namespace, a full buffer in a flood)
// would repeat for every datagram, so each new reason is told once.
void NoteSend(Simulator& sim, int error) {
  if (error != 0 && error != sim.lastSendError) {
    std::fprintf(stderr, "camsim: send failed: %s\n", std::strerror(error));
  }
  sim.lastSendError = error;
}

int Broadcast(Simulator& sim, const UdpSocket& socket, const std::vector<uint8_t>& data) {
  int error = SendBroadcast(socket, sim.options.replyPort, data);
  NoteSend(sim, error);
  return error;
}

void SendReply(Simulator& sim, std::size_t camera) {
  Broadcast(sim, sim.sockets[sim.replySocket], EncodeReply(sim.state.cameras[camera]));
}

// Made-up camera `k` of a --flood-distinct flood: a pair no other k shares.
void SendMadeUpReply(Simulator& sim, uint32_t k) {
  CameraSettings camera = sim.state.cameras.front();
  const uint8_t number[3] = {static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k)};
  const uint8_t mac[6] = {0x02, 0x4C, 0x00, number[0], number[1], number[2]};
  const uint8_t ip[4] = {10, number[0], number[1], number[2]};
  std::memcpy(camera.mac, mac, sizeof mac);
  std::memcpy(camera.ip, ip, sizeof ip);
  Broadcast(sim, sim.sockets[sim.replySocket], EncodeReply(camera));
}

void SendDueReplies(Simulator& sim, int64_t now) {
  while (!sim.pending.empty() && sim.pending.begin()->first <= now) {
    std::size_t camera = sim.pending.begin()->second;
    sim.pending.erase(sim.pending.begin());
    if (!Silent(sim, camera, now)) SendReply(sim, camera);
  }
}

void StartFlood(Simulator& sim, unsigned seconds, int64_t now) {
  sim.flood.active = true;
  sim.flood.endMs = now + static_cast<int64_t>(seconds) * 1000;
  sim.flood.sent = 0;
  sim.flood.nextCamera = 0;
}

void FloodStep(Simulator& sim, int64_t now) {
  Flood& flood = sim.flood;
  for (int i = 0; flood.active && i < kFloodBatch; ++i) {
    if (now >= flood.endMs || flood.sent >= kMaxFloodDatagrams) {
      flood.active = false;
      std::printf("camsim: flood done, %llu datagrams\n",
                  static_cast<unsigned long long>(flood.sent));
      std::fflush(stdout);
      break;
    }
    if (sim.options.floodDistinct != 0) {
      SendMadeUpReply(sim, static_cast<uint32_t>(flood.sent % sim.options.floodDistinct));
    } else {
      SendReply(sim, flood.nextCamera);
      flood.nextCamera = (flood.nextCamera + 1) % sim.state.cameras.size();
    }
    ++flood.sent;
  }
}

void ScheduleReplies(Simulator& sim, int64_t now) {
  for (std::size_t i = 0; i < sim.state.cameras.size(); ++i) {
    if (sim.pending.size() >= kMaxPendingReplies) return;
    int64_t due = now + static_cast<int64_t>(i + 1) * sim.options.delayMs;
    sim.pending.emplace(due, i);
  }
}

void LogDatagram(Simulator& sim, const UdpSocket& socket, const Received& received) {
  LogEntry entry{socket.port, {}, received.port, received.bytes};
  std::memcpy(entry.senderIp, received.ip, 4);
  if (sim.log != nullptr) {
    std::fprintf(sim.log, "%s\n", FormatFileLine(entry).c_str());
    std::fflush(sim.log);
  }
  AddLogEntry(sim.state.log, std::move(entry));
}

void HandleCameraDatagram(Simulator& sim, const UdpSocket& socket, const Received& received,
                          int64_t now) {
  LogDatagram(sim, socket, received);
  const uint8_t* data = received.bytes.data();
  std::size_t size = received.bytes.size();
  switch (ClassifyDatagram(data, size)) {
    case DatagramKind::kNoMagic:
    case DatagramKind::kNoFields: break;
    case DatagramKind::kSearch:
      if (sim.state.answering && !DropSearch(sim)) ScheduleReplies(sim, now);
      break;
    case DatagramKind::kConfiguration:
      if (!sim.state.configuring || IgnoreConfiguration(sim)) break;
      for (std::size_t index : ApplyConfiguration(data, size, sim.state.cameras)) {
        sim.silentUntil.resize(sim.state.cameras.size(), 0);
        sim.silentUntil[index] = now + sim.options.silentAfterChangeMs;
        std::printf("camsim: camera %zu configured: %s\n", index + 1,
                    FormatCamera(sim.state.cameras[index], ' ').c_str());
      }
      std::fflush(stdout);
      break;
  }
}

// The camera socket bound to `port` (0 = the listening one), opened on first
// use; nullptr with `error` set when it cannot be had.
UdpSocket* SocketForPort(Simulator& sim, uint16_t port, std::string& error) {
  if (port == 0) return &sim.sockets[0];
  for (UdpSocket& socket : sim.sockets) {
    if (socket.port == port) return &socket;
  }
  if (port == sim.options.controlPort) {
    error = "port " + std::to_string(port) + " is the control port";
    return nullptr;
  }
  if (port == sim.options.replyPort) {
    error = "port " + std::to_string(port) + " is the reply port, camsim would hear itself";
    return nullptr;
  }
  if (sim.sockets.size() >= kMaxSockets) {
    error = "too many sockets open";
    return nullptr;
  }
  UdpSocket socket;
  if (!OpenUdpSocket(port, socket, error)) return nullptr;
  sim.sockets.push_back(socket);
  return &sim.sockets.back();
}

void HandleControl(Simulator& sim, const Received& received, int64_t now) {
  std::string text(received.bytes.begin(), received.bytes.end());
  ControlOutcome outcome = ExecuteControlCommand(ParseControlCommand(text), sim.state);
  if (outcome.send) {
    std::string error;
    UdpSocket* socket = SocketForPort(sim, outcome.port, error);
    if (socket == nullptr) {
      outcome.reply = "err " + error;
    } else if (int sendError = Broadcast(sim, *socket, outcome.datagram)) {
      outcome.reply = std::string("err send failed: ") + std::strerror(sendError);
    }
  }
  if (outcome.flood == ControlOutcome::Flood::kStart) StartFlood(sim, outcome.floodSeconds, now);
  if (outcome.flood == ControlOutcome::Flood::kStop) sim.flood.active = false;
  if (int error = SendToPeer(sim.control, received.ip, received.port, outcome.reply)) {
    std::fprintf(stderr, "camsim: control reply failed: %s\n", std::strerror(error));
  }
}

bool OpenSockets(Simulator& sim) {
  std::string error;
  UdpSocket listening;
  if (!OpenUdpSocket(sim.options.port, listening, error)) {
    std::fprintf(stderr, "camsim: --port: %s\n", error.c_str());
    return false;
  }
  sim.sockets.push_back(listening);
  if (sim.options.sourcePort != 0 && sim.options.sourcePort != sim.options.port) {
    UdpSocket source;
    if (!OpenUdpSocket(sim.options.sourcePort, source, error)) {
      std::fprintf(stderr, "camsim: --source-port: %s\n", error.c_str());
      return false;
    }
    sim.sockets.push_back(source);
    sim.replySocket = 1;
  }
  if (sim.options.controlPort != 0 && !OpenUdpSocket(sim.options.controlPort, sim.control, error)) {
    std::fprintf(stderr, "camsim: --control: %s\n", error.c_str());
    return false;
  }
  return true;
}

void CloseSockets(Simulator& sim) {
  for (UdpSocket& socket : sim.sockets) CloseUdpSocket(socket);
  CloseUdpSocket(sim.control);
}

// Signals stay blocked except inside ppoll, so one that arrives between two
// waits is not lost: the next ppoll returns at once with EINTR.
bool SetUpSignals(sigset_t& waitMask) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  if (sigprocmask(SIG_BLOCK, &stopSignals, &waitMask) != 0) return false;
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

// How long ppoll may sleep: -1 for as long as it takes.
int64_t WaitMs(const Simulator& sim, int64_t now, int64_t deadline) {
  if (sim.flood.active) return 0;
  int64_t wake = -1;
  if (!sim.pending.empty()) wake = sim.pending.begin()->first;
  if (deadline >= 0 && (wake < 0 || deadline < wake)) wake = deadline;
  if (wake < 0) return -1;
  return wake > now ? wake - now : 0;
}

void Loop(Simulator& sim, const sigset_t& waitMask) {
  int64_t deadline = sim.options.maxSeconds != 0
                         ? NowMs() + static_cast<int64_t>(sim.options.maxSeconds) * 1000
                         : -1;
  std::vector<pollfd> fds;
  while (gStopSignal == 0) {
    int64_t now = NowMs();
    if (deadline >= 0 && now >= deadline) return;
    SendDueReplies(sim, now);
    FloodStep(sim, now);
    if (sim.options.once && !sim.flood.active) return;

    fds.clear();
    for (const UdpSocket& socket : sim.sockets) fds.push_back(pollfd{socket.fd, POLLIN, 0});
    if (sim.control.fd >= 0) fds.push_back(pollfd{sim.control.fd, POLLIN, 0});
    int64_t waitMs = WaitMs(sim, now, deadline);
    timespec timeout{static_cast<time_t>(waitMs / 1000),
                     static_cast<long>(waitMs % 1000) * 1000000};
    int ready = ppoll(fds.data(), fds.size(), waitMs < 0 ? nullptr : &timeout, &waitMask);
    if (ready < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "camsim: poll: %s\n", std::strerror(errno));
      return;
    }
    now = NowMs();
    // Indexes, not references: a control `send` may open a socket and grow
    // the vector while it is walked.
    std::size_t cameraSockets = sim.sockets.size();
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if ((fds[i].revents & (POLLIN | POLLERR)) == 0) continue;
      bool isControl = i >= cameraSockets;
      Received received;
      for (int n = 0; n < kReceiveBatch; ++n) {
        if (isControl) {
          if (!ReceiveDatagram(sim.control, received)) break;
          HandleControl(sim, received, now);
        } else {
          if (!ReceiveDatagram(sim.sockets[i], received)) break;
          UdpSocket socket = sim.sockets[i];
          HandleCameraDatagram(sim, socket, received, now);
        }
      }
    }
  }
}

}  // namespace

int RunSimulator(const CamsimOptions& options) {
  Simulator sim{options, {}, {}, 0, {}, {}, {}, nullptr, 0, std::mt19937(options.dropPattern), std::mt19937(options.dropPattern), {}};
  sim.state.cameras = options.cameras;
  sigset_t waitMask;
  if (!SetUpSignals(waitMask)) {
    std::fprintf(stderr, "camsim: cannot set up signals: %s\n", std::strerror(errno));
    return 1;
  }
  if (!options.logPath.empty()) {
    sim.log = std::fopen(options.logPath.c_str(), "a");
    if (sim.log == nullptr) {
      std::fprintf(stderr, "camsim: --log: cannot open %s: %s\n", options.logPath.c_str(),
                   std::strerror(errno));
      return 2;
    }
  }
  int status = 0;
  if (OpenSockets(sim)) {
    std::printf("camsim: %zu cameras, listening on port %u\n", sim.state.cameras.size(),
                static_cast<unsigned>(options.port));
    std::fflush(stdout);
    for (const SendRequest& send : options.sends) {
      Broadcast(sim, sim.sockets[sim.replySocket], BuildPayload(send, sim.state.cameras.front()));
    }
    if (options.floodSeconds != 0) StartFlood(sim, options.floodSeconds, NowMs());
    Loop(sim, waitMask);
  } else {
    status = 1;
  }
  CloseSockets(sim);
  if (sim.log != nullptr) std::fclose(sim.log);
  return status;
}

}  // namespace camsim
