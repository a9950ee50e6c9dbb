// `lumora set`: its options, help and run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "provisioning/plan.h"
#include "tools/lumora/exit_code.h"
#include "tools/lumora/scan_options.h"

namespace lumora::cli {

struct SetCommand {
  CLI::App* app = nullptr;
  ScanArgs scanArgs;
  std::string mac;
  provisioning::PlanRow row;  // the values as typed; its mac entry is --new-mac
  bool passwordFromStdin = false;
  bool noVerify = false;
};

void AddSetCommand(CLI::App& parent, SetCommand& command);
ExitCode RunSetCommand(SetCommand& command, const HostGuard& guard);

}  // namespace lumora::cli
