// `lumora plan`: a scan, the range assignment, and the plan CSV on stdout.
#include <cstdio>

#include "protocol/ipv4.h"
#include "provisioning/assign.h"
#include "provisioning/sheet_text.h"
#include "tools/lumora/platform.h"
#include "tools/lumora/site_commands.h"
#include "tools/lumora/site_lookup.h"
#include "tools/lumora/site_output.h"
#include "tools/lumora/site_scan.h"

namespace lumora::cli {
namespace {

// CLI11 has checked the form of each value; the range is read here.
bool ReadAssignOptions(const PlanArgs& args, provisioning::AssignOptions& options) {
  std::string error;
  if (!provisioning::ParseIpRange(args.ipRange, options.first, options.last, error)) {
    std::fprintf(stderr, "lumora: --ip-range: %s\n", error.c_str());
    return false;
  }
  uint32_t address = 0;
  if (!args.mask.empty() && ReadDecimalIpv4(args.mask, address)) options.mask = address;
  if (!args.gateway.empty() && ReadDecimalIpv4(args.gateway, address)) options.gateway = address;
  if (!args.mode.empty()) options.mode = args.mode;
  options.namePattern = args.namePattern;
  options.answerOrder = args.order == "answer";
  // With no camera only the options themselves can be at fault (a pattern,
  // a gateway outside the range's subnet): said before anything is sent.
  provisioning::Plan none;
  if (!provisioning::PlanAddresses({}, options, none, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunPlan(const PlanArgs& args, const ScanOptions& scan, const std::function<bool()>& guard) {
  provisioning::AssignOptions options;
  if (!ReadAssignOptions(args, options)) return kSiteUsage;
  if (!guard()) return kSiteUsage;
  Scanner scanner;
  if (auto code = ScanOnce(scanner, scan)) return *code;
  if (scanner.list().cameras().empty()) {
    std::fprintf(stderr, "lumora: no camera answered\n");
    return kSiteNotDone;
  }
  options.reserved = AdapterAddresses(scanner);
  provisioning::Plan plan;
  std::string error;
  if (!PlanAroundHostsInUse(scanner.list().cameras(), options, plan, error)) {
    std::fprintf(stderr, "lumora: %s\n", error.c_str());
    return kSiteUsage;
  }
  if (args.bom) WriteText(stdout, provisioning::kUtf8Bom);
  for (const std::string& line : PlanCsvLines(plan)) WriteText(stdout, line + "\n");
  std::fflush(stdout);
  std::fprintf(stderr, "%zu camera%s planned\n", plan.rows.size(), plan.rows.size() == 1 ? "" : "s");
  return kSiteDone;
}

}  // namespace lumora::cli
