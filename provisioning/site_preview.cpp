// The dry run behind the dialog's Preview and Paste plan.
#include "provisioning/site_preview.h"

#include <algorithm>

#include "protocol/ipv4.h"
#include "provisioning/value_rules.h"

namespace lumora::provisioning {
namespace {

// A field of the form by the value rules of the setting it fills.
bool ReadAddress(const char* caption, SettingId setting, const std::string& text, std::optional<uint32_t>& out,
                 std::vector<std::string>& problems) {
  if (text.empty()) return true;
  std::string problem = TypedValueProblem(setting, text);
  if (!problem.empty()) {
    problems.push_back(std::string(caption) + ": " + problem);
    return false;
  }
  uint32_t ip = 0;
  ReadDecimalIpv4(text, ip);
  out = ip;
  return true;
}

bool ReadForm(const AssignForm& form, AssignOptions& options, std::vector<std::string>& problems) {
  std::optional<uint32_t> first, last, mask, gateway;
  bool good = ReadAddress("First address", SettingId::kIp, form.first, first, problems);
  good = ReadAddress("Last address", SettingId::kIp, form.last, last, problems) && good;
  good = ReadAddress("Mask", SettingId::kMask, form.mask, mask, problems) && good;
  good = ReadAddress("Gateway", SettingId::kGateway, form.gateway, gateway, problems) && good;
  if (good && form.first.empty()) {
    problems.push_back("First address: give the first address of the range");
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

void Match(SitePreview& preview, const std::vector<FoundCamera>& cameras, const SiteFacts& site,
           const TextReading& reading) {
  std::vector<PlanProblem> conflicts;
  preview.steps = MatchPlan(preview.plan, cameras, conflicts, reading, site);
  for (const PlanProblem& conflict : conflicts) preview.problems.push_back(ProblemText(conflict));
  for (const Step& step : preview.steps) preview.reports.push_back(ReportFor(preview.plan, step, cameras, true));
}

}  // namespace

SitePreview PreviewRange(const AssignForm& form, const std::vector<FoundCamera>& cameras, const SiteFacts& site,
                         const TextReading& reading) {
  SitePreview preview;
  AssignOptions options;
  if (!ReadForm(form, options, preview.problems)) return preview;
  options.site = site;
  std::string error;
  if (!PlanAddresses(cameras, options, preview.plan, error)) {
    preview.problems.push_back(error);
    return preview;
  }
  Match(preview, cameras, site, reading);
  return preview;
}

SitePreview PreviewPlan(const std::string& text, const std::vector<FoundCamera>& cameras, const SiteFacts& site,
                        const TextReading& reading) {
  SitePreview preview;
  std::vector<PlanProblem> problems;
  const bool read = ReadPlan(text, preview.plan, problems);
  for (const PlanProblem& problem : problems) preview.problems.push_back(ProblemText(problem));
  Match(preview, cameras, site, reading);
  if (!read) {
    preview.plan.rows.clear();
    preview.steps.clear();
    preview.reports.clear();
  }
  return preview;
}

bool SamePreview(const SitePreview& shown, const SitePreview& now) {
  if (shown.problems != now.problems || shown.reports.size() != now.reports.size()) return false;
  auto sameChange = [](const SettingChange& a, const SettingChange& b) {
    return a.setting == b.setting && a.before == b.before && a.after == b.after;
  };
  for (std::size_t i = 0; i < shown.reports.size(); ++i) {
    const RowReport& a = shown.reports[i];
    const RowReport& b = now.reports[i];
    if (!(a.mac == b.mac) || a.status != b.status || a.reason != b.reason ||
        !std::equal(a.changes.begin(), a.changes.end(), b.changes.begin(), b.changes.end(), sameChange)) {
      return false;
    }
  }
  return true;
}

}  // namespace lumora::provisioning
