// The dry run behind the dialog's Preview and Paste plan.
#include "provisioning/site_preview.h"

#include "protocol/ipv4.h"

namespace lumora::provisioning {
namespace {

bool ReadAddress(const char* caption, const std::string& text, std::optional<uint32_t>& out,
                 std::vector<std::string>& problems) {
  if (text.empty()) return true;
  uint32_t ip = 0;
  if (!ReadDecimalIpv4(text, ip)) {
    problems.push_back(std::string(caption) + ": '" + text +
                       "' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10");
    return false;
  }
  out = ip;
  return true;
}

bool ReadForm(const AssignForm& form, AssignOptions& options, std::vector<std::string>& problems) {
  std::optional<uint32_t> first, last, mask, gateway;
  bool good = ReadAddress("First address", form.first, first, problems);
  good = ReadAddress("Last address", form.last, last, problems) && good;
  good = ReadAddress("Mask", form.mask, mask, problems) && good;
  good = ReadAddress("Gateway", form.gateway, gateway, problems) && good;
  if (good && form.first.empty()) {
    problems.push_back("First address: give the first address of the range");
    good = false;
  }
  if (good && mask && !IsSubnetMask(*mask)) {
    problems.push_back("Mask: '" + form.mask + "' is not a subnet mask (its one bits do not run unbroken from the left)");
    good = false;
  }
  if (!good) return false;
  options.first = *first;
  // Up to the subnet's broadcast address, which the assignment skips.
  const uint32_t subnetMask = mask ? *mask : NetOrder(0xFFFFFF00);
  options.last = last ? *last : (*first | ~subnetMask);
  if (HostOrder(options.last) < HostOrder(options.first)) {
    problems.push_back("Last address: " + form.last + " comes before the first address " + form.first);
    return false;
  }
  options.mask = mask;
  options.gateway = gateway;
  options.namePattern = form.namePattern;
  return true;
}

void Match(SitePreview& preview, const std::vector<FoundCamera>& cameras, const std::vector<uint32_t>& pcAddresses,
           const TextReading& reading) {
  std::vector<PlanProblem> conflicts;
  preview.steps = MatchPlan(preview.plan, cameras, conflicts, reading, pcAddresses);
  for (const PlanProblem& conflict : conflicts) preview.problems.push_back(ProblemText(conflict));
  for (const Step& step : preview.steps) preview.reports.push_back(ReportFor(preview.plan, step, cameras, true));
}

}  // namespace

SitePreview PreviewRange(const AssignForm& form, const std::vector<FoundCamera>& cameras,
                         const std::vector<uint32_t>& pcAddresses, const TextReading& reading) {
  SitePreview preview;
  AssignOptions options;
  if (!ReadForm(form, options, preview.problems)) return preview;
  options.reserved = pcAddresses;
  std::string error;
  if (!PlanAddresses(cameras, options, preview.plan, error)) {
    preview.problems.push_back(error);
    return preview;
  }
  Match(preview, cameras, pcAddresses, reading);
  return preview;
}

SitePreview PreviewPlan(const std::string& text, const std::vector<FoundCamera>& cameras,
                        const std::vector<uint32_t>& pcAddresses, const TextReading& reading) {
  SitePreview preview;
  std::vector<PlanProblem> problems;
  if (!ReadPlan(text, preview.plan, problems)) {
    for (const PlanProblem& problem : problems) preview.problems.push_back(ProblemText(problem));
    preview.plan.rows.clear();
    return preview;
  }
  Match(preview, cameras, pcAddresses, reading);
  return preview;
}

}  // namespace lumora::provisioning
