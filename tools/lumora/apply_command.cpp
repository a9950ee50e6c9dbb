// `lumora apply`: the thin loop around provisioning's steps. Read and check
// the plan, scan, match; then (unless --dry-run, which stops here with the
// same steps) send each request out of its camera's interface, paced, and
// rescan until every changed camera shows its row or the time is up;
// finally the report.
#include <chrono>
#include <cstdio>
#include <thread>

#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/report.h"
#include "provisioning/sheet_text.h"
#include "provisioning/verify.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/site_commands.h"
#include "tools/lumora/site_output.h"
#include "tools/lumora/site_scan.h"

namespace lumora::cli {
namespace {

using Clock = std::chrono::steady_clock;
using provisioning::Plan;
using provisioning::RowReport;
using provisioning::Step;

constexpr auto kRescanEvery = std::chrono::seconds(1);

// A plan's cells may hold anything: shown without controls.
void PrintProblems(const std::vector<provisioning::PlanProblem>& problems) {
  for (const provisioning::PlanProblem& problem : problems) {
    WriteText(stderr, "lumora: " + ControlsReplaced(CameraText(ProblemText(problem), {}), false) + "\n");
  }
}

// Requests at least `gap` apart, so a whole site does not process at once.
class Pacer {
 public:
  explicit Pacer(int gapMs) : gap_(std::chrono::milliseconds(gapMs)) {}
  void Wait() {
    std::this_thread::sleep_until(next_);
    next_ = Clock::now() + gap_;
  }

 private:
  Clock::duration gap_;
  Clock::time_point next_ = Clock::now();
};

struct Sending {
  Scanner& scanner;
  const Plan& plan;
  const std::vector<Step>& steps;
  std::vector<RowReport>& reports;
  const ApplyArgs& args;
  const provisioning::TextReading& reading;
  Pacer pacer;
  std::vector<int> sends;                 // per step
  std::vector<uint32_t> matchedAdapter;   // per step: where its camera answered the scan
};

bool Send(Sending& s, std::size_t step, const Camera& camera) {
  s.pacer.Wait();
  std::string error;
  ++s.sends[step];
  if (s.scanner.SendTo(camera, s.steps[step].frame, error)) return true;
  s.reports[step].reason = error;
  return false;
}

// One rescan's verdict on a step still waiting: true while it goes on
// waiting (silent, or sent again), false once it is decided.
bool StillWaiting(Sending& s, std::size_t step, const std::vector<provisioning::FoundCamera>& seen,
                  std::string& lastSeen) {
  const provisioning::PlanRow& row = s.plan.rows[s.steps[step].row];
  const CameraList& list = s.scanner.list();
  std::vector<std::size_t> found = list.FindMac(row.mac);
  if (found.empty()) return true;  // restarting after the change, perhaps
  for (std::size_t i : found) {
    lastSeen = provisioning::PlanMismatch(row, seen[i], s.reading);
    if (lastSeen.empty()) {
      s.reports[step].status = "changed";
      s.reports[step].reason.clear();
      return false;
    }
  }
  // Other values: the request was lost, or not kept. Its reply says where
  // the camera answers now; a resend goes there only while that is still
  // the one camera the row was matched to.
  if (s.sends[step] > s.args.rounds) return false;
  std::string refusal = provisioning::ResendRefusal(row.mac, seen, s.matchedAdapter[step]);
  if (!refusal.empty()) {
    s.reports[step].status = "refused";
    lastSeen = refusal;
    return false;
  }
  return Send(s, step, list.cameras()[found.front()]);
}

void SendAndVerify(Sending& s) {
  const std::vector<Camera> cameras = s.scanner.list().cameras();  // the scan the steps were matched to
  std::vector<std::size_t> waiting;
  for (std::size_t i = 0; i < s.steps.size(); ++i) {
    if (s.steps[i].status == provisioning::StepStatus::kSend && Send(s, i, cameras[*s.steps[i].camera])) {
      waiting.push_back(i);
    }
  }
  std::vector<std::string> lastSeen(s.steps.size());
  const Clock::time_point deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s.args.verifyTimeoutSeconds));
  while (!waiting.empty() && Clock::now() < deadline) {
    Clock::time_point round = Clock::now();
    s.scanner.Forget();
    s.scanner.Run([](const CameraList&, std::size_t) {});
    const std::vector<provisioning::FoundCamera> seen = FoundCameras(s.scanner);
    std::vector<std::size_t> still;
    for (std::size_t i : waiting) {
      if (StillWaiting(s, i, seen, lastSeen[i])) still.push_back(i);
      else if (s.reports[i].status != "changed") s.reports[i].reason = lastSeen[i];
    }
    waiting = still;
    if (!waiting.empty()) std::this_thread::sleep_until(std::min(deadline, round + kRescanEvery));
  }
  for (std::size_t i : waiting) {
    s.reports[i].reason = lastSeen[i].empty() ? "it did not answer in time (--verify-timeout)" : lastSeen[i];
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
  const std::vector<provisioning::FoundCamera> found = FoundCameras(scanner);
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
    std::vector<uint32_t> matchedAdapter;
    for (const Step& step : steps) matchedAdapter.push_back(step.camera ? found[*step.camera].adapter : 0);
    Sending sending{scanner,          plan, steps, reports, args, reading, Pacer(args.paceMs),
                    std::vector<int>(steps.size(), 0), matchedAdapter};
    SendAndVerify(sending);
  }
  PrintReport(reports, args, readCodePage);
  return provisioning::AllApplied(reports) ? kSiteDone : kSiteNotDone;
}

}  // namespace lumora::cli
