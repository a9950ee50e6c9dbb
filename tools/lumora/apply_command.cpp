// `lumora apply`: read and check the plan, scan, match; then (unless
// --dry-run, which stops here with the same steps) run provisioning's apply
// job, which sends each request out of its camera's interface, paced, and
// rescans until every changed camera shows its row or the time is up;
// finally the report.
#include "tools/lumora/apply_command.h"

#include <chrono>
#include <cstdio>

#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/report.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/camera_scan.h"
#include "tools/lumora/option_checks.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/report_output.h"
#include "tools/lumora/site_lookup.h"

namespace lumora::cli {
namespace {

constexpr char kApplyFooter[] = R"(
Reads and checks the whole plan first (the CSV scan and plan write, as a
spreadsheet saves it again, or scan's JSON Lines): any invalid row, two rows
for one MAC or for one IP, or a network or broadcast address, and nothing
is sent (exit 2, every problem listed with its line and column); so is a
plan over 64 MiB, or a CSV one of over 256 columns or 65,536 rows. Then scans
(with the scan options) and matches rows to cameras by MAC; a row that would
put its camera on the address of a camera the plan leaves alone stops it
too, still before anything is sent; so does one onto an address that a
host which is no camera found answers on (an NVR, a switch, a PC), looked
up right before the first send (--no-lookup skips that). Each camera to change gets the request
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

using provisioning::Plan;
using provisioning::RowReport;
using provisioning::Step;

// A plan's cells may hold anything: shown without controls.
void PrintProblems(const std::vector<provisioning::PlanProblem>& problems) {
  for (const provisioning::PlanProblem& problem : problems) {
    WriteText(stderr, "lumora: " + Utf8ControlsReplaced(CameraText(ProblemText(problem), {}), false) + "\n");
  }
}

// Nothing is sent: the plan's own problems, then its conflicts with the site.
ExitCode PlanRefused(const std::vector<provisioning::PlanProblem>& problems,
                     const std::vector<provisioning::PlanProblem>& conflicts) {
  PrintProblems(problems);
  PrintProblems(conflicts);
  if (!problems.empty()) {
    std::fprintf(stderr, "lumora: the plan has %zu problem%s; nothing was sent\n", problems.size(),
                 problems.size() == 1 ? "" : "s");
  }
  if (!conflicts.empty()) std::fprintf(stderr, "lumora: the plan conflicts with the site; nothing was sent\n");
  return ExitCode::kUsage;
}

void PrintReport(const std::vector<RowReport>& reports, const ApplyArgs& args, const CodePageReader& readCodePage) {
  ReportOptions options;
  ParseFormat(args.format, options.format);
  options.showSecrets = args.showSecrets;
  options.readCodePage = readCodePage;
  if (args.bom && options.format == Format::kCsv) WriteText(stdout, provisioning::kUtf8Bom);
  for (const std::string& line : ReportLines(reports, options)) WriteText(stdout, line + "\n");
  // Before anything goes to stderr, so that with 2>&1 no line is cut.
  std::fflush(stdout);
  std::FILE* where = options.format == Format::kTable ? stdout : stderr;
  WriteText(where, provisioning::CountsText(reports) + "\n");
  std::fflush(where);
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

void AddApplyCommand(CLI::App& parent, ApplyCommand& c) {
  ApplyArgs& a = c.args;
  CLI::App& apply = *(c.app = parent.add_subcommand("apply", "set up every camera of a plan, verify and report"));
  apply.footer(kApplyFooter);
  apply.add_option("PLAN", a.planPath, "the plan file (CSV or JSON Lines; - for standard input)")->required();
  apply.add_flag("--dry-run", a.dryRun, "report what would be sent, and send nothing");
  // The defaults are JobSettings' own, which the dialog's job keeps too.
  provisioning::JobSettings& job = a.job;
  apply.add_option_function<int>("--pace", [&job](int ms) { job.pace = std::chrono::milliseconds(ms); },
                                 "at least MS ms between two requests, 2..10000 (default 2)")
      ->type_name("MS")
      ->check(WholeNumber(2, 10000));
  apply.add_option_function<double>(
           "--verify-timeout",
           [&job](double seconds) {
             job.verifyFor = std::chrono::duration_cast<provisioning::JobDuration>(std::chrono::duration<double>(seconds));
           },
           "wait at most S seconds for the cameras to show the plan (default 30)")
      ->type_name("S")
      ->check(DecimalSeconds(1, 3600));
  apply.add_option("--rounds", job.resends, "send again at most N times to a camera that shows other values, 0..10 (default 3)")
      ->type_name("N")
      ->check(WholeNumber(0, 10));
  apply.add_option("--format", a.format, "the report as table (default), json (JSON Lines) or csv")
      ->type_name("F")
      ->check(OneOf({"table", "json", "csv"}));
  apply.add_flag("--bom", a.bom, "start a csv report with a UTF-8 byte-order mark (for Excel)");
  apply.add_flag("--show-secrets", a.showSecrets, "show the PPPoE password in the report's changes");
  apply.add_flag("--no-lookup{false}", a.lookUp,
                 "do not look up who answers on the addresses the plan gives out before sending");
  AddScanOptions(apply, c.scanArgs);
}

ExitCode RunApplyCommand(ApplyCommand& c, const HostGuard& guard) {
  if (!ReadCodePageOption(c.scanArgs)) return ExitCode::kUsage;
  const ApplyArgs& args = c.args;
  const ScanOptions& scan = c.scanArgs.scan;
  const CodePageReader& readCodePage = c.scanArgs.readCodePage;
  std::string planText;
  if (!ReadPlanFile(args.planPath, planText)) return ExitCode::kUsage;
  Plan plan;
  std::vector<provisioning::PlanProblem> problems;
  const bool read = provisioning::ReadPlan(planText, plan, problems);
  // A plan with problems is still matched as far as its rows read, so that
  // the operator hears of its conflicts with the site in the same run.
  if (!read && plan.rows.empty()) return PlanRefused(problems, {});
  if (!guard()) return read ? ExitCode::kUsage : PlanRefused(problems, {});
  Scanner scanner;
  if (auto code = ScanOnce(scanner, scan)) return *code;
  const std::vector<Camera> found = scanner.list().cameras();  // the scan the steps are matched to
  const provisioning::TextReading reading = PrintedText(readCodePage, plan.dialect);
  std::vector<provisioning::PlanProblem> conflicts;
  provisioning::SiteFacts site = SiteFactsOf(scanner);
  std::vector<Step> steps = provisioning::MatchPlan(plan, found, conflicts, reading, site);
  if (!read || !conflicts.empty()) return PlanRefused(problems, conflicts);
  // Looked up right before the first send, so that a host that came up
  // after the plan was written is caught; a found host makes the match
  // refuse the rows that would take its address.
  if (args.lookUp) {
    std::string error;
    if (!LookUpSentAddresses(plan, steps, found, site, error)) {
      std::fprintf(stderr, "lumora: cannot look up the plan's addresses: %s (--no-lookup skips it)\n", error.c_str());
      return ExitCode::kNotDone;
    }
    if (!site.inUse.empty()) {
      steps = provisioning::MatchPlan(plan, found, conflicts, reading, site);
      if (!conflicts.empty()) return PlanRefused(problems, conflicts);
    }
  }
  std::vector<RowReport> reports;
  for (const Step& step : steps) reports.push_back(provisioning::ReportFor(plan, step, found, args.dryRun));
  if (!args.dryRun) {
    provisioning::JobSettings settings = args.job;
    settings.silentReason = "it did not answer in time (--verify-timeout)";
    provisioning::ApplyJob job(plan, steps, found, settings, reading);
    DriveJob(scanner, job);
    reports = job.reports();
  }
  PrintReport(reports, args, readCodePage);
  return provisioning::AllApplied(reports) ? ExitCode::kDone : ExitCode::kNotDone;
}

}  // namespace lumora::cli
