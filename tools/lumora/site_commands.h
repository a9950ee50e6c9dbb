// `lumora plan` and `lumora apply`: a whole site from one plan. main.cpp
// registers them with AddSiteCommands and runs them with RunSiteCommand; the
// steps themselves (reading the plan, assignment, matching, verification)
// are provisioning/'s, and these files only read options, scan, send, wait
// and print.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>

#include "tools/lumora/camera_text.h"
#include "tools/lumora/scanner.h"
#include "tools/lumora/settings_change.h"

namespace lumora::cli {

enum SiteExit { kSiteDone = 0, kSiteNotDone = 1, kSiteUsage = 2 };

struct PlanArgs {
  std::string ipRange, mask, gateway, mode, namePattern;
  std::string order = "mac";
  bool bom = false;
};

struct ApplyArgs {
  std::string planPath;  // "-": standard input
  bool dryRun = false;
  int paceMs = 2;
  double verifyTimeoutSeconds = 30;
  int rounds = 3;
  std::string format = "table";
  bool bom = false;
  bool showSecrets = false;
};

struct SiteCommands {
  CLI::App* plan = nullptr;
  CLI::App* apply = nullptr;
  PlanArgs planArgs;
  ApplyArgs applyArgs;
};

// Adds both commands; `addScanOptions` gives each the scan options.
void AddSiteCommands(CLI::App& app, SiteCommands& site, const std::function<void(CLI::App&)>& addScanOptions);

// The exit status of plan or apply when one of them was given, else nothing.
// Values and the plan are checked before `guard` is asked, and the guard
// before any socket is opened.
std::optional<int> RunSiteCommand(const SiteCommands& site, const ScanOptions& scan,
                                  const CodePageReader& readCodePage, const std::function<bool()>& guard);

int RunPlan(const PlanArgs& args, const ScanOptions& scan, const std::function<bool()>& guard);
int RunApply(const ApplyArgs& args, const std::string& planText, const ScanOptions& scan,
             const CodePageReader& readCodePage, const std::function<bool()>& guard);

// `lumora set` for the camera `mac` (12 upper-case digits) with checked
// values; the exit status.
int RunSet(const ScanOptions& scan, const CodePageReader& readCodePage, const std::string& mac,
           const SettingsChange& change, bool verify);

}  // namespace lumora::cli
