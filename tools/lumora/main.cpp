// lumora: search for cameras and set them up from a terminal, on every
// network interface at once, with the dialog's own datagrams, built and read
// by the same protocol code.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>

#include "protocol/field_text.h"
#include "protocol/web_address.h"
#include "provisioning/sheet_text.h"
#include "tools/common/host_guard.h"
#include "tools/lumora/code_page.h"
#include "tools/lumora/option_checks.h"
#include "tools/lumora/build_text.h"
#include "tools/lumora/help_text.h"
#include "tools/lumora/output.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/printer.h"
#include "tools/lumora/scanner.h"
#include "tools/lumora/settings_change.h"
#include "tools/lumora/site_commands.h"
#include "tools/lumora/site_scan.h"

namespace {

using namespace lumora::cli;

enum ExitCode { kDone = 0, kNotDone = 1, kUsage = 2 };

struct ScanArgs {
  ScanOptions scan;
  std::string format = "table";
  bool showSecrets = false;
  bool stream = false;
  bool bom = false;
  std::string codePage;
  CodePageReader readCodePage;  // from codePage, once checked
};

#ifdef _WIN32
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this code page number (936, 932, ...; default: the system's)";
#else
constexpr char kCodePageHelp[] =
    "read camera texts that are not UTF-8 in this iconv code page (GBK, SHIFT_JIS, ...; default: WINDOWS-1252)";
#endif

// The ranges are said in the descriptions; CLI11's own note would repeat them.
template <typename Value>
void AddChecked(CLI::App& command, const char* name, Value& value, const char* description, const char* typeName,
                const CLI::Validator& check) {
  command.add_option(name, value, description)->type_name(typeName)->check(check);
}

void AddScanOptions(CLI::App& command, ScanArgs& args) {
  command.add_option("--interface", args.scan.interfaces, "search only on this interface (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  AddChecked(command, "--port", args.scan.port, "the cameras' UDP tool port, 1..65535 (default 4000)", "N",
             WholeNumber(1, 65535));
  AddChecked(command, "--wait", args.scan.waitSeconds, "end S seconds after the last new camera or search (default 1)",
             "S", DecimalSeconds(0.0, 3600.0));
  AddChecked(command, "--timeout", args.scan.timeoutSeconds, "end after S seconds in any case (default 10)", "S",
             DecimalSeconds(0.1, 3600.0));
  AddChecked(command, "--repeat", args.scan.repeat, "search N times, 50 to 250 ms apart, 1..100 (default 3)", "N",
             WholeNumber(1, 100));
  command.add_option("--codepage", args.codePage, kCodePageHelp)->type_name("CP");
}

bool Guard(bool allowHostNetwork) {
  std::string why;
  if (allowHostNetwork || lumora::tools::InLabNamespace(why)) return true;
  std::fprintf(stderr, "lumora: %s; --allow-host-network overrides this on a real network\n", why.c_str());
  return false;
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

int RunOpen(const ScanArgs& args, const std::string& mac, bool printOnly) {
  Scanner scanner;
  std::size_t index = 0;
  if (auto code = FindCamera(scanner, args.scan, mac, index)) return *code;
  const lumora::DeviceRecord& record = scanner.list().cameras()[index].record;
  std::string url = lumora::DeviceWebAddress(lumora::FieldText(record.ipText).c_str(), record.httpPort);
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

// The value option of `set` for the row with this key, kept as typed; absent
// unless given.
void AddValue(CLI::App& command, SettingsChange& change, const char* key, const char* description,
              const char* typeName) {
  std::optional<std::string>& out = change[key];
  command.add_option_function<std::string>(lumora::FindSetting(key)->option,
                                           [&out](const std::string& value) { out = value; }, description)
      ->type_name(typeName);
}

struct Commands {
  bool allowHostNetwork = false;
  ScanArgs scanArgs;  // of whichever command is given
  CLI::App* scan = nullptr;
  CLI::App* set = nullptr;
  std::string setMac;
  SettingsChange change;
  bool passwordFromStdin = false;
  bool noVerify = false;
  CLI::App* open = nullptr;
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
      ->check(OneOf({"table", "json", "csv"}));
  c.scan->add_flag("--show-secrets", c.scanArgs.showSecrets, "include the PPPoE password (json and csv)");
  c.scan->add_flag("--stream", c.scanArgs.stream,
                   "print each camera as it is first heard, with the warnings known at that moment");
  c.scan->add_flag("--bom", c.scanArgs.bom, "start csv with a UTF-8 byte-order mark (for Excel)");
}

void AddSetCommand(CLI::App& app, Commands& c) {
  CLI::App& set = *(c.set = app.add_subcommand("set", "change a camera's network settings"));
  set.footer(kSetFooter);
  set.add_option("MAC", c.setMac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(set, c.scanArgs);
  SettingsChange& v = c.change;
  AddValue(set, v, "name", "device name (at most 16 bytes)", "T");
  AddValue(set, v, "ip", "IP address, four decimal numbers 0..255 (no leading zeros)", "A");
  AddValue(set, v, "mask", "subnet mask, as --ip", "A");
  AddValue(set, v, "gateway", "gateway, as --ip", "A");
  AddValue(set, v, "http_port", "HTTP port, decimal 1..65535", "N");
  AddValue(set, v, "audio_port", "audio port, decimal 1..65535", "N");
  AddValue(set, v, "mode", "IP assignment: static, dhcp or pppoe", "MODE");
  AddValue(set, v, "pppoe_account", "PPPoE account (at most 32 bytes)", "T");
  AddValue(set, v, "pppoe_password",
           "PPPoE password (at most 32 bytes); every user can read it in the process list, so prefer "
           "--pppoe-password-stdin",
           "T");
  set.add_flag("--pppoe-password-stdin", c.passwordFromStdin, "read the PPPoE password from one line of standard input")
      ->excludes("--pppoe-password");
  AddValue(set, v, "mac", "give the camera this MAC", "MAC");
  set.add_flag("--no-verify", c.noVerify, "do not scan again to check the change");
}

void AddOpenCommand(CLI::App& app, Commands& c) {
  c.open = app.add_subcommand("open", "open a camera's web page");
  c.open->footer(kOpenFooter);
  c.open->add_option("MAC", c.openMac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(*c.open, c.scanArgs);
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
  change["pppoe_password"] = line;
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
  if (!CodePageKnown(c.scanArgs)) return kUsage;
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
    return Guard(c.allowHostNetwork) ? RunSet(c.scanArgs.scan, c.scanArgs.readCodePage, *target, c.change, !c.noVerify)
                                      : kUsage;
  }
  std::optional<std::string> target = MacArgument(c.openMac);
  if (!target) return kUsage;
  return Guard(c.allowHostNetwork) ? RunOpen(c.scanArgs, *target, c.printOnly) : kUsage;
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
