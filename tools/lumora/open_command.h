// `lumora open`: its options, help and run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "tools/lumora/exit_code.h"
#include "tools/lumora/scan_options.h"

namespace lumora::cli {

struct OpenCommand {
  CLI::App* app = nullptr;
  ScanArgs scanArgs;
  std::string mac;
  bool printOnly = false;
};

void AddOpenCommand(CLI::App& parent, OpenCommand& command);
ExitCode RunOpenCommand(OpenCommand& command, const HostGuard& guard);

// The MAC argument of set and open as 12 upper-case digits; nothing, said on
// stderr, when it is not 12 hexadecimal digits.
std::optional<std::string> ReadMacArgument(const std::string& text);

}  // namespace lumora::cli
