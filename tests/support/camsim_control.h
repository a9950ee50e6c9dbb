// The test side of the camera simulator's control channel: one text command
// per datagram, one answer back. The simulator runs on the camera side of the
// lab; LUMORA_CAMSIM names its control address.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/net_socket.h"

namespace lumora::test {

struct LoggedDatagram {
  int localPort = 0;   // the simulator's port it arrived on
  int senderPort = 0;
  std::vector<uint8_t> bytes;
};

class CamsimControl {
 public:
  // Empty when the test does not run in a lab with a simulator. `variable`
  // names the simulator's control address (LUMORA_CAMSIM_B: the second side
  // of a two-sided lab).
  static std::unique_ptr<CamsimControl> FromEnvironment(const char* variable = "LUMORA_CAMSIM");

  // For a test's set-up: connected, answering, its log cleared; empty when
  // there is no simulator to talk to.
  static std::unique_ptr<CamsimControl> ForTest(const char* variable = "LUMORA_CAMSIM");
  static constexpr char kNotInLab[] = "runs only inside a lab with the camera simulator (scripts/lab-run.sh)";

  CamsimControl(net::Address control, net::Socket socket);
  ~CamsimControl();
  CamsimControl(const CamsimControl&) = delete;
  CamsimControl& operator=(const CamsimControl&) = delete;

  // The answer, or "" when none came (after a few tries).
  std::string Command(const std::string& command);

  int LogCount();
  std::optional<LoggedDatagram> LogEntry(int index);
  // Waits at most `limitMs` until the log holds at least `count` datagrams.
  bool WaitForLogCount(int count, int limitMs = 5000);

  // Sends `bytes` to the PC side's port 3566 from the simulator's port `fromPort`.
  bool Send(int fromPort, const std::vector<uint8_t>& bytes);
  bool SendSize(int fromPort, int size);

 private:
  net::Address control_;
  net::Socket socket_;
  net::ReadWatch watch_;
  net::WakeSignal wake_;
};

std::string ToHex(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> FromHex(const std::string& hex);

}  // namespace lumora::test
