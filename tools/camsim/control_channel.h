// The text commands of the control channel: reading one command datagram,
// and carrying it out against the simulator state. Sends and floods need
// the sockets, so for those the outcome says what the event loop should do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/camsim/reply_encoding.h"
#include "tools/camsim/simulator_state.h"

namespace camsim {

enum class ControlVerb {
  kUnknown,       // -> "err unknown command"
  kBadArguments,  // a known verb with the wrong arguments -> "err usage: ..."
  kPing,
  kLogCount,
  kLogGet,
  kLogClear,
  kSend,  // send, send-size and send-crafted
  kFlood,
  kFloodStop,
  kCameras,
  kAnswer,
  kConfigure,
};

inline constexpr unsigned kMaxFloodSeconds = 60;
// Replies are kept below the largest UDP payload with room to spare.
inline constexpr std::size_t kMaxControlReply = 60000;

struct ControlCommand {
  ControlVerb verb = ControlVerb::kUnknown;
  std::string usage;      // kBadArguments
  uint16_t port = 0;      // kSend: local port, 0 = the listening socket
  SendRequest send;       // kSend
  uint64_t index = 0;     // kLogGet: the entry; kCameras: the first camera listed
  unsigned seconds = 0;   // kFlood
  bool on = false;        // kAnswer, kConfigure
};

// One command per datagram; words are separated by blanks, and blanks and a
// line end around the command are ignored. The hex of `send` may itself
// contain blanks.
ControlCommand ParseControlCommand(const std::string& text);

struct ControlOutcome {
  std::string reply;
  bool send = false;  // send `datagram` from local port `port`; a failure replaces the reply
  uint16_t port = 0;
  std::vector<uint8_t> datagram;
  enum class Flood { kNone, kStart, kStop } flood = Flood::kNone;
  unsigned floodSeconds = 0;
};

ControlOutcome ExecuteControlCommand(const ControlCommand& command, SimulatorState& state);

}  // namespace camsim
