// camsim's command line, declared with CLI11: each option's check and what
// it sets are in its declaration, and the help is made from them.
#include "tools/camsim/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <sstream>

#include "protocol/decimal_text.h"
#include "tools/camsim/control_channel.h"
#include "tools/camsim/hex.h"

namespace camsim {
namespace {

[[noreturn]] void Refuse(const std::string& option, const std::string& why) {
  throw CLI::ValidationError(option, why);
}

std::string BadValue(const std::string& value, const std::string& expected) {
  return "bad value \"" + value + "\" (expected " + expected + ")";
}

// A whole number in [min, max], digits only, as the control channel reads
// them. Passed on without leading zeros: CLI11 would read "080" as octal.
CLI::Validator Decimal(uint64_t min, uint64_t max) {
  return CLI::Validator(
      [min, max](std::string& text) {
        uint64_t value = 0;
        if (!lumora::ReadDigits(text, min, max, value)) {
          return BadValue(text,
                          "a whole number " + std::to_string(min) + ".." + std::to_string(max));
        }
        text = std::to_string(value);
        return std::string();
      },
      "");
}

// Leaves out of the help the options without a description: old names,
// still read. CLI11's own way to hide an option (an empty group) would also
// drop its name from the messages that refuse its value.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option(const CLI::Option* option, bool isPositional) const override {
    if (option->get_description().empty()) return "";
    return CLI::Formatter::make_option(option, isPositional);
  }
};

// A whole-number option that sets `field`.
template <typename Field>
void AddNumber(CLI::App& app, const char* name, Field& field, uint64_t min, uint64_t max,
               const char* typeName, const char* description) {
  app.add_option(name, field, description)->type_name(typeName)->transform(Decimal(min, max));
}

// At most kMaxCameras, counting every option that added some.
void CheckCameraCount(const std::string& option, const std::vector<CameraSettings>& cameras) {
  if (cameras.size() > kMaxCameras) {
    Refuse(option, "too many cameras (at most " + std::to_string(kMaxCameras) + " in all)");
  }
}

void AddCamera(const std::string& keys, std::vector<CameraSettings>& cameras) {
  CameraSettings camera;
  std::string why;
  if (!ParseCamera(keys, cameras.size() + 1, camera, why)) Refuse("--camera", why);
  cameras.push_back(camera);
  CheckCameraCount("--camera", cameras);
}

void AddCameraFile(const std::string& path, const FileReader& readFile,
                   std::vector<CameraSettings>& cameras) {
  std::string contents;
  std::string why;
  if (!readFile(path, contents, why) ||
      !ParseCameraList(contents, cameras.size() + 1, cameras, why)) {
    Refuse("--config " + path, why);
  }
  CheckCameraCount("--config " + path, cameras);
}

void AddBurst(std::size_t count, std::vector<CameraSettings>& cameras) {
  for (std::size_t i = 0; i < count; ++i) cameras.push_back(DefaultCamera(cameras.size() + 1));
  CheckCameraCount("--burst", cameras);
}

void AddCameraOptions(CLI::App& app, const FileReader& readFile, CamsimOptions& o) {
  app.option_defaults()->group("Cameras");
  app.add_option_function<std::string>(
         "--camera", [&o](const std::string& keys) { AddCamera(keys, o.cameras); },
         "add a camera with these settings (KEYS below)")
      ->type_name("KEYS");
  app.add_option_function<std::string>(
         "--config",
         [&o, readFile](const std::string& path) { AddCameraFile(path, readFile, o.cameras); },
         "add one camera per line of FILE (KEYS; blank lines and\n"
         "lines starting with # are skipped)")
      ->type_name("FILE");
  app.add_option_function<std::size_t>(
         "--burst", [&o](std::size_t count) { AddBurst(count, o.cameras); },
         "add N default cameras (1..1000); all of them answer\n"
         "each search back to back")
      ->type_name("N")
      ->transform(Decimal(1, kMaxCameras));
}

void AddNetworkOptions(CLI::App& app, CamsimOptions& o) {
  app.option_defaults()->group("Network");
  AddNumber(app, "--port", o.port, 1, 65535, "P",
            "tool port to listen on, 0.0.0.0:P (default 4000)");
  AddNumber(app, "--reply-port", o.replyPort, 1, 65535, "P",
            "replies go to 255.255.255.255:P (default 3566)");
  AddNumber(app, "--source-port", o.sourcePort, 1, 65535, "S",
            "send replies from a socket bound to S (default: from\n"
            "the listening socket). Every socket camsim owns for\n"
            "cameras (listening, source, and those opened by the\n"
            "control channel's send commands) receives, logs and\n"
            "handles datagrams alike, because the program sends\n"
            "configuration requests to the source port of the last\n"
            "reply.");
  AddNumber(app, "--delay-ms", o.delayMs, 0, kMaxDelayMs, "D",
            "wait D ms (0..60000) before each reply: camera k of a\n"
            "search answers (k+1)*D ms after it arrived; the event\n"
            "loop goes on serving the control channel meanwhile");
  AddNumber(app, "--drop-searches", o.dropSearchesPercent, 0, 100, "PCT",
            "ignore PCT percent (0..100) of the searches received,\n"
            "as if they were lost on the way (logged all the same);\n"
            "which ones follows from --drop-pattern");
  AddNumber(app, "--ignore-config", o.ignoreConfigPercent, 0, 100, "PCT",
            "ignore PCT percent (0..100) of the configuration\n"
            "requests received, as if lost (logged all the same);\n"
            "which ones follows from --drop-pattern");
  AddNumber(app, "--silent-after-change", o.silentAfterChangeMs, 0, kMaxDelayMs, "MS",
            "a camera that took a configuration request answers no\n"
            "search for MS ms (0..60000), as a camera does that\n"
            "restarts its network after a change");
  AddNumber(app, "--drop-pattern", o.dropPattern, 0, UINT32_MAX, "N",
            "which ones those two ignore (0..4294967295, default\n"
            "1): the same N ignores the same ones, run after run");
  // Its old name, still read so that scripts written for it keep working;
  // not in the help (no description, see HelpFormatter).
  AddNumber(app, "--seed", o.dropPattern, 0, UINT32_MAX, "N", "");
  app.add_flag("--allow-host-network", o.allowHostNetwork,
               "run even in the machine's own network namespace\n"
               "(refused by default, exit 2)");
}

void AddSendOptions(CLI::App& app, CamsimOptions& o) {
  app.option_defaults()->group("Sends at start, in the order given");
  app.add_option_function<std::string>(
         "--send-hex",
         [&o](const std::string& hex) {
           SendRequest send;
           if (!ParseHex(hex, send.bytes) || send.bytes.empty()) {
             Refuse("--send-hex", BadValue(hex, "pairs of hex digits"));
           }
           o.sends.push_back(send);
         },
         "these bytes (pairs of hex digits, blanks allowed)")
      ->type_name("HEX");
  app.add_option_function<std::string>(
         "--send-crafted",
         [&o](const std::string& kind) {
           SendRequest send;
           send.kind = SendRequest::Kind::kCrafted;
           if (!ParseCraftedKind(kind, send.crafted)) {
             Refuse("--send-crafted",
                    BadValue(kind, "no-magic, unknown-tags, tag0, oversize or empty"));
           }
           o.sends.push_back(send);
         },
         "a malformed datagram built from the first camera:\n"
         "  no-magic      its reply with the magic \"KV281\"\n"
         "  unknown-tags  its reply with fields 0x16 (2 bytes)\n"
         "                and 0x30 (7 bytes) among the known ones\n"
         "  tag0          MAC and name, an end tag (00 00), then\n"
         "                the rest of its reply\n"
         "  oversize      3001 bytes: its reply, then zeros\n"
         "  empty         0 bytes")
      ->type_name("KIND");
  app.add_option_function<std::size_t>(
         "--send-size",
         [&o](std::size_t size) {
           SendRequest send;
           send.kind = SendRequest::Kind::kSized;
           send.size = size;
           o.sends.push_back(send);
         },
         "N bytes (0..65000): the magic first when N >= 5, the\n"
         "rest zeros")
      ->type_name("N")
      ->transform(Decimal(0, kMaxSendSize));
  AddNumber(app, "--flood-seconds", o.floodSeconds, 1, kMaxFloodSeconds, "T",
            "send the replies of all cameras back to back, over and\n"
            "over, for T seconds (1..60) or 1,000,000 datagrams,\n"
            "whichever comes first");
  AddNumber(app, "--flood-distinct", o.floodDistinct, 1, kMaxFloodDistinct, "N",
            "floods (from --flood-seconds or the control channel)\n"
            "send the replies of N made-up cameras (1..16777216)\n"
            "instead, in turn: the first camera's reply with MAC\n"
            "02 4C 00 and the camera's 24-bit number k, and IP\n"
            "10.k (k's three bytes), so N distinct (MAC, IP) pairs");
  app.add_flag("--once", o.once, "exit once the sends and the flood above are done");
}

void AddRunningOptions(CLI::App& app, CamsimOptions& o) {
  app.option_defaults()->group("Running");
  app.add_option("--log", o.logPath,
                 "append one line per datagram received on a camera\n"
                 "socket: <local-port> <sender-ip>:<sender-port>\n"
                 "<length> <hex, lower case>; flushed line by line")
      ->type_name("FILE")
      ->check([](const std::string& path) { return path.empty() ? "needs a file name" : ""; });
  AddNumber(app, "--max-seconds", o.maxSeconds, 1, kMaxRunSeconds, "T",
            "exit by itself after T seconds (default: run until\n"
            "SIGINT or SIGTERM; exit 0 on those)");
  AddNumber(app, "--control", o.controlPort, 1, 65535, "P",
            "UDP control channel on 0.0.0.0:P (see below)");
  // Given as soon as it is read, so that an error before it wins and nothing
  // after it is looked at.
  app.set_help_flag("-h,--help", "this text")->each([&app](const std::string&) {
    if (!app.remaining().empty()) throw CLI::ExtrasError(app.remaining());
    throw CLI::CallForHelp();
  });
}

// CLI11 reads a few words otherwise than camsim always has, and lab scripts
// may rely on camsim's reading: "--option=" is an empty value (CLI11 would
// take the next word), while a flag given a value, a lone "--" and "-h" run
// together with more letters are refused (CLI11 takes them). An option's
// value is passed on untouched, whatever it looks like, and so is all that
// follows the help flag, which is never read.
std::vector<std::string> WordsAsCamsimReadsThem(const CLI::App& app,
                                                const std::vector<std::string>& args) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    std::size_t equals = word.find('=');
    const CLI::Option* option = app.get_option_no_throw(word.substr(0, equals));
    bool flag = option != nullptr && option->get_expected_max() == 0;
    bool shortWithMore = word.size() > 2 && word[0] == '-' && word[1] != '-';
    if (word == "--" || shortWithMore || (flag && equals != std::string::npos)) {
      throw CLI::ExtrasError({word});
    }
    if (option != nullptr && option == app.get_help_ptr()) {
      words.insert(words.end(), args.begin() + i, args.end());
      break;
    }
    if (option != nullptr && !flag && equals + 1 == word.size()) {
      words.push_back(word.substr(0, equals));
      words.push_back("");
      continue;
    }
    words.push_back(word);
    bool valueFollows = option != nullptr && !flag && equals == std::string::npos;
    if (valueFollows && i + 1 < args.size()) words.push_back(args[++i]);
  }
  return words;
}

// Ports that would make camsim talk to itself.
void CheckPorts(const CamsimOptions& options) {
  uint16_t replySource = options.sourcePort != 0 ? options.sourcePort : options.port;
  if (options.controlPort != 0 &&
      (options.controlPort == options.port || options.controlPort == options.sourcePort)) {
    Refuse("--control",
           "port " + std::to_string(options.controlPort) + " is already a camera port");
  }
  if (options.replyPort == options.port || options.replyPort == replySource ||
      options.replyPort == options.controlPort) {
    Refuse("--reply-port", "port " + std::to_string(options.replyPort) +
                               " is one camsim listens on, so it would hear its own replies");
  }
}

}  // namespace

OptionsOutcome ParseOptions(const std::vector<std::string>& args, const FileReader& readFile,
                            CamsimOptions& options, std::string& message) {
  options = CamsimOptions();
  CLI::App app(
      "Simulates network cameras that answer the Lumora Search program's UDP\n"
      "broadcasts. Run it only inside a lab network namespace: it broadcasts.",
      "camsim");
  app.formatter(std::make_shared<HelpFormatter>());
  app.get_formatter()->column_width(24);
  app.footer(kHelpFooter);
  AddCameraOptions(app, readFile, options);
  AddNetworkOptions(app, options);
  AddSendOptions(app, options);
  AddRunningOptions(app, options);
  // Each option acts as it is read: cameras and sends keep the command line's
  // order, and the first bad word is the one reported.
  for (CLI::Option* option : app.get_options()) option->trigger_on_parse();
  std::ostringstream out;
  std::ostringstream err;
  try {
    std::vector<std::string> words = WordsAsCamsimReadsThem(app, args);
    std::reverse(words.begin(), words.end());
    app.parse(words);
    if (options.cameras.empty()) options.cameras.push_back(DefaultCamera(1));
    CheckPorts(options);
    return OptionsOutcome::kRun;
  } catch (const CLI::ParseError& e) {
    bool help = app.exit(e, out, err) == 0;
    message = help ? out.str() : err.str();
    return help ? OptionsOutcome::kHelp : OptionsOutcome::kError;
  }
}

}  // namespace camsim
