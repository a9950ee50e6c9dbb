// Scanning for the commands that act on what a scan found.
#include "tools/lumora/camera_scan.h"

#include <cstdio>
#include <string>
#include <thread>

#include "tools/lumora/printer.h"

namespace lumora::cli {

std::optional<ExitCode> OpenScanner(Scanner& scanner, const ScanOptions& options) {
  std::string error;
  bool usageError = false;
  if (scanner.Open(options, error, usageError)) return std::nullopt;
  std::fprintf(stderr, "lumora: %s\n", error.c_str());
  return usageError ? ExitCode::kUsage : ExitCode::kNotDone;
}

std::optional<ExitCode> ScanOnce(Scanner& scanner, const ScanOptions& options) {
  if (auto code = OpenScanner(scanner, options)) return code;
  scanner.Run([](const CameraList&, std::size_t) {});
  if (scanner.receiveError() != 0) {
    std::fprintf(stderr, "lumora: receiving failed (code %d); the scan ended early\n", scanner.receiveError());
  }
  ReportIgnored(scanner.list());
  return std::nullopt;
}

std::optional<ExitCode> FindCamera(Scanner& scanner, const ScanOptions& options, const std::string& mac,
                              std::size_t& index) {
  if (auto code = ScanOnce(scanner, options)) return *code;
  std::vector<std::size_t> found = scanner.list().FindMac(mac);
  if (found.empty()) {
    std::fprintf(stderr, "lumora: no camera with MAC %s answered\n", mac.c_str());
    return ExitCode::kNotDone;
  }
  if (found.size() > 1) {
    std::fprintf(stderr, "lumora: MAC %s answers from %zu IP addresses (duplicate-mac):", mac.c_str(), found.size());
    for (std::size_t i : found) std::fprintf(stderr, " %s", scanner.list().cameras()[i].record.ipText);
    std::fprintf(stderr, "; a request by MAC would reach all of them, so nothing is done\n");
    return ExitCode::kNotDone;
  }
  index = found.front();
  return std::nullopt;
}

provisioning::SiteFacts SiteFactsOf(const Scanner& scanner) {
  provisioning::SiteFacts site;
  site.pcAddresses = scanner.everyPcAddress();
  site.pcGateways = scanner.pcGateways();
  return site;
}

void DriveJob(Scanner& scanner, provisioning::ApplyJob& job, const SentListener& onSent) {
  using provisioning::JobActionKind;
  for (;;) {
    const provisioning::JobAction action = job.Next(std::chrono::steady_clock::now());
    switch (action.kind) {
      case JobActionKind::kDone: return;
      case JobActionKind::kWait: std::this_thread::sleep_until(action.until); break;
      case JobActionKind::kSend: {
        std::string error;
        bool ok = scanner.SendTo(*action.to, *action.frame, error);
        if (onSent) onSent(*action.to, ok, error);
        job.Sent(action.step, ok, error);
        break;
      }
      case JobActionKind::kSearch:
        scanner.Forget();
        scanner.Run([](const CameraList&, std::size_t) {}, [&job](const Camera& camera) { job.Reply(camera); });
        if (scanner.receiveError() != 0) {
          job.ReceiveFailed("receiving failed (code " + std::to_string(scanner.receiveError()) + ")");
        }
        break;
    }
  }
}

}  // namespace lumora::cli
