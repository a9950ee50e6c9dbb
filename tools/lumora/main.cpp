// lumora: search for cameras and set them up from a terminal, on every
// network interface at once. It speaks the dialog's own datagrams, built and
// read by the same protocol code; only the sending differs: out of each
// interface, where the dialog's single broadcast reaches one.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>

#include "protocol/decode_reply.h"
#include "protocol/mac_text.h"
#include "tools/common/host_guard.h"
#include "tools/lumora/build_text.h"
#include "tools/lumora/output.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/scanner.h"
#include "tools/lumora/settings_change.h"

namespace {

using namespace lumora::cli;

enum ExitCode { kDone = 0, kNotDone = 1, kUsage = 2 };

constexpr char kScanFooter[] = R"(
Each camera is printed once per distinct (MAC, IP) pair, as soon as its first
reply arrives. Lines are written as they come, so a warning that a later
reply reveals (duplicate-mac, duplicate-ip) shows only on the lines printed
after it; the first of two cameras sharing a MAC is printed without it.
Warnings: duplicate-mac (one MAC from two IP addresses), duplicate-ip (two
MACs with one IP address), off-subnet (the camera's IP address is outside
the subnet of the interface it answered on).
Exit status: 0 when a camera was found, 1 when none was, 2 on a usage error.

Examples:
  lumora scan
  lumora scan --interface eth1 --format json
  lumora scan --format csv --wait 2 > cameras.csv)";

constexpr char kSetFooter[] = R"(
Scans first (with the scan options), then sends one configuration request,
the one the Lumora Search dialog sends when its panel shows the camera and
the given values are typed in: only out of the interface the camera answered
on, to 255.255.255.255 at the port its reply came from, so a camera outside
the PC's subnet is reached too. Then scans again and checks that the camera
shows the new values (skipped with --no-verify). Values are checked before
anything is sent. A camera whose MAC answers from two IP addresses is not
changed: the request would reach both.
Exit status: 0 done (and verified), 1 not found, shared MAC or not verified,
2 on a usage error or an invalid value.

Examples:
  lumora set 001A2B3C4D01 --ip 192.168.1.20 --mask 255.255.255.0 --gateway 192.168.1.1
  lumora set 001A2B3C4D01 --mode dhcp
  lumora set 001A2B3C4D01 --name Entrance --http-port 8080 --interface eth1)";

constexpr char kOpenFooter[] = R"(
Finds the camera by a scan and opens http://IP/index.html (or
http://IP:PORT/index.html when its HTTP port is not 80) in the browser.
Exit status: 0 done, 1 not found or the browser could not be started, 2 on a
usage error.

Examples:
  lumora open 001A2B3C4D01
  lumora open 001A2B3C4D01 --print)";

constexpr char kMainFooter[] = R"(
Run "lumora COMMAND --help" for a command's options and examples.)";

struct ScanArgs {
  ScanOptions scan;
  std::string format = "table";
  bool showSecrets = false;
};

void AddScanOptions(CLI::App& command, ScanArgs& args) {
  // The ranges are said in the descriptions; CLI11's own note would repeat them.
  command.add_option("--interface", args.scan.interfaces, "search only on this interface (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  command.add_option("--port", args.scan.port, "the cameras' UDP tool port, 1..65535 (default 4000)")
      ->type_name("N")
      ->check(CLI::Range(1, 65535).description(""));
  command.add_option("--wait", args.scan.waitSeconds, "end S seconds after the last new camera or search (default 1)")
      ->type_name("S")
      ->check(CLI::Range(0.0, 3600.0).description(""));
  command.add_option("--timeout", args.scan.timeoutSeconds, "end after S seconds in any case (default 10)")
      ->type_name("S")
      ->check(CLI::Range(0.1, 3600.0).description(""));
  command.add_option("--repeat", args.scan.repeat, "search N times, 50 to 250 ms apart, 1..100 (default 3)")
      ->type_name("N")
      ->check(CLI::Range(1, 100).description(""));
}

// Prints a camera line, keeping a live count on a terminal's stderr.
class Printer {
 public:
  explicit Printer(const OutputOptions& options) : options_(options), live_(IsTerminal(stderr)) {}

  void Start() {
    if (options_.format == Format::kCsv) PrintLine(HeaderLine(options_));
  }

  void Print(const Camera& camera) {
    if (count_ == 0 && options_.format == Format::kTable) PrintLine(HeaderLine(options_));
    ++count_;
    PrintLine(CameraLine(camera, options_));
  }

  void Finish() {
    ClearLive();
    if (options_.format == Format::kTable) {
      std::fprintf(stderr, "%zu camera%s found\n", count_, count_ == 1 ? "" : "s");
    }
  }

  std::size_t count() const { return count_; }

 private:
  void PrintLine(const std::string& line) {
    ClearLive();
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    if (live_ && count_ > 0) std::fprintf(stderr, "%zu found", count_);
  }
  void ClearLive() {
    if (live_ && count_ > 0) std::fprintf(stderr, "\r%20s\r", "");
  }

  OutputOptions options_;
  bool live_;
  std::size_t count_ = 0;
};

bool Guard(bool allowHostNetwork) {
  std::string why;
  if (allowHostNetwork || lumora::tools::InLabNamespace(why)) return true;
  std::fprintf(stderr, "lumora: %s; --allow-host-network overrides this on a real network\n", why.c_str());
  return false;
}

// Opens the scanner; the exit code when it cannot be.
std::optional<int> OpenScanner(Scanner& scanner, const ScanOptions& options) {
  std::string error;
  bool usageError = false;
  if (scanner.Open(options, error, usageError)) return std::nullopt;
  std::fprintf(stderr, "lumora: %s\n", error.c_str());
  return usageError ? kUsage : kNotDone;
}

int RunScan(const ScanArgs& args) {
  OutputOptions output;
  ParseFormat(args.format, output.format);
  output.showSecrets = args.showSecrets;
  Scanner scanner;
  if (auto code = OpenScanner(scanner, args.scan)) return *code;
  Printer printer(output);
  printer.Start();
  scanner.Run([&](const CameraList& list, std::size_t index) { printer.Print(list.cameras()[index]); });
  printer.Finish();
  return printer.count() > 0 ? kDone : kNotDone;
}

// The one camera with this MAC, or the exit code that says why there is none.
std::optional<int> FindOne(const Scanner& scanner, const std::string& mac, std::size_t& index) {
  std::vector<std::size_t> found = scanner.list().FindMac(mac);
  if (found.empty()) {
    std::fprintf(stderr, "lumora: no camera with MAC %s answered\n", mac.c_str());
    return kNotDone;
  }
  if (found.size() > 1) {
    std::fprintf(stderr, "lumora: MAC %s answers from %zu IP addresses (duplicate-mac):", mac.c_str(), found.size());
    for (std::size_t i : found) std::fprintf(stderr, " %s", scanner.list().cameras()[i].record.ipText);
    std::fprintf(stderr, "; a request by MAC would reach all of them, so nothing is done\n");
    return kNotDone;
  }
  index = found.front();
  return std::nullopt;
}

int RunSet(const ScanArgs& args, const std::string& mac, SettingsChange change, bool verify) {
  Scanner scanner;
  if (auto code = OpenScanner(scanner, args.scan)) return *code;
  scanner.Run([](const CameraList&, std::size_t) {});
  std::size_t index = 0;
  if (auto code = FindOne(scanner, mac, index)) return *code;
  const Camera camera = scanner.list().cameras()[index];

  static lumora::DeviceTable table;
  table.slots[0] = camera.record;
  lumora::RequestFrame frame;
  lumora::StartRequest(frame);
  lumora::ComposeConfigurationRequest(PanelFor(camera.record, change), table, frame);
  std::string error;
  if (!scanner.SendTo(camera, frame, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return kNotDone;
  }
  std::printf("sent the configuration request for %s out of %s to 255.255.255.255:%u\n", mac.c_str(),
              camera.arrival.interfaceName.c_str(), static_cast<unsigned>(camera.arrival.sourcePort));
  if (!verify) return kDone;

  std::string target = change.newMac ? *change.newMac : mac;
  scanner.Forget();
  scanner.Run([](const CameraList&, std::size_t) {});
  std::string mismatch = "it did not answer";
  for (std::size_t i : scanner.list().FindMac(target)) {
    mismatch = Mismatch(scanner.list().cameras()[i].record, change);
    if (mismatch.empty()) {
      std::printf("verified: %s shows the new values\n", target.c_str());
      return kDone;
    }
  }
  std::fprintf(stderr, "lumora: not verified: camera %s: %s\n", target.c_str(), mismatch.c_str());
  return kNotDone;
}

int RunOpen(const ScanArgs& args, const std::string& mac, bool printOnly) {
  Scanner scanner;
  if (auto code = OpenScanner(scanner, args.scan)) return *code;
  scanner.Run([](const CameraList&, std::size_t) {});
  std::size_t index = 0;
  if (auto code = FindOne(scanner, mac, index)) return *code;
  std::string url = PageAddress(scanner.list().cameras()[index].record);
  std::printf("%s\n", url.c_str());
  std::fflush(stdout);
  if (printOnly) return kDone;
  std::string error;
  if (!OpenInBrowser(url, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return kNotDone;
  }
  return kDone;
}

// A value option of `set`, kept as typed; absent unless given.
void AddValue(CLI::App& command, const char* name, std::optional<std::string>& out, const char* description,
              const char* typeName) {
  command.add_option_function<std::string>(name, [&out](const std::string& value) { out = value; }, description)
      ->type_name(typeName);
}

struct Commands {
  bool allowHostNetwork = false;
  CLI::App* scan = nullptr;
  ScanArgs scanArgs;
  CLI::App* set = nullptr;
  ScanArgs setScan;
  std::string setMac;
  SettingsChange change;
  bool noVerify = false;
  CLI::App* open = nullptr;
  ScanArgs openScan;
  std::string openMac;
  bool printOnly = false;
};

void AddScanCommand(CLI::App& app, Commands& c) {
  c.scan = app.add_subcommand("scan", "list every camera that answers, on every interface");
  c.scan->footer(kScanFooter);
  AddScanOptions(*c.scan, c.scanArgs);
  c.scan->add_option("--format", c.scanArgs.format, "table (default), json (JSON Lines) or csv")
      ->type_name("F")
      ->check(CLI::IsMember({"table", "json", "csv"}).description(""));
  c.scan->add_flag("--show-secrets", c.scanArgs.showSecrets, "include the PPPoE password (json and csv)");
}

void AddSetCommand(CLI::App& app, Commands& c) {
  CLI::App& set = *(c.set = app.add_subcommand("set", "change a camera's network settings"));
  set.footer(kSetFooter);
  set.add_option("MAC", c.setMac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(set, c.setScan);
  SettingsChange& v = c.change;
  AddValue(set, "--name", v.name, "device name (at most 16 bytes)", "T");
  AddValue(set, "--ip", v.ip, "IP address, dotted", "A");
  AddValue(set, "--mask", v.mask, "subnet mask, dotted", "A");
  AddValue(set, "--gateway", v.gateway, "gateway, dotted", "A");
  AddValue(set, "--http-port", v.httpPort, "HTTP port, 1..65535", "N");
  AddValue(set, "--audio-port", v.audioPort, "audio port, 1..65535", "N");
  AddValue(set, "--mode", v.mode, "IP assignment: static, dhcp or pppoe", "MODE");
  AddValue(set, "--pppoe-account", v.pppoeAccount, "PPPoE account (at most 32 bytes)", "T");
  AddValue(set, "--pppoe-password", v.pppoePassword, "PPPoE password (at most 32 bytes)", "T");
  AddValue(set, "--new-mac", v.newMac, "give the camera this MAC", "MAC");
  set.add_flag("--no-verify", c.noVerify, "do not scan again to check the change");
}

void AddOpenCommand(CLI::App& app, Commands& c) {
  c.open = app.add_subcommand("open", "open a camera's web page");
  c.open->footer(kOpenFooter);
  c.open->add_option("MAC", c.openMac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(*c.open, c.openScan);
  c.open->add_flag("--print", c.printOnly, "only print the address");
}

std::optional<std::string> MacArgument(const std::string& text) {
  std::optional<std::string> mac = NormalizeMac(text);
  if (!mac) std::fprintf(stderr, "lumora: MAC: '%s' is not 12 hexadecimal digits\n", text.c_str());
  return mac;
}

// Every value is checked before the guard and before any socket.
int Dispatch(Commands& c) {
  if (c.scan->parsed()) return Guard(c.allowHostNetwork) ? RunScan(c.scanArgs) : kUsage;
  if (c.set->parsed()) {
    std::optional<std::string> target = MacArgument(c.setMac);
    if (!target) return kUsage;
    std::string problem = CheckChange(c.change);
    if (!problem.empty()) {
      std::fprintf(stderr, "lumora: %s\n", problem.c_str());
      return kUsage;
    }
    return Guard(c.allowHostNetwork) ? RunSet(c.setScan, *target, c.change, !c.noVerify) : kUsage;
  }
  std::optional<std::string> target = MacArgument(c.openMac);
  if (!target) return kUsage;
  return Guard(c.allowHostNetwork) ? RunOpen(c.openScan, *target, c.printOnly) : kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("lumora: search for network cameras and set them up, on every network interface.", "lumora");
  app.footer(std::string(kMainFooter) + lumora::tools::kGuardHelp);
  app.set_version_flag("--version", lumora::tools::kVersionText);
  app.require_subcommand(1);
  Commands commands;
  app.add_flag("--allow-host-network", commands.allowHostNetwork, "run even in the machine's own network namespace")
      ->group("");
  AddScanCommand(app, commands);
  AddSetCommand(app, commands);
  AddOpenCommand(app, commands);
  // --allow-host-network is accepted after the command too.
  for (CLI::App* command : {commands.scan, commands.set, commands.open}) {
    command->add_flag("--allow-host-network", commands.allowHostNetwork,
                      "run even in the machine's own network namespace");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kDone : kUsage;
  }
  return Dispatch(commands);
}
