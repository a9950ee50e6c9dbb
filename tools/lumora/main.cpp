// lumora: search for cameras and set them up from a terminal, on every
// network interface at once, with the dialog's own datagrams, built and read
// by the same protocol code. This file builds the command line and hands it
// to the command given; each command keeps its options, help and run.
#include <CLI/CLI.hpp>

#include <string>

#include "tools/common/host_guard.h"
#include "tools/lumora/apply_command.h"
#include "tools/lumora/build_text.h"
#include "tools/lumora/help_text.h"
#include "tools/lumora/open_command.h"
#include "tools/lumora/plan_command.h"
#include "tools/lumora/scan_command.h"
#include "tools/lumora/set_command.h"

namespace {

using namespace lumora::cli;

struct Commands {
  bool allowHostNetwork = false;
  ScanCommand scan;
  SetCommand set;
  OpenCommand open;
  PlanCommand plan;
  ApplyCommand apply;
};

constexpr char kAllowHostNetworkHelp[] = "run even in the machine's own network namespace";

ExitCode Dispatch(Commands& c) {
  const HostGuard guard = MakeHostGuard(c.allowHostNetwork);
  if (c.scan.app->parsed()) return RunScanCommand(c.scan, guard);
  if (c.set.app->parsed()) return RunSetCommand(c.set, guard);
  if (c.open.app->parsed()) return RunOpenCommand(c.open, guard);
  if (c.plan.app->parsed()) return RunPlanCommand(c.plan, guard);
  return RunApplyCommand(c.apply, guard);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("lumora: search for network cameras and set them up, on every network interface.", "lumora");
  app.footer(std::string(kMainFooter) + lumora::tools::kGuardHelp);
  app.set_version_flag("--version", lumora::tools::kVersionText);
  app.require_subcommand(1);
  Commands c;
  app.add_flag("--allow-host-network", c.allowHostNetwork, kAllowHostNetworkHelp)->group("");
  AddScanCommand(app, c.scan);
  AddSetCommand(app, c.set);
  AddOpenCommand(app, c.open);
  AddPlanCommand(app, c.plan);
  AddApplyCommand(app, c.apply);
  // --allow-host-network is accepted after the command too.
  for (CLI::App* command : {c.scan.app, c.set.app, c.open.app, c.plan.app, c.apply.app}) {
    command->add_flag("--allow-host-network", c.allowHostNetwork, kAllowHostNetworkHelp);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return ExitStatus(app.exit(e) == 0 ? ExitCode::kDone : ExitCode::kUsage);
  }
  return ExitStatus(Dispatch(c));
}
