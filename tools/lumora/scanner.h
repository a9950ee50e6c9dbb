// The search on every adapter: one socket bound to the reply port, the
// search request sent out of each chosen adapter (the limited broadcast
// forced onto it, and the subnet-directed broadcast), repeated, and every
// reply taken with the adapter it arrived on.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/packet_format.h"
#include "tools/lumora/camera_list.h"
#include "net/adapters.h"
#include "net/reply_socket.h"

namespace lumora::cli {

struct ScanOptions {
  std::vector<std::string> interfaces;  // adapter names; empty: every usable one
  uint16_t port = 4000;                 // the cameras' tool port
  double waitSeconds = 1.0;             // quiet time after the last new camera or search
  double timeoutSeconds = 10.0;         // the end in any case
  int repeat = 3;                       // searches per adapter
};

class Scanner {
 public:
  Scanner() = default;
  ~Scanner();
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  // Chooses the adapters and opens the socket. False with `error` set; a
  // bad adapter name is `usageError` (the caller's exit code 2).
  bool Open(const ScanOptions& options, std::string& error, bool& usageError);

  // Runs one search; `onNew` is called for each new (MAC, IP) pair listed as
  // its first reply arrives, and `onReply` for every camera's reply, repeats
  // included (a camera may answer with its old values, then its new ones).
  // Cameras found by an earlier Run stay listed. Ends at the time-out
  // whatever keeps arriving, and at a receive failure that would only repeat.
  void Run(const std::function<void(const CameraList&, std::size_t)>& onNew,
           const std::function<void(const Camera&)>& onReply = {});

  // The Winsock code of the failure that ended the last Run early; 0: none.
  int receiveError() const { return receiveError_; }

  // Forgets every camera found so far, and drops replies still waiting, so
  // that a late answer to an earlier search does not pass for a new one.
  void Forget();

  // Sends `frame` (all 256 bytes) to 255.255.255.255 at the camera's reply
  // source port, out of the adapter its reply arrived on only.
  bool SendTo(const Camera& camera, const RequestFrame& frame, std::string& error);

  const CameraList& list() const { return list_; }
  const std::vector<Adapter>& adapters() const { return chosen_; }
  // Every IPv4 address of every adapter of the PC, whatever --interface
  // chose: a camera given one of them would take the PC off that network.
  const std::vector<uint32_t>& everyPcAddress() const { return everyPcAddress_; }
  // The PC's default gateways, every adapter's: no camera may take a router's address.
  const std::vector<uint32_t>& pcGateways() const { return pcGateways_; }

 private:
  void SendSearch();
  void ReceiveWaiting(const std::function<void(const CameraList&, std::size_t)>& onNew,
                      const std::function<void(const Camera&)>& onReply, bool& foundNew,
                      std::chrono::steady_clock::time_point until);
  // One datagram with its arrival; -1 when none (net::LastError() says why).
  int Receive(uint8_t* buffer, int capacity, Arrival& arrival);

  ScanOptions options_;
  std::vector<Adapter> chosen_;
  std::vector<uint32_t> everyPcAddress_;
  std::vector<uint32_t> pcGateways_;
  net::ReplySocket socket_;
  net::WakeSignal wake_;  // never signalled: the scan's waits end on a datagram or their time
  std::vector<uint32_t> pcAddresses_;  // those of the chosen adapters
  CameraList list_;
  int receiveError_ = 0;
};

}  // namespace lumora::cli
