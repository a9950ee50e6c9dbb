// Command-line parsing and the checks between options.
#include "tools/camsim/options.h"

#include "tools/camsim/control_channel.h"
#include "tools/camsim/decimal.h"
#include "tools/camsim/hex.h"

namespace camsim {
namespace {

bool IsValueOption(const std::string& name) {
  static const char* const kNames[] = {
      "--port",      "--reply-port",   "--source-port",  "--delay-ms",      "--log",
      "--send-hex",  "--send-crafted", "--send-size",    "--flood-seconds", "--max-seconds",
      "--control",   "--camera",       "--config",       "--burst",         "--drop-searches",
      "--seed",      "--flood-distinct",
  };
  for (const char* known : kNames) {
    if (name == known) return true;
  }
  return false;
}

bool NumberValue(const std::string& name, const std::string& value, uint64_t min, uint64_t max,
                 uint64_t& out, std::string& error) {
  if (ParseDecimal(value, min, max, out)) return true;
  error = name + ": bad value \"" + value + "\" (expected a whole number " + std::to_string(min) +
          ".." + std::to_string(max) + ")";
  return false;
}

bool AddBurst(std::size_t count, std::vector<CameraSettings>& cameras) {
  if (count > kMaxCameras - cameras.size()) return false;
  for (std::size_t i = 0; i < count; ++i) cameras.push_back(DefaultCamera(cameras.size() + 1));
  return true;
}

// One option with its value; false with `error` set when the value is bad.
bool TakeOption(const std::string& name, const std::string& value, const FileReader& readFile,
                CamsimOptions& options, std::string& error) {
  uint64_t number = 0;
  if (name == "--port" || name == "--reply-port" || name == "--source-port" ||
      name == "--control") {
    if (!NumberValue(name, value, 1, 65535, number, error)) return false;
    uint16_t port = static_cast<uint16_t>(number);
    if (name == "--port") options.port = port;
    if (name == "--reply-port") options.replyPort = port;
    if (name == "--source-port") options.sourcePort = port;
    if (name == "--control") options.controlPort = port;
    return true;
  }
  if (name == "--delay-ms") {
    if (!NumberValue(name, value, 0, kMaxDelayMs, number, error)) return false;
    options.delayMs = static_cast<unsigned>(number);
    return true;
  }
  if (name == "--flood-seconds") {
    if (!NumberValue(name, value, 1, kMaxFloodSeconds, number, error)) return false;
    options.floodSeconds = static_cast<unsigned>(number);
    return true;
  }
  if (name == "--flood-distinct") {
    if (!NumberValue(name, value, 1, kMaxFloodDistinct, number, error)) return false;
    options.floodDistinct = static_cast<uint32_t>(number);
    return true;
  }
  if (name == "--max-seconds") {
    if (!NumberValue(name, value, 1, kMaxRunSeconds, number, error)) return false;
    options.maxSeconds = static_cast<unsigned>(number);
    return true;
  }
  if (name == "--drop-searches") {
    if (!NumberValue(name, value, 0, 100, number, error)) return false;
    options.dropSearchesPercent = static_cast<unsigned>(number);
    return true;
  }
  if (name == "--seed") {
    if (!NumberValue(name, value, 0, 4294967295u, number, error)) return false;
    options.seed = static_cast<uint32_t>(number);
    return true;
  }
  if (name == "--log") {
    if (value.empty()) {
      error = "--log: needs a file name";
      return false;
    }
    options.logPath = value;
    return true;
  }
  if (name == "--send-hex") {
    SendRequest send;
    if (!ParseHex(value, send.bytes) || send.bytes.empty()) {
      error = "--send-hex: bad value \"" + value + "\" (expected pairs of hex digits)";
      return false;
    }
    options.sends.push_back(send);
    return true;
  }
  if (name == "--send-crafted") {
    SendRequest send;
    send.kind = SendRequest::Kind::kCrafted;
    if (!ParseCraftedKind(value, send.crafted)) {
      error = "--send-crafted: bad value \"" + value +
              "\" (expected no-magic, unknown-tags, tag0, oversize or empty)";
      return false;
    }
    options.sends.push_back(send);
    return true;
  }
  if (name == "--send-size") {
    if (!NumberValue(name, value, 0, kMaxSendSize, number, error)) return false;
    SendRequest send;
    send.kind = SendRequest::Kind::kSized;
    send.size = static_cast<std::size_t>(number);
    options.sends.push_back(send);
    return true;
  }
  if (name == "--burst") {
    if (!NumberValue(name, value, 1, kMaxCameras, number, error)) return false;
    if (!AddBurst(static_cast<std::size_t>(number), options.cameras)) {
      error = "--burst: too many cameras (at most " + std::to_string(kMaxCameras) + " in all)";
      return false;
    }
    return true;
  }
  if (name == "--camera") {
    CameraSettings camera;
    std::string why;
    if (options.cameras.size() >= kMaxCameras) {
      error = "--camera: too many cameras (at most " + std::to_string(kMaxCameras) + ")";
      return false;
    }
    if (!ParseCamera(value, options.cameras.size() + 1, camera, why)) {
      error = "--camera: " + why;
      return false;
    }
    options.cameras.push_back(camera);
    return true;
  }
  // --config
  std::string contents;
  std::string why;
  if (!readFile(value, contents, why)) {
    error = "--config " + value + ": " + why;
    return false;
  }
  if (!ParseCameraList(contents, options.cameras.size() + 1, options.cameras, why)) {
    error = "--config " + value + ": " + why;
    return false;
  }
  if (options.cameras.size() > kMaxCameras) {
    error = "--config " + value + ": too many cameras (at most " + std::to_string(kMaxCameras) +
            ")";
    return false;
  }
  return true;
}

// Ports that would make camsim talk to itself.
bool CheckPorts(const CamsimOptions& options, std::string& error) {
  uint16_t replySource = options.sourcePort != 0 ? options.sourcePort : options.port;
  if (options.controlPort != 0 &&
      (options.controlPort == options.port || options.controlPort == options.sourcePort)) {
    error = "--control: port " + std::to_string(options.controlPort) +
            " is already a camera port";
    return false;
  }
  if (options.replyPort == options.port || options.replyPort == replySource ||
      options.replyPort == options.controlPort) {
    error = "--reply-port: port " + std::to_string(options.replyPort) +
            " is one camsim listens on, so it would hear its own replies";
    return false;
  }
  return true;
}

}  // namespace

OptionsOutcome ParseOptions(const std::vector<std::string>& args, const FileReader& readFile,
                            CamsimOptions& options, std::string& error) {
  options = CamsimOptions();
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    if (name == "--help" || name == "-h") return OptionsOutcome::kHelp;
    if (name == "--once") {
      options.once = true;
      continue;
    }
    if (name == "--allow-host-network") {
      options.allowHostNetwork = true;
      continue;
    }
    std::string value;
    std::size_t equals = name.find('=');
    bool inlineValue = name.compare(0, 2, "--") == 0 && equals != std::string::npos;
    if (inlineValue) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (!IsValueOption(name)) {
      error = "unknown option '" + name + "' (see --help)";
      return OptionsOutcome::kError;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = name + ": needs a value";
        return OptionsOutcome::kError;
      }
      value = args[++i];
    }
    if (!TakeOption(name, value, readFile, options, error)) return OptionsOutcome::kError;
  }
  if (options.cameras.empty()) options.cameras.push_back(DefaultCamera(1));
  if (!CheckPorts(options, error)) return OptionsOutcome::kError;
  return OptionsOutcome::kRun;
}

}  // namespace camsim
