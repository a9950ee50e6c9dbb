// `lumora scan`: every camera that answers, printed as a table, JSON Lines
// or CSV, at the end or as each is first heard.
#include "tools/lumora/scan_command.h"

#include "provisioning/sheet_text.h"
#include "tools/lumora/camera_scan.h"
#include "tools/lumora/option_checks.h"
#include "tools/lumora/output.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/printer.h"

namespace lumora::cli {
namespace {

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

}  // namespace

void AddScanCommand(CLI::App& parent, ScanCommand& c) {
  c.app = parent.add_subcommand("scan", "list every camera that answers, on every interface");
  c.app->footer(kScanFooter);
  AddScanOptions(*c.app, c.scanArgs);
  c.app->add_option("--format", c.format, "table (default), json (JSON Lines) or csv")
      ->type_name("F")
      ->check(OneOf({"table", "json", "csv"}));
  c.app->add_flag("--show-secrets", c.showSecrets, "include the PPPoE password (json and csv)");
  c.app->add_flag("--stream", c.stream, "print each camera as it is first heard, with the warnings known at that moment");
  c.app->add_flag("--bom", c.bom, "start csv with a UTF-8 byte-order mark (for Excel)");
}

ExitCode RunScanCommand(ScanCommand& c, const HostGuard& guard) {
  if (!ReadCodePageOption(c.scanArgs) || !guard()) return ExitCode::kUsage;
  OutputOptions output;
  ParseFormat(c.format, output.format);
  output.showSecrets = c.showSecrets;
  output.readCodePage = c.scanArgs.readCodePage;
  Scanner scanner;
  if (auto code = OpenScanner(scanner, c.scanArgs.scan)) return *code;
  if (c.bom && output.format == Format::kCsv) WriteText(stdout, provisioning::kUtf8Bom);
  Printer printer(output, c.stream);
  printer.Start();
  scanner.Run([&](const CameraList& list, std::size_t index) { printer.OnNew(list, index); });
  printer.Finish(scanner.list());
  ReportIgnored(scanner.list());
  return scanner.list().cameras().empty() ? ExitCode::kNotDone : ExitCode::kDone;
}

}  // namespace lumora::cli
