// `lumora set`: one camera, as a plan of one row. The row is matched, sent
// and verified by the same rules as every row of `apply`; only the
// messages are set's own.
#include <cstdio>

#include "provisioning/apply_job.h"
#include "provisioning/match.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/settings_change.h"
#include "tools/lumora/site_commands.h"
#include "tools/lumora/site_scan.h"

namespace lumora::cli {
namespace {

// A conflict names the row's column; set names its option.
void PrintConflicts(const std::vector<provisioning::PlanProblem>& conflicts) {
  for (const provisioning::PlanProblem& conflict : conflicts) {
    std::fprintf(stderr, "lumora: %s: %s\n", FindSetting(conflict.column)->option, conflict.message.c_str());
  }
  std::fprintf(stderr, "lumora: nothing was sent\n");
}

}  // namespace

int RunSet(const ScanOptions& scan, const CodePageReader& readCodePage, const std::string& mac,
           const SettingsChange& change, bool verify) {
  Scanner scanner;
  std::size_t index = 0;
  if (auto code = FindCamera(scanner, scan, mac, index)) return *code;
  provisioning::Plan plan;
  plan.rows.push_back(SetRow(mac, change));
  const std::vector<Camera> found = scanner.list().cameras();  // the scan the steps are matched to
  std::vector<provisioning::PlanProblem> conflicts;
  // The values as typed against the camera's bytes: set sends what it is given.
  const std::vector<provisioning::Step> steps =
      provisioning::MatchPlan(plan, found, conflicts, {}, AdapterAddresses(scanner));
  const provisioning::Step& step = steps.front();
  if (!conflicts.empty()) {
    PrintConflicts(conflicts);
    return kSiteUsage;
  }
  switch (step.status) {
    case provisioning::StepStatus::kSend: break;
    case provisioning::StepStatus::kUnchanged:
      std::printf("camera %s already shows these values; nothing was sent%s%s\n", mac.c_str(),
                  step.reason.empty() ? "" : ": ", step.reason.c_str());
      return kSiteDone;
    case provisioning::StepStatus::kRefused:
    case provisioning::StepStatus::kNotFound:
      std::fprintf(stderr, "lumora: camera %s: %s\n", mac.c_str(), step.reason.c_str());
      return kSiteUsage;
  }

  provisioning::JobSettings settings;
  settings.pace = provisioning::JobDuration::zero();
  settings.verifyFor = provisioning::JobDuration::zero();  // one rescan
  settings.resends = 0;
  settings.verify = verify;
  settings.silentReason = "it did not answer";
  provisioning::ApplyJob job(plan, steps, found, settings, {});
  bool sent = false;
  DriveJob(scanner, job, [&](const provisioning::FoundCamera& to, bool ok, const std::string& error) {
    sent = ok;
    if (ok) {
      std::printf("sent the configuration request for %s out of %s to 255.255.255.255:%u\n", mac.c_str(),
                  to.arrival.name.c_str(), static_cast<unsigned>(to.arrival.sourcePort));
      std::fflush(stdout);
    } else {
      std::fprintf(stderr, "lumora: %s\n", error.c_str());
    }
  });
  if (!sent) return kSiteNotDone;
  if (!verify) return kSiteDone;
  const std::string target = change["mac"] ? *change["mac"] : mac;
  const provisioning::RowReport& report = job.reports().front();
  if (report.status == "changed") {
    std::printf("verified: %s shows the new values\n", target.c_str());
    return kSiteDone;
  }
  // The mismatch may quote the camera's own texts.
  std::fprintf(stderr, "lumora: not verified: camera %s: ", target.c_str());
  WriteText(stderr, Utf8ControlsReplaced(CameraText(report.reason, readCodePage), false) + "\n");
  return kSiteNotDone;
}

}  // namespace lumora::cli
