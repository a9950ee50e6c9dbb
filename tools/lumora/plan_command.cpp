// `lumora plan`: a scan, the range assignment, and the plan CSV on stdout.
#include "tools/lumora/plan_command.h"

#include <cstdio>

#include "protocol/ipv4.h"
#include "provisioning/assign.h"
#include "provisioning/match.h"
#include "provisioning/plan_writer.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/camera_scan.h"
#include "tools/lumora/csv_line.h"
#include "tools/lumora/option_checks.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/site_lookup.h"

namespace lumora::cli {
namespace {

constexpr char kPlanFooter[] = R"(
Scans (with the scan options) and writes a plan for every camera found as
CSV to stdout, one row per MAC: the next address of the range, mode static
(or --mode), and the mask, gateway and name when given. Cameras are taken in
MAC order (stable from run to run), or in the order they answered with
--order answer. The network and broadcast addresses of the mask, the
gateway, the PC's own addresses and every address a camera keeps are
skipped; a camera already on a free address of the range keeps it, so
planning a planned site changes nothing. Each address planned is looked up
on the wire first: one that a host that is no camera found answers on (an
NVR, a switch, a PC) is skipped, with a line on stderr naming it and its
MAC; one on no network of the PC's interfaces cannot be looked up, and a
line on stderr says so. --name takes {n}, the place of the camera's address
in the range (its first address is 1), and {n:0W}, zero-padded to W digits:
a camera that keeps its address keeps its name, and a camera added to the
site renames no other. A camera moved away from its gateway without
--gateway is said on stderr, and planned.
The CSV opens in a spreadsheet as it is: MACs are written 00:11:22:33:44:55
and a text a spreadsheet would read as a number, a date, a time or a
formula (0123, 1E5, 1,234, 3/4, 12:30, =1+1) gets one leading apostrophe,
which apply removes again. --bom starts
the file with the byte-order mark Excel needs for non-ASCII names.
Exit status: 0 written, 1 no camera found, 2 on a usage error, too few
addresses, a name longer than 16 bytes, a mask of 0.0.0.0 or
255.255.255.255, an address no camera can be reached on or a gateway
outside the range's subnet or on its network or broadcast address
(0.0.0.0 is no gateway, and allowed).

Examples:
  lumora plan --ip-range 192.168.1.100-192.168.1.139 --gateway 192.168.1.1 > site.csv
  lumora plan --ip-range 10.0.0.10-10.0.0.60 --mask 255.255.255.0 --name Cam-{n:03} --bom > site.csv)";

// CLI11 has checked the form of each value; the range is read here.
bool ReadAssignOptions(const PlanCommand& command, provisioning::AssignOptions& options) {
  std::string error;
  if (!provisioning::ParseIpRange(command.ipRange, options.first, options.last, error)) {
    std::fprintf(stderr, "lumora: --ip-range: %s\n", error.c_str());
    return false;
  }
  uint32_t address = 0;
  if (!command.mask.empty() && ReadDecimalIpv4(command.mask, address)) options.mask = address;
  if (!command.gateway.empty() && ReadDecimalIpv4(command.gateway, address)) options.gateway = address;
  if (!command.mode.empty()) options.mode = command.mode;
  options.namePattern = command.namePattern;
  options.answerOrder = command.order == "answer";
  // With no camera only the options themselves can be at fault (a pattern,
  // a gateway outside the range's subnet): said before anything is sent.
  provisioning::Plan none;
  if (!provisioning::PlanAddresses({}, options, none, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return false;
  }
  return true;
}

// A camera the range moves away from its gateway still works on its own
// segment: said, and planned all the same.
void PrintGatewayWarnings(const provisioning::Plan& plan, const std::vector<Camera>& cameras) {
  for (const provisioning::PlanRow& row : plan.rows) {
    for (const Camera& camera : cameras) {
      if (provisioning::MacOf(camera.record.mac) != row.mac) continue;
      std::string warning = provisioning::LostGatewayWarning(row, camera.record);
      if (!warning.empty()) {
        std::fprintf(stderr, "lumora: line %d (%s): %s\n", row.line, provisioning::MacDigits(row.mac).c_str(), warning.c_str());
      }
      break;
    }
  }
}

}  // namespace

void AddPlanCommand(CLI::App& parent, PlanCommand& c) {
  CLI::App& plan = *(c.app = parent.add_subcommand("plan", "write a plan that gives every camera found an address"));
  plan.footer(kPlanFooter);
  plan.add_option("--ip-range", c.ipRange, "the addresses to give out, FIRST-LAST")->type_name("A-B")->required();
  plan.add_option("--mask", c.mask, "subnet mask for every camera (default: keep; 255.255.255.0 for the range)")
      ->type_name("A")
      ->check(Value(SettingId::kMask));
  plan.add_option("--gateway", c.gateway, "gateway for every camera")->type_name("A")->check(Value(SettingId::kGateway));
  plan.add_option("--mode", c.mode, "IP assignment for every camera: static (default), dhcp or pppoe")
      ->type_name("MODE")
      ->check(OneOf({"static", "dhcp", "pppoe"}));
  plan.add_option("--name", c.namePattern, "name every camera from PATTERN ({n}, {n:03})")->type_name("PATTERN");
  plan.add_option("--order", c.order, "mac (default) or answer: the order addresses are given in")
      ->type_name("O")
      ->check(OneOf({"mac", "answer"}));
  plan.add_flag("--bom", c.bom, "start the CSV with a UTF-8 byte-order mark (for Excel)");
  plan.add_flag("--no-lookup{false}", c.lookUp, "do not look up who answers on the range's addresses");
  AddScanOptions(plan, c.scanArgs);
}

ExitCode RunPlanCommand(PlanCommand& c, const HostGuard& guard) {
  const ScanOptions& scan = c.scanArgs.scan;
  if (!ReadCodePageOption(c.scanArgs)) return ExitCode::kUsage;
  provisioning::AssignOptions options;
  if (!ReadAssignOptions(c, options)) return ExitCode::kUsage;
  if (!guard()) return ExitCode::kUsage;
  Scanner scanner;
  if (auto code = ScanOnce(scanner, scan)) return *code;
  if (scanner.list().cameras().empty()) {
    std::fprintf(stderr, "lumora: no camera answered\n");
    return ExitCode::kNotDone;
  }
  options.site = SiteFactsOf(scanner);
  provisioning::Plan plan;
  std::string error;
  const bool planned = c.lookUp ? PlanAroundHostsInUse(scanner.list().cameras(), options, plan, error)
                                : provisioning::PlanAddresses(scanner.list().cameras(), options, plan, error);
  if (!planned) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return ExitCode::kUsage;
  }
  PrintGatewayWarnings(plan, scanner.list().cameras());
  if (c.bom) WriteText(stdout, provisioning::kUtf8Bom);
  for (const auto& cells : provisioning::PlanSheet(plan)) WriteText(stdout, CsvLine(cells) + "\n");
  std::fflush(stdout);
  std::fprintf(stderr, "%zu camera%s planned\n", plan.rows.size(), plan.rows.size() == 1 ? "" : "s");
  return ExitCode::kDone;
}

}  // namespace lumora::cli
