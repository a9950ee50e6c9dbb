// The command lines of `lumora plan` and `lumora apply`, their help, and the
// checks made before any socket: the plan file is read and checked whole.
#include "tools/lumora/site_commands.h"

#include <cstdio>

#include "provisioning/plan.h"
#include "tools/lumora/option_checks.h"

namespace lumora::cli {
namespace {

constexpr char kPlanFooter[] = R"(
Scans (with the scan options) and writes a plan for every camera found as
CSV to stdout, one row per MAC: the next address of the range, and the mask,
gateway, mode and name when given. Cameras are taken in MAC order (stable
from run to run), or in the order they answered with --order answer. The
network and broadcast addresses of the mask, the gateway and every address
a camera keeps are skipped; a camera already on a free address of the range
keeps it, so planning a planned site changes nothing. Each address planned
is looked up on the wire first: one that a host that is no camera found
answers on (an NVR, a switch, a PC) is skipped, with a line on stderr naming
it and its MAC; one on no network of the PC's interfaces cannot be looked
up, and a line on stderr says so. --name takes {n}, the
camera's position (1, 2, ...), and {n:0W}, zero-padded to W digits.
The CSV opens in a spreadsheet as it is: MACs are written 00:11:22:33:44:55
and a text a spreadsheet would read as a number, a date, a time or a
formula (0123, 1E5, 1,234, 3/4, 12:30, =1+1) gets one leading apostrophe,
which apply removes again. --bom starts
the file with the byte-order mark Excel needs for non-ASCII names.
Exit status: 0 written, 1 no camera found, 2 on a usage error, too few
addresses, a name longer than 16 bytes or a gateway outside the range's
subnet.

Examples:
  lumora plan --ip-range 192.168.1.100-192.168.1.139 --gateway 192.168.1.1 > site.csv
  lumora plan --ip-range 10.0.0.10-10.0.0.60 --mask 255.255.255.0 --name Cam-{n:03} --bom > site.csv)";

constexpr char kApplyFooter[] = R"(
Reads and checks the whole plan first (the CSV scan and plan write, as a
spreadsheet saves it again, or scan's JSON Lines): any invalid row, two rows
for one MAC or for one IP, or a network or broadcast address, and nothing
is sent (exit 2, every problem listed with its line and column); so is a
plan over 64 MiB, or a CSV one of over 256 columns or 65,536 rows. Then scans
(with the scan options) and matches rows to cameras by MAC; a row that would
put its camera on the address of a camera the plan leaves alone stops it
too, still before anything is sent. Each camera to change gets the request
the dialog would send for it, out of the interface it answered on only,
requests --pace ms apart; then scans every second until each shows the
plan's values or --verify-timeout runs out, sending again (at most --rounds
times) to a camera that answers with other values. A row for a MAC that
answers from two addresses is refused: one request would reach both.
An empty cell leaves that setting as it is. The PPPoE password is sent only
when it differs and printed only with --show-secrets.
The report has one line per row: mac, status (changed, unchanged,
not-found, refused, not-verified; would-change with --dry-run), interface,
changes (setting: before -> after) and reason; the last line counts each
status (on stderr for json and csv).
Exit status: 0 every row changed or unchanged, 1 any other (the rest were
still applied), 2 on a usage error, an invalid plan or a conflict with the
site.

Examples:
  lumora apply site.csv --dry-run
  lumora apply site.csv
  lumora apply site.csv --format json --verify-timeout 60 > report.jsonl)";

void AddPlanCommand(CLI::App& app, SiteCommands& site, const std::function<void(CLI::App&)>& addScanOptions) {
  PlanArgs& a = site.planArgs;
  CLI::App& plan = *(site.plan = app.add_subcommand("plan", "write a plan that gives every camera found an address"));
  plan.footer(kPlanFooter);
  plan.add_option("--ip-range", a.ipRange, "the addresses to give out, FIRST-LAST")->type_name("A-B")->required();
  plan.add_option("--mask", a.mask, "subnet mask for every camera (default: keep; 255.255.255.0 for the range)")
      ->type_name("A")
      ->check(Address());
  plan.add_option("--gateway", a.gateway, "gateway for every camera")->type_name("A")->check(Address());
  plan.add_option("--mode", a.mode, "IP assignment for every camera: static, dhcp or pppoe")
      ->type_name("MODE")
      ->check(OneOf({"static", "dhcp", "pppoe"}));
  plan.add_option("--name", a.namePattern, "name every camera from PATTERN ({n}, {n:03})")->type_name("PATTERN");
  plan.add_option("--order", a.order, "mac (default) or answer: the order addresses are given in")
      ->type_name("O")
      ->check(OneOf({"mac", "answer"}));
  plan.add_flag("--bom", a.bom, "start the CSV with a UTF-8 byte-order mark (for Excel)");
  addScanOptions(plan);
}

void AddApplyCommand(CLI::App& app, SiteCommands& site, const std::function<void(CLI::App&)>& addScanOptions) {
  ApplyArgs& a = site.applyArgs;
  CLI::App& apply = *(site.apply = app.add_subcommand("apply", "set up every camera of a plan, verify and report"));
  apply.footer(kApplyFooter);
  apply.add_option("PLAN", a.planPath, "the plan file (CSV or JSON Lines; - for standard input)")->required();
  apply.add_flag("--dry-run", a.dryRun, "report what would be sent, and send nothing");
  apply.add_option("--pace", a.paceMs, "at least MS ms between two requests, 2..10000 (default 2)")
      ->type_name("MS")
      ->check(WholeNumber(2, 10000));
  apply.add_option("--verify-timeout", a.verifyTimeoutSeconds,
                   "wait at most S seconds for the cameras to show the plan (default 30)")
      ->type_name("S")
      ->check(DecimalSeconds(1, 3600));
  apply.add_option("--rounds", a.rounds, "send again at most N times to a camera that shows other values, 0..10 (default 3)")
      ->type_name("N")
      ->check(WholeNumber(0, 10));
  apply.add_option("--format", a.format, "the report as table (default), json (JSON Lines) or csv")
      ->type_name("F")
      ->check(OneOf({"table", "json", "csv"}));
  apply.add_flag("--bom", a.bom, "start a csv report with a UTF-8 byte-order mark (for Excel)");
  apply.add_flag("--show-secrets", a.showSecrets, "show the PPPoE password in the report's changes");
  addScanOptions(apply);
}

// At most this much plan: far more than a site of 65536 cameras needs.
constexpr std::size_t kMaxPlanBytes = 64u << 20;

bool ReadPlanFile(const std::string& path, std::string& text) {
  std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "lumora: cannot open the plan %s\n", path.c_str());
    return false;
  }
  char buffer[65536];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, file)) {
    text.append(buffer, n);
    if (text.size() > kMaxPlanBytes) break;
  }
  bool failed = std::ferror(file) != 0;
  if (file != stdin) std::fclose(file);
  if (failed || text.size() > kMaxPlanBytes) {
    std::fprintf(stderr, "lumora: cannot read the plan %s%s\n", path.c_str(),
                 failed ? "" : ": larger than 64 MiB");
    return false;
  }
  return true;
}

}  // namespace

void AddSiteCommands(CLI::App& app, SiteCommands& site, const std::function<void(CLI::App&)>& addScanOptions) {
  AddPlanCommand(app, site, addScanOptions);
  AddApplyCommand(app, site, addScanOptions);
}

std::optional<int> RunSiteCommand(const SiteCommands& site, const ScanOptions& scan,
                                  const CodePageReader& readCodePage, const std::function<bool()>& guard) {
  if (site.plan->parsed()) {
    return RunPlan(site.planArgs, scan, guard);
  }
  if (!site.apply->parsed()) return std::nullopt;
  std::string text;
  if (!ReadPlanFile(site.applyArgs.planPath, text)) return kSiteUsage;
  return RunApply(site.applyArgs, text, scan, readCodePage, guard);
}

}  // namespace lumora::cli
