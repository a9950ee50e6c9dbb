// `lumora set`: one camera, as a plan of one row. The row is matched, sent
// and verified by the same rules as every row of `apply`; only the
// messages are set's own.
#include "tools/lumora/set_command.h"

#include <cstdio>

#include "provisioning/apply_job.h"
#include "provisioning/match.h"
#include "provisioning/report.h"
#include "tools/lumora/camera_scan.h"
#include "tools/lumora/open_command.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/set_row.h"

namespace lumora::cli {
namespace {

constexpr char kSetFooter[] = R"(
Scans first (with the scan options), then sends one configuration request,
the one the Lumora Search dialog sends when its panel shows the camera and
the given values are typed in: only out of the interface the camera answered
on, to 255.255.255.255 at the port its reply came from, so a camera outside
the PC's subnet is reached too. Then scans again and checks that the camera
shows the new values (skipped with --no-verify). It is a plan of one row:
the same rules as lumora apply. Values are checked before anything is sent:
addresses are four decimal numbers 0..255 without leading zeros, numbers are
decimal, a mask's one bits run unbroken and it is neither 0.0.0.0 nor
255.255.255.255, and no camera is given an address in 0.0.0.0/8,
127.0.0.0/8 or 224.0.0.0/3. A text is counted in the bytes sent; one the
camera already shows, in whatever encoding, is not sent. A camera that already shows every given value is sent nothing. A
camera whose MAC answers from two IP addresses is not changed: the request
would reach both. Nor is a camera moved onto the address of another camera
or of the PC, or onto its subnet's network or broadcast address. A camera
whose reply does not say how it gets its address (no IP-assignment field)
is changed only with --mode, since the request always carries the mode; a
mode alone is not sent to it, since it cannot be compared.
Exit status: 0 done (and verified, or nothing to change), 1 not found, shared
MAC or not verified, 2 on a usage error, an invalid value or a conflict.

Examples:
  lumora set 001A2B3C4D01 --ip 192.168.1.20 --mask 255.255.255.0 --gateway 192.168.1.1
  lumora set 001A2B3C4D01 --mode dhcp
  lumora set 001A2B3C4D01 --name Entrance --http-port 8080 --interface eth1
  lumora set 001A2B3C4D01 --mode pppoe --pppoe-account shop --pppoe-password-stdin < password.txt)";

// The option of `set` for the value of `id`, kept as typed; absent unless given.
void AddValue(CLI::App& command, provisioning::PlanRow& row, SettingId id, const char* description,
              const char* typeName) {
  std::optional<std::string>& out = row[id];
  command.add_option_function<std::string>(SettingOf(id).option, [&out](const std::string& value) { out = value; },
                                           description)
      ->type_name(typeName);
}

// One line, without its line end, as `docker login --password-stdin` reads it.
bool ReadPasswordLine(provisioning::PlanRow& row) {
  std::string line;
  int c = 0;
  // Longer than any field: the length check refuses it without reading on.
  while (line.size() <= 64 && (c = std::getchar()) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) {
    std::fprintf(stderr, "lumora: --pppoe-password-stdin: standard input holds no line\n");
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  row[SettingId::kPppoePassword] = line;
  return true;
}

// A conflict names the row's column; set names its option.
void PrintConflicts(const std::vector<provisioning::PlanProblem>& conflicts) {
  for (const provisioning::PlanProblem& conflict : conflicts) {
    std::fprintf(stderr, "lumora: %s\n", SetConflictText(conflict).c_str());
  }
  std::fprintf(stderr, "lumora: nothing was sent\n");
}

// The row for the camera `mac` (12 upper-case digits), its values checked.
ExitCode RunSet(const ScanOptions& scan, const CodePageReader& readCodePage, const std::string& mac,
                const provisioning::PlanRow& row, bool verify) {
  Scanner scanner;
  std::size_t index = 0;
  if (auto code = FindCamera(scanner, scan, mac, index)) return *code;
  const SetPlan set = SetPlanFor(mac, row, readCodePage);
  const provisioning::Plan& plan = set.plan;
  const std::vector<Camera> found = scanner.list().cameras();  // the scan the steps are matched to
  std::vector<provisioning::PlanProblem> conflicts;
  const std::vector<provisioning::Step> steps =
      provisioning::MatchPlan(plan, found, conflicts, set.reading, SiteFactsOf(scanner));
  const provisioning::Step& step = steps.front();
  if (!conflicts.empty()) {
    PrintConflicts(conflicts);
    return ExitCode::kUsage;
  }
  switch (step.status) {
    case provisioning::StepStatus::kSend: break;
    case provisioning::StepStatus::kUnchanged:
      std::printf("camera %s already shows these values; nothing was sent%s%s\n", mac.c_str(),
                  step.reason.empty() ? "" : ": ", step.reason.c_str());
      return ExitCode::kDone;
    case provisioning::StepStatus::kRefused:
    case provisioning::StepStatus::kNotFound:
      std::fprintf(stderr, "lumora: camera %s: %s\n", mac.c_str(), step.reason.c_str());
      return ExitCode::kUsage;
  }

  provisioning::JobSettings settings;  // one camera: nothing to pace, one rescan, no resend
  settings.pace = provisioning::JobDuration::zero();
  settings.verifyFor = provisioning::JobDuration::zero();  // one rescan
  settings.resends = 0;
  settings.verify = verify;
  settings.silentReason = "it did not answer";
  provisioning::ApplyJob job(plan, steps, found, settings, set.reading);
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
  if (!sent) return ExitCode::kNotDone;
  if (!verify) return ExitCode::kDone;
  const std::string target = row[SettingId::kMac].value_or(mac);
  const provisioning::RowReport& report = job.reports().front();
  if (report.status == provisioning::RowStatus::kChanged) {
    std::printf("verified: %s shows the new values\n", target.c_str());
    return ExitCode::kDone;
  }
  // The mismatch may quote the camera's own texts.
  std::fprintf(stderr, "lumora: not verified: camera %s: ", target.c_str());
  WriteText(stderr, Utf8ControlsReplaced(CameraText(report.reason, readCodePage), false) + "\n");
  return ExitCode::kNotDone;
}

}  // namespace

void AddSetCommand(CLI::App& parent, SetCommand& c) {
  CLI::App& set = *(c.app = parent.add_subcommand("set", "change a camera's network settings"));
  set.footer(kSetFooter);
  set.add_option("MAC", c.mac, "the camera's MAC, 12 hexadecimal digits")->required();
  AddScanOptions(set, c.scanArgs);
  provisioning::PlanRow& v = c.row;
  AddValue(set, v, SettingId::kName, "device name (at most 16 bytes)", "T");
  AddValue(set, v, SettingId::kIp, "IP address, four decimal numbers 0..255 (no leading zeros)", "A");
  AddValue(set, v, SettingId::kMask, "subnet mask, as --ip", "A");
  AddValue(set, v, SettingId::kGateway, "gateway, as --ip", "A");
  AddValue(set, v, SettingId::kHttpPort, "HTTP port, decimal 1..65535", "N");
  AddValue(set, v, SettingId::kAudioPort, "audio port, decimal 1..65535", "N");
  AddValue(set, v, SettingId::kMode, "IP assignment: static, dhcp or pppoe", "MODE");
  AddValue(set, v, SettingId::kPppoeAccount, "PPPoE account (at most 32 bytes)", "T");
  AddValue(set, v, SettingId::kPppoePassword,
           "PPPoE password (at most 32 bytes); every user can read it in the process list, so prefer "
           "--pppoe-password-stdin",
           "T");
  set.add_flag("--pppoe-password-stdin", c.passwordFromStdin, "read the PPPoE password from one line of standard input")
      ->excludes("--pppoe-password");
  AddValue(set, v, SettingId::kMac, "give the camera this MAC", "MAC");
  set.add_flag("--no-verify", c.noVerify, "do not scan again to check the change");
}

// Every value is checked before the guard and before any socket.
ExitCode RunSetCommand(SetCommand& c, const HostGuard& guard) {
  if (!ReadCodePageOption(c.scanArgs)) return ExitCode::kUsage;
  std::optional<std::string> target = ReadMacArgument(c.mac);
  if (!target) return ExitCode::kUsage;
  if (c.passwordFromStdin && !ReadPasswordLine(c.row)) return ExitCode::kUsage;
  std::string problem = CheckSetRow(c.row);
  if (!problem.empty()) {
    std::fprintf(stderr, "lumora: %s\n", problem.c_str());
    return ExitCode::kUsage;
  }
  if (!guard()) return ExitCode::kUsage;
  return RunSet(c.scanArgs.scan, c.scanArgs.readCodePage, *target, c.row, !c.noVerify);
}

}  // namespace lumora::cli
