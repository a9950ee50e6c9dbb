// `lumora plan`: its options, help and run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "tools/lumora/exit_code.h"
#include "tools/lumora/scan_options.h"

namespace lumora::cli {

struct PlanCommand {
  CLI::App* app = nullptr;
  ScanArgs scanArgs;
  std::string ipRange, mask, gateway, mode, namePattern;
  std::string order = "mac";
  bool bom = false;
  bool lookUp = true;  // --no-lookup
};

void AddPlanCommand(CLI::App& parent, PlanCommand& command);
ExitCode RunPlanCommand(PlanCommand& command, const HostGuard& guard);

}  // namespace lumora::cli
