// The check of set's row: the first fault is named, in a fixed order.
#include "tools/lumora/set_row.h"

#include "protocol/mac_text.h"
#include "provisioning/value_rules.h"
#include "tools/lumora/camera_text.h"

namespace lumora::cli {
namespace {

// The pass that checks a value: the values with a width, then the mode, then
// the new MAC. Of several faults the first in that order is named.
int CheckPass(SettingKind kind) {
  if (kind == SettingKind::kMode) return 1;
  return kind == SettingKind::kMac ? 2 : 0;
}

// set's new MAC is typed as 12 digits, without the separators a cell may have.
std::string NewMacProblem(const std::string& value) {
  return provisioning::ReadMacDigits(value) ? "" : "'" + value + "' is not 12 hexadecimal digits";
}

}  // namespace

std::string CheckSetRow(provisioning::PlanRow& row) {
  for (int pass = 0; pass < 3; ++pass) {
    for (const Setting& setting : kSettings) {
      const std::optional<std::string>& value = row[setting.id];
      if (CheckPass(setting.kind) != pass || !value) continue;
      std::string problem = setting.id == SettingId::kMac ? NewMacProblem(*value)
                                                          : provisioning::TypedValueProblem(setting.id, *value);
      if (!problem.empty()) return std::string(setting.option) + ": " + problem;
    }
  }
  std::optional<std::string>& newMac = row[SettingId::kMac];
  if (newMac) newMac = provisioning::ReadMacDigits(*newMac);
  return "";
}

SetPlan SetPlanFor(const std::string& mac, const provisioning::PlanRow& row, const CodePageReader& readCodePage) {
  SetPlan set;
  set.plan.rows.push_back(row);
  set.plan.rows.front().mac = provisioning::MacOf(TextToMac(mac.c_str()).bytes);
  set.reading = PrintedText(readCodePage, provisioning::PlanDialect::kJsonLines);
  return set;
}

std::string SetConflictText(const provisioning::PlanProblem& conflict) {
  return (conflict.setting ? std::string(SettingOf(*conflict.setting).option) : conflict.column) + ": " +
         conflict.message;
}

}  // namespace lumora::cli
