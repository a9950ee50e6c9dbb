// The report records and their counts.
#include "provisioning/report.h"

#include "protocol/settings.h"
#include "provisioning/sheet_text.h"

namespace lumora::provisioning {

const char* StatusName(RowStatus status) {
  switch (status) {
    case RowStatus::kChanged: return "changed";
    case RowStatus::kUnchanged: return "unchanged";
    case RowStatus::kNotFound: return "not-found";
    case RowStatus::kRefused: return "refused";
    case RowStatus::kNotVerified: return "not-verified";
    case RowStatus::kWouldChange: return "would-change";
  }
  return "";
}

RowReport ReportFor(const Plan& plan, const Step& step, const std::vector<FoundCamera>& cameras, bool dryRun) {
  RowReport report;
  report.mac = plan.rows[step.row].mac;
  if (step.camera) report.interfaceName = cameras[*step.camera].arrival.name;
  report.changes = step.changes;
  // A sent row has no reason of its own; its warning goes where one is shown.
  report.reason = step.reason.empty() ? step.warning : step.reason;
  switch (step.status) {
    case StepStatus::kSend: report.status = dryRun ? RowStatus::kWouldChange : RowStatus::kNotVerified; break;
    case StepStatus::kUnchanged: report.status = RowStatus::kUnchanged; break;
    case StepStatus::kNotFound: report.status = RowStatus::kNotFound; break;
    case StepStatus::kRefused: report.status = RowStatus::kRefused; break;
  }
  return report;
}

namespace {

// How many rows have each status, in RowStatus' order.
std::vector<std::size_t> CountStatuses(const std::vector<RowReport>& reports) {
  std::vector<std::size_t> counts(kStatusCount, 0);
  for (const RowReport& report : reports) ++counts[static_cast<std::size_t>(report.status)];
  return counts;
}

}  // namespace

std::string CountsText(const std::vector<RowReport>& reports) {
  std::vector<std::size_t> counts = CountStatuses(reports);
  std::string out;
  for (std::size_t i = 0; i < kStatusCount; ++i) {
    if (counts[i] == 0) continue;
    if (!out.empty()) out += ", ";
    out += std::to_string(counts[i]) + " " + StatusName(static_cast<RowStatus>(i));
  }
  return out.empty() ? "no rows" : out;
}

std::string ChangesText(const RowReport& report, bool showSecrets, const CellText& cellText) {
  auto value = [&](const SettingChange& change, const std::string& text) {
    return kSettings[change.setting].secret && !showSecrets ? std::string("(hidden)") : cellText(text);
  };
  std::string out;
  for (const SettingChange& change : report.changes) {
    if (!out.empty()) out += "; ";
    out += std::string(kSettings[change.setting].key) + ": " + value(change, change.before) + " -> " +
           value(change, change.after);
  }
  return out;
}

std::vector<std::string> ReportSheetTitles() { return {"mac", "status", "interface", "changes", "reason"}; }

std::vector<std::string> ReportSheetCells(const RowReport& report, bool showSecrets, const CellText& cellText) {
  return {ColonMac(report.mac.bytes.data()), StatusName(report.status), SheetSafe(cellText(report.interfaceName)),
          SheetSafe(ChangesText(report, showSecrets, cellText)), SheetSafe(cellText(report.reason))};
}

bool AllApplied(const std::vector<RowReport>& reports) {
  for (const RowReport& report : reports) {
    const RowStatus s = report.status;
    if (s != RowStatus::kChanged && s != RowStatus::kUnchanged && s != RowStatus::kWouldChange) return false;
  }
  return true;
}

}  // namespace lumora::provisioning
