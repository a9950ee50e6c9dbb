// `lumora apply`: read and check the plan, scan, match; then (unless
// --dry-run, which stops here with the same steps) run provisioning's apply
// job, which sends each request out of its camera's interface, paced, and
// rescans until every changed camera shows its row or the time is up;
// finally the report.
#include <chrono>
#include <cstdio>

#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/report.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/site_commands.h"
#include "tools/lumora/site_output.h"
#include "tools/lumora/site_scan.h"

namespace lumora::cli {
namespace {

using provisioning::Plan;
using provisioning::RowReport;
using provisioning::Step;

// A plan's cells may hold anything: shown without controls.
void PrintProblems(const std::vector<provisioning::PlanProblem>& problems) {
  for (const provisioning::PlanProblem& problem : problems) {
    WriteText(stderr, "lumora: " + Utf8ControlsReplaced(CameraText(ProblemText(problem), {}), false) + "\n");
  }
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

}  // namespace

int RunApply(const ApplyArgs& args, const std::string& planText, const ScanOptions& scan,
             const CodePageReader& readCodePage, const std::function<bool()>& guard) {
  Plan plan;
  std::vector<provisioning::PlanProblem> problems;
  if (!provisioning::ReadPlan(planText, plan, problems)) {
    PrintProblems(problems);
    std::fprintf(stderr, "lumora: the plan has %zu problem%s; nothing was sent\n", problems.size(),
                 problems.size() == 1 ? "" : "s");
    return kSiteUsage;
  }
  if (!guard()) return kSiteUsage;
  Scanner scanner;
  if (auto code = ScanOnce(scanner, scan)) return *code;
  const std::vector<Camera> found = scanner.list().cameras();  // the scan the steps are matched to
  const provisioning::TextReading reading = PrintedText(readCodePage, plan.dialect);
  std::vector<provisioning::PlanProblem> conflicts;
  const std::vector<Step> steps = provisioning::MatchPlan(plan, found, conflicts, reading, AdapterAddresses(scanner));
  if (!conflicts.empty()) {
    PrintProblems(conflicts);
    std::fprintf(stderr, "lumora: the plan conflicts with the site; nothing was sent\n");
    return kSiteUsage;
  }
  std::vector<RowReport> reports;
  for (const Step& step : steps) reports.push_back(provisioning::ReportFor(plan, step, found, args.dryRun));
  if (!args.dryRun) {
    provisioning::JobSettings settings;
    settings.pace = std::chrono::milliseconds(args.paceMs);
    settings.verifyFor = std::chrono::duration_cast<provisioning::JobDuration>(
        std::chrono::duration<double>(args.verifyTimeoutSeconds));
    settings.resends = args.rounds;
    settings.silentReason = "it did not answer in time (--verify-timeout)";
    provisioning::ApplyJob job(plan, steps, found, settings, reading);
    DriveJob(scanner, job);
    reports = job.reports();
  }
  PrintReport(reports, args, readCodePage);
  return provisioning::AllApplied(reports) ? kSiteDone : kSiteNotDone;
}

}  // namespace lumora::cli
