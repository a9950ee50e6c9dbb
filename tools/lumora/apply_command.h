// `lumora apply`: its options, help and run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "provisioning/apply_job.h"
#include "tools/lumora/exit_code.h"
#include "tools/lumora/scan_options.h"

namespace lumora::cli {

struct ApplyArgs {
  std::string planPath;  // "-": standard input
  bool dryRun = false;
  provisioning::JobSettings job;  // --pace, --verify-timeout, --rounds
  std::string format = "table";
  bool bom = false;
  bool showSecrets = false;
  bool lookUp = true;  // --no-lookup: trust that nothing else holds the plan's addresses
};

struct ApplyCommand {
  CLI::App* app = nullptr;
  ScanArgs scanArgs;
  ApplyArgs args;
};

void AddApplyCommand(CLI::App& parent, ApplyCommand& command);
ExitCode RunApplyCommand(ApplyCommand& command, const HostGuard& guard);

}  // namespace lumora::cli
