// `lumora scan`: its options, help and run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "tools/lumora/exit_code.h"
#include "tools/lumora/scan_options.h"

namespace lumora::cli {

struct ScanCommand {
  CLI::App* app = nullptr;
  ScanArgs scanArgs;
  std::string format = "table";
  bool showSecrets = false;
  bool stream = false;
  bool bom = false;
};

void AddScanCommand(CLI::App& parent, ScanCommand& command);
ExitCode RunScanCommand(ScanCommand& command, const HostGuard& guard);

}  // namespace lumora::cli
