// Writing a plan's rows as sheet cells.
#include "provisioning/plan_writer.h"

#include <algorithm>

#include "provisioning/sheet_text.h"

namespace lumora::provisioning {

std::vector<std::vector<std::string>> PlanSheet(const Plan& plan) {
  std::vector<std::size_t> columns;
  for (std::size_t s = 0; s < kSettingCount; ++s) {
    bool given = std::any_of(plan.rows.begin(), plan.rows.end(), [s](const auto& row) { return row.values[s]; });
    if (given && kSettings[s].kind != SettingKind::kMac) columns.push_back(s);
  }
  std::vector<std::vector<std::string>> sheet(1, {"mac"});
  for (std::size_t s : columns) sheet.front().push_back(kSettings[s].key);
  for (const PlanRow& row : plan.rows) {
    std::vector<std::string> cells = {ColonMac(row.mac.bytes.data())};
    for (std::size_t s : columns) {
      std::string value = row.values[s].value_or("");
      cells.push_back(kSettings[s].kind == SettingKind::kText ? SheetSafe(value) : value);
    }
    sheet.push_back(std::move(cells));
  }
  return sheet;
}

}  // namespace lumora::provisioning
