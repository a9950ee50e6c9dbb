// The scan as set, open, plan and apply use it: opening the scanner, one
// scan, finding one camera, the PC's own addresses, and driving an apply job
// over the scanner's sockets.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "provisioning/apply_job.h"
#include "provisioning/found_camera.h"
#include "provisioning/plan.h"
#include "provisioning/site_facts.h"
#include "tools/lumora/camera_text.h"
#include "tools/lumora/exit_code.h"
#include "tools/lumora/scanner.h"

namespace lumora::cli {

// Opens the scanner; the exit status when it cannot be (2 for a usage error
// such as an unknown --interface, else 1).
std::optional<ExitCode> OpenScanner(Scanner& scanner, const ScanOptions& options);

// Opens the scanner, runs one scan and says on stderr what was ignored; the
// exit status when it cannot open. Every command but scan starts here.
std::optional<ExitCode> ScanOnce(Scanner& scanner, const ScanOptions& options);

// Scans (as ScanOnce) and finds the one camera with this MAC; the exit
// status, said on stderr, when none answered (1) or its MAC answers from
// several addresses (1), where one request would reach every one of them.
std::optional<ExitCode> FindCamera(Scanner& scanner, const ScanOptions& options, const std::string& mac,
                              std::size_t& index);

// What the plan and the match are told of the site beside the cameras:
// every address of every adapter of the PC, whichever the scan searched.
provisioning::SiteFacts SiteFactsOf(const Scanner& scanner);

// Runs `job` to its end: a search is one scan of the scanner's own (Forget,
// then Run), each request goes out of its camera's adapter. `onSent` hears
// of every request, sent or failed.
using SentListener = std::function<void(const provisioning::FoundCamera& to, bool ok, const std::string& error)>;
void DriveJob(Scanner& scanner, provisioning::ApplyJob& job, const SentListener& onSent = {});

}  // namespace lumora::cli
