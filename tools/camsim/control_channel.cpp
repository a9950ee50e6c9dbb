#include "tools/camsim/control_channel.h"

#include <sstream>

#include "protocol/decimal_text.h"
#include "tools/camsim/hex.h"

namespace camsim {
namespace {

// The hex of a log entry is cut so that the whole line stays in one reply.
inline constexpr std::size_t kMaxLoggedHexBytes = (kMaxControlReply - 64) / 2;

std::vector<std::string> Words(const std::string& text) {
  std::istringstream stream(text);
  std::vector<std::string> words;
  std::string word;
  while (stream >> word) words.push_back(word);
  return words;
}

ControlCommand Command(ControlVerb verb) {
  ControlCommand command;
  command.verb = verb;
  return command;
}

ControlCommand Usage(const char* usage) {
  ControlCommand command;
  command.verb = ControlVerb::kBadArguments;
  command.usage = usage;
  return command;
}

ControlCommand Simple(ControlVerb verb, std::size_t words, const char* usage) {
  return words == 1 ? Command(verb) : Usage(usage);
}

bool ReadPort(const std::string& text, uint16_t& port) {
  uint64_t value = 0;
  if (!lumora::ReadDigits(text, 0, 65535, value)) return false;
  port = static_cast<uint16_t>(value);
  return true;
}

ControlCommand ParseSend(const std::vector<std::string>& words) {
  static const char* kUsage = "send S HEX";
  ControlCommand command;
  command.verb = ControlVerb::kSend;
  if (words.size() < 3 || !ReadPort(words[1], command.port)) return Usage(kUsage);
  std::string hex;
  for (std::size_t i = 2; i < words.size(); ++i) hex += words[i];
  command.send.kind = SendRequest::Kind::kHex;
  if (!ParseHex(hex, command.send.bytes)) return Usage(kUsage);
  return command;
}

ControlCommand ParseSendSize(const std::vector<std::string>& words) {
  static const char* kUsage = "send-size S N (N 0..65000)";
  ControlCommand command;
  command.verb = ControlVerb::kSend;
  uint64_t size = 0;
  if (words.size() != 3 || !ReadPort(words[1], command.port) ||
      !lumora::ReadDigits(words[2], 0, kMaxSendSize, size)) {
    return Usage(kUsage);
  }
  command.send.kind = SendRequest::Kind::kSized;
  command.send.size = static_cast<std::size_t>(size);
  return command;
}

ControlCommand ParseSendCrafted(const std::vector<std::string>& words) {
  static const char* kUsage = "send-crafted S no-magic|unknown-tags|tag0|oversize|empty";
  ControlCommand command;
  command.verb = ControlVerb::kSend;
  command.send.kind = SendRequest::Kind::kCrafted;
  if (words.size() != 3 || !ReadPort(words[1], command.port) ||
      !ParseCraftedKind(words[2], command.send.crafted)) {
    return Usage(kUsage);
  }
  return command;
}

std::string ListCameras(const std::vector<CameraSettings>& cameras, uint64_t first) {
  if (first >= cameras.size()) return "err no such camera";
  std::string reply;
  for (uint64_t i = first; i < cameras.size(); ++i) {
    std::string line = FormatCamera(cameras[i], ' ');
    // Room is kept for the "more" line that tells where to go on.
    if (reply.size() + line.size() + 32 > kMaxControlReply) {
      return reply + "more " + std::to_string(i);
    }
    reply += line;
    reply += '\n';
  }
  reply.pop_back();
  return reply;
}

}  // namespace

ControlCommand ParseControlCommand(const std::string& text) {
  std::vector<std::string> words = Words(text);
  if (words.empty()) return ControlCommand{};
  const std::string& verb = words[0];
  uint64_t number = 0;
  if (verb == "ping") return Simple(ControlVerb::kPing, words.size(), "ping");
  if (verb == "log-count") return Simple(ControlVerb::kLogCount, words.size(), "log-count");
  if (verb == "log-clear") return Simple(ControlVerb::kLogClear, words.size(), "log-clear");
  if (verb == "flood-stop") return Simple(ControlVerb::kFloodStop, words.size(), "flood-stop");
  if (verb == "log-get") {
    if (words.size() != 2 || !lumora::ReadDigits(words[1], 0, UINT64_C(999999999999), number)) {
      return Usage("log-get I");
    }
    ControlCommand command = Command(ControlVerb::kLogGet);
    command.index = number;
    return command;
  }
  if (verb == "cameras") {
    if (words.size() > 2 ||
        (words.size() == 2 && !lumora::ReadDigits(words[1], 0, kMaxCameras, number))) {
      return Usage("cameras [FIRST]");
    }
    ControlCommand command = Command(ControlVerb::kCameras);
    command.index = number;
    return command;
  }
  if (verb == "flood") {
    if (words.size() != 2 || !lumora::ReadDigits(words[1], 1, kMaxFloodSeconds, number)) {
      return Usage("flood T (T 1..60 seconds)");
    }
    ControlCommand command = Command(ControlVerb::kFlood);
    command.seconds = static_cast<unsigned>(number);
    return command;
  }
  if (verb == "answer" || verb == "configure") {
    if (words.size() != 2 || (words[1] != "on" && words[1] != "off")) {
      return Usage((verb + " on|off").c_str());
    }
    ControlCommand command = Command(verb == "answer" ? ControlVerb::kAnswer : ControlVerb::kConfigure);
    command.on = words[1] == "on";
    return command;
  }
  if (verb == "send") return ParseSend(words);
  if (verb == "send-size") return ParseSendSize(words);
  if (verb == "send-crafted") return ParseSendCrafted(words);
  return ControlCommand{};
}

ControlOutcome ExecuteControlCommand(const ControlCommand& command, SimulatorState& state) {
  ControlOutcome outcome;
  outcome.reply = "ok";
  switch (command.verb) {
    case ControlVerb::kUnknown: outcome.reply = "err unknown command"; break;
    case ControlVerb::kBadArguments: outcome.reply = "err usage: " + command.usage; break;
    case ControlVerb::kPing: outcome.reply = "pong"; break;
    case ControlVerb::kLogCount: outcome.reply = std::to_string(state.log.count); break;
    case ControlVerb::kLogGet:
      if (command.index < state.log.entries.size()) {
        outcome.reply = FormatControlLine(state.log.entries[command.index], kMaxLoggedHexBytes);
      } else {
        outcome.reply = "err no such entry";
      }
      break;
    case ControlVerb::kLogClear: ClearLog(state.log); break;
    case ControlVerb::kSend:
      outcome.send = true;
      outcome.port = command.port;
      outcome.datagram = BuildPayload(command.send, state.cameras.front());
      break;
    case ControlVerb::kFlood:
      outcome.flood = ControlOutcome::Flood::kStart;
      outcome.floodSeconds = command.seconds;
      break;
    case ControlVerb::kFloodStop: outcome.flood = ControlOutcome::Flood::kStop; break;
    case ControlVerb::kCameras: outcome.reply = ListCameras(state.cameras, command.index); break;
    case ControlVerb::kAnswer: state.answering = command.on; break;
    case ControlVerb::kConfigure: state.configuring = command.on; break;
  }
  return outcome;
}

}  // namespace camsim
