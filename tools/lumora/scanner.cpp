// The scan's socket and its timing. Replies are read until nothing waits
// before the next sleep, so a burst of a thousand is drained as it comes and
// the 1 MiB receive buffer only has to cover the scheduling gaps. The clock
// is read inside that loop too: a stream of replies that never lets the
// socket run empty must not hold the scan past its time-out.
#include "tools/lumora/scanner.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <utility>

#include "net/adapter_send.h"
#include "net/net_interfaces.h"

namespace lumora::cli {
namespace {

using Clock = std::chrono::steady_clock;

inline constexpr int kStaleDatagramsDropped = 8192;

Clock::duration Seconds(double seconds) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

Scanner::~Scanner() { net::CloseReplySocket(socket_); }

bool Scanner::Open(const ScanOptions& options, std::string& error, bool& usageError) {
  options_ = options;
  usageError = false;
  std::vector<Adapter> all;
  if (!net::ListAdapters(all, error)) return false;
  for (const Adapter& a : all) {
    for (const AdapterSubnet& subnet : a.subnets) everyPcAddress_.push_back(subnet.ip);
    pcGateways_.insert(pcGateways_.end(), a.gateways.begin(), a.gateways.end());
  }
  all = ChooseAdapters(std::move(all));
  for (const std::string& name : options.interfaces) {
    bool known = std::any_of(all.begin(), all.end(), [&](const Adapter& a) { return a.name == name; });
    if (!known) {
      error = "--interface: no up, broadcast-capable IPv4 interface is named '" + name + "' (there are:";
      for (const Adapter& a : all) error += " " + a.name;
      error += ")";
      usageError = true;
      return false;
    }
  }
  for (Adapter& a : all) {
    if (options.interfaces.empty() || Contains(options.interfaces, a.name)) chosen_.push_back(std::move(a));
  }
  if (chosen_.empty()) {
    error = "no up, broadcast-capable IPv4 interface to search on";
    return false;
  }
  for (const Adapter& a : chosen_) {
    for (const AdapterSubnet& subnet : a.subnets) pcAddresses_.push_back(subnet.ip);
  }
  list_ = CameraList(pcAddresses_);
  const net::OpenOutcome opened = net::OpenReplySocket(socket_);
  const std::string code = " (code " + std::to_string(opened.code) + ")";
  switch (opened.failed) {
    case net::OpenStep::kNone: break;
    case net::OpenStep::kStartup: error = "the socket library did not start" + code; return false;
    case net::OpenStep::kSocket: error = "cannot open a UDP socket" + code; return false;
    case net::OpenStep::kBind:
      error = "cannot bind UDP port " + std::to_string(kLocalPort) + code + "; is another search running?";
      return false;
  }
  // The scan sends only where a camera answered, and sleeps until replies.
  if (!socket_.arrivalKnown || !socket_.eventDriven) {
    error = "cannot set up the socket (code " + std::to_string(net::LastError()) + ")";
    return false;
  }
  return true;
}

void Scanner::SendSearch() {
  RequestFrame frame;
  BuildSearchRequest(frame);
  // Failures are not reported: the search is repeated, and a camera that no
  // search reached is simply not listed.
  SendOutOfEveryAdapter(socket_.socket, frame.bytes, kRequestSize, {net::kBroadcastAddress, options_.port}, chosen_,
                        SubnetCopies::kEach);
}

int Scanner::Receive(uint8_t* buffer, int capacity, Arrival& arrival) {
  int length = net::ReceiveWithArrival(socket_, buffer, capacity, chosen_, arrival);
  if (length >= 0 && arrival.name.empty()) arrival.index = 0;  // not one the scan searched: nothing is sent there
  return length;
}

void Scanner::ReceiveWaiting(const std::function<void(const CameraList&, std::size_t)>& onNew,
                             const std::function<void(const Camera&)>& onReply, bool& foundNew,
                             Clock::time_point until) {
  uint8_t RecvMsg[kReceiveSize];
  while (Clock::now() < until) {
    Arrival arrival;
    int length = Receive(RecvMsg, sizeof RecvMsg, arrival);
    if (length < 0) {
      // An oversized datagram is consumed and the next may be good; a
      // failure that would only repeat ends the scan, since waiting on the
      // socket would return at once and spin.
      const int code = net::LastError();
      if (net::ReceiveErrorPasses(code)) continue;
      if (code != net::kWouldBlock) receiveError_ = code;
      return;
    }
    Camera camera;
    if (!DecodeCamera(RecvMsg, length, camera)) continue;
    camera.arrival = std::move(arrival);
    if (list_.FromPc(camera)) continue;
    if (onReply) onReply(camera);
    int index = list_.Add(std::move(camera));
    if (index < 0) continue;
    foundNew = true;
    onNew(list_, static_cast<std::size_t>(index));
  }
}

void Scanner::Run(const std::function<void(const CameraList&, std::size_t)>& onNew,
                  const std::function<void(const Camera&)>& onReply) {
  receiveError_ = 0;
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> spacingMs(50, 250);
  Clock::time_point start = Clock::now();
  Clock::time_point hardEnd = start + Seconds(options_.timeoutSeconds);
  Clock::time_point nextSearch = start;
  Clock::time_point lastActivity = start;
  int searchesLeft = options_.repeat;
  while (true) {
    Clock::time_point now = Clock::now();
    if (searchesLeft > 0 && now >= nextSearch) {
      SendSearch();
      --searchesLeft;
      lastActivity = now;
      nextSearch = now + std::chrono::milliseconds(spacingMs(random));
    }
    bool foundNew = false;
    ReceiveWaiting(onNew, onReply, foundNew, hardEnd);
    if (receiveError_ != 0) return;
    now = Clock::now();
    if (foundNew) lastActivity = now;
    Clock::time_point end = std::min(hardEnd, lastActivity + Seconds(options_.waitSeconds));
    if (now >= end && searchesLeft == 0) return;
    if (now >= hardEnd) return;
    Clock::time_point wake = searchesLeft > 0 ? std::min(end, nextSearch) : end;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
    net::Wait(socket_.watch, wake_, static_cast<int>(std::max<long long>(ms, 0) + 1));
  }
}

void Scanner::Forget() {
  list_ = CameraList(pcAddresses_);
  uint8_t discard[kReceiveSize];
  Arrival arrival;
  // Bounded, since under a stream of replies the socket may never be empty:
  // about what the receive buffer holds is enough to drop what is stale.
  for (int i = 0; i < kStaleDatagramsDropped; ++i) {
    if (Receive(discard, sizeof discard, arrival) < 0 && !net::ReceiveErrorPasses(net::LastError())) return;
  }
}

bool Scanner::SendTo(const Camera& camera, const RequestFrame& frame, std::string& error) {
  if (camera.arrival.index == 0) {
    error = "the camera's reply came in on no known interface";
    return false;
  }
  net::Address to{net::kBroadcastAddress, camera.arrival.sourcePort};
  AdapterRoute route{camera.arrival.index, camera.arrival.ip};
  SendOutcome outcome = SendOutOfAdapter(socket_.socket, frame.bytes, kRequestSize, to, route);
  if (!outcome.sent) {
    error = "sending failed (code " + std::to_string(outcome.error) + ")";
    return false;
  }
  return true;
}

}  // namespace lumora::cli
