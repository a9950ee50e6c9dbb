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
#include "provisioning/sheet_text.h"
#include "tools/common/host_guard.h"
#include "tools/lumora/code_page.h"
#include "tools/lumora/number_text.h"
#include "tools/lumora/build_text.h"
#include "tools/lumora/output.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/printer.h"
#include "tools/lumora/scanner.h"
#include "tools/lumora/settings_change.h"
#include "tools/lumora/site_commands.h"

namespace {

using namespace lumora::cli;

enum ExitCode { kDone = 0, kNotDone = 1, kUsage = 2 };

constexpr char kScanFooter[] = R"(
Each camera is printed once per distinct (MAC, IP) pair, when the scan ends,
so every camera of a conflict carries its warning. With --stream each is
printed as soon as its first reply arrives, with the warnings known at that
moment: the first of two cameras sharing a MAC is printed without it. The
table's last line says how many cameras were found and how many carry
warnings; for json and csv that line goes to stderr. At most 65536 cameras
are kept; replies past that are counted, and stderr says how many.
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
anything is sent: addresses are four decimal numbers 0..255 without leading
zeros, numbers are decimal. A camera whose MAC answers from two IP addresses
is not changed: the request would reach both. A camera whose reply does not
say how it gets its address (no IP-assignment field) is changed only with
--mode, since the request always carries the mode.
Exit status: 0 done (and verified), 1 not found, shared MAC or not verified,
2 on a usage error or an invalid value.

Examples:
  lumora set 001A2B3C4D01 --ip 192.168.1.20 --mask 255.255.255.0 --gateway 192.168.1.1
  lumora set 001A2B3C4D01 --mode dhcp
  lumora set 001A2B3C4D01 --name Entrance --http-port 8080 --interface eth1
  lumora set 001A2B3C4D01 --mode pppoe --pppoe-account shop --pppoe-password-stdin < password.txt)";

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
  bool stream = false;
  bool bom = false;
  std::string codePage;
  CodePageReader readCodePage;  // from codePage, once checked
};

// CLI11 reads integers with strtoll's base 0 ("010" is 8) and doubles with
// strtold ("nan" passes a range check), so each number is checked as decimal
// text first; what passes reads the same either way.
CLI::Validator WholeNumber(long long min, long long max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        long long value = 0;
        if (ReadWholeNumber(text, min, max, value)) return "";
        return "'" + text + "' is not a decimal number from " + std::to_string(min) + " to " + std::to_string(max) +
               " without leading zeros";
      },
      "");
}

CLI::Validator Seconds(double min, double max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        double value = 0;
        if (ReadSeconds(text, min, max, value)) return "";
        char range[64];
        std::snprintf(range, sizeof range, "%g to %g", min, max);
        return "'" + text + "' is not a decimal number of seconds from " + range;
      },
      "");
}

#ifdef _WIN32
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this code page number (936, 932, ...; default: the system's)";
#else
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this iconv code page (GBK, SHIFT_JIS, ...; default: WINDOWS-1252)";
#endif

void AddScanOptions(CLI::App& command, ScanArgs& args) {
  // The ranges are said in the descriptions; CLI11's own note would repeat them.
  command.add_option("--interface", args.scan.interfaces, "search only on this interface (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  command.add_option("--port", args.scan.port, "the cameras' UDP tool port, 1..65535 (default 4000)")
      ->type_name("N")
      ->check(WholeNumber(1, 65535));
  command.add_option("--wait", args.scan.waitSeconds, "end S seconds after the last new camera or search (default 1)")
      ->type_name("S")
      ->check(Seconds(0.0, 3600.0));
  command.add_option("--timeout", args.scan.timeoutSeconds, "end after S seconds in any case (default 10)")
      ->type_name("S")
      ->check(Seconds(0.1, 3600.0));
  command.add_option("--repeat", args.scan.repeat, "search N times, 50 to 250 ms apart, 1..100 (default 3)")
      ->type_name("N")
      ->check(WholeNumber(1, 100));
  command.add_option("--codepage", args.codePage, kCodePageHelp)->type_name("CP");
}

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
  output.readCodePage = args.readCodePage;
  Scanner scanner;
  if (auto code = OpenScanner(scanner, args.scan)) return *code;
  if (args.bom && output.format == Format::kCsv) WriteText(stdout, lumora::provisioning::kUtf8Bom);
  Printer printer(output, args.stream);
  printer.Start();
  scanner.Run([&](const CameraList& list, std::size_t index) { printer.OnNew(list, index); });
  printer.Finish(scanner.list());
  ReportIgnored(scanner.list());
  return scanner.list().cameras().empty() ? kNotDone : kDone;
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
  ReportIgnored(scanner.list());
  std::size_t index = 0;
  if (auto code = FindOne(scanner, mac, index)) return *code;
  const Camera camera = scanner.list().cameras()[index];
  // Without the field the panel would check PPPoE, and the dialog's operator
  // would see that before pressing "Submit"; here nobody would.
  if (!camera.carriesIpAssign && !change.mode) {
    std::fprintf(stderr,
                 "lumora: camera %s did not say how it gets its address (its reply has no IP-assignment "
                 "field); give --mode static, dhcp or pppoe\n",
                 mac.c_str());
    return kUsage;
  }

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
  // The mismatch may quote the camera's own texts.
  mismatch = ControlsReplaced(CameraText(mismatch, args.readCodePage), false);
  std::fprintf(stderr, "lumora: not verified: camera %s: ", target.c_str());
  WriteText(stderr, mismatch + "\n");
  return kNotDone;
}

int RunOpen(const ScanArgs& args, const std::string& mac, bool printOnly) {
  Scanner scanner;
  if (auto code = OpenScanner(scanner, args.scan)) return *code;
  scanner.Run([](const CameraList&, std::size_t) {});
  ReportIgnored(scanner.list());
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
  bool passwordFromStdin = false;
  bool noVerify = false;
  CLI::App* open = nullptr;
  ScanArgs openScan;
  std::string openMac;
  bool printOnly = false;
  SiteCommands site;
};

void AddScanCommand(CLI::App& app, Commands& c) {
  c.scan = app.add_subcommand("scan", "list every camera that answers, on every interface");
  c.scan->footer(kScanFooter);
  AddScanOptions(*c.scan, c.scanArgs);
  c.scan->add_option("--format", c.scanArgs.format, "table (default), json (JSON Lines) or csv")
      ->type_name("F")
      ->check(CLI::IsMember({"table", "json", "csv"}).description(""));
  c.scan->add_flag("--show-secrets", c.scanArgs.showSecrets, "include the PPPoE password (json and csv)");
  c.scan->add_flag("--stream", c.scanArgs.stream,
                   "print each camera as it is first heard, with the warnings known at that moment");
  c.scan->add_flag("--bom", c.scanArgs.bom, "start csv with a UTF-8 byte-order mark (for Excel)");
}

void AddSetCommand(CLI::App& app, Commands& c) {
  CLI::App& set = *(c.set = app.add_subcommand("set", "change a camera's network settings"));
  set.footer(kSetFooter);
  set.add_option("MAC", c.setMac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(set, c.setScan);
  SettingsChange& v = c.change;
  AddValue(set, "--name", v.name, "device name (at most 16 bytes)", "T");
  AddValue(set, "--ip", v.ip, "IP address, four decimal numbers 0..255 (no leading zeros)", "A");
  AddValue(set, "--mask", v.mask, "subnet mask, as --ip", "A");
  AddValue(set, "--gateway", v.gateway, "gateway, as --ip", "A");
  AddValue(set, "--http-port", v.httpPort, "HTTP port, decimal 1..65535", "N");
  AddValue(set, "--audio-port", v.audioPort, "audio port, decimal 1..65535", "N");
  AddValue(set, "--mode", v.mode, "IP assignment: static, dhcp or pppoe", "MODE");
  AddValue(set, "--pppoe-account", v.pppoeAccount, "PPPoE account (at most 32 bytes)", "T");
  AddValue(set, "--pppoe-password", v.pppoePassword,
           "PPPoE password (at most 32 bytes); every user can read it in the process list, so prefer "
           "--pppoe-password-stdin",
           "T");
  set.add_flag("--pppoe-password-stdin", c.passwordFromStdin, "read the PPPoE password from one line of standard input")
      ->excludes("--pppoe-password");
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

// One line, without its line end, as `docker login --password-stdin` reads it.
bool ReadPasswordLine(SettingsChange& change) {
  std::string line;
  int c = 0;
  // Longer than any field: the length check refuses it without reading on.
  while (line.size() <= 64 && (c = std::getchar()) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) {
    std::fprintf(stderr, "lumora: --pppoe-password-stdin: standard input holds no line\n");
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  change.pppoePassword = line;
  return true;
}

bool CodePageKnown(ScanArgs& args) {
  std::string error;
  if (OpenCodePage(args.codePage, args.readCodePage, error)) return true;
  std::fprintf(stderr, "lumora: %s\n", error.c_str());
  return false;
}

// Every value is checked before the guard and before any socket.
int Dispatch(Commands& c) {
  for (ScanArgs* args : {&c.scanArgs, &c.setScan, &c.openScan}) {
    if (!CodePageKnown(*args)) return kUsage;
  }
  auto guard = [&c] { return Guard(c.allowHostNetwork); };
  if (auto code = RunSiteCommand(c.site, c.scanArgs.scan, c.scanArgs.readCodePage, guard)) return *code;
  if (c.scan->parsed()) return Guard(c.allowHostNetwork) ? RunScan(c.scanArgs) : kUsage;
  if (c.set->parsed()) {
    std::optional<std::string> target = MacArgument(c.setMac);
    if (!target) return kUsage;
    if (c.passwordFromStdin && !ReadPasswordLine(c.change)) return kUsage;
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
  AddSiteCommands(app, commands.site, [&commands](CLI::App& c) { AddScanOptions(c, commands.scanArgs); });
  // --allow-host-network is accepted after the command too.
  for (CLI::App* command : {commands.scan, commands.set, commands.open, commands.site.plan, commands.site.apply}) {
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
