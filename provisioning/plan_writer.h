// The plan as a sheet, the writing twin of ReadPlan: `lumora plan` prints it
// as CSV, and apply and the dialog read it back (also after a spreadsheet
// has saved it again) to the same rows.
#pragma once

#include <string>
#include <vector>

#include "provisioning/plan.h"

namespace lumora::provisioning {

// A header of mac and every setting some row gives, then one row of cells
// per plan row: MACs in colon notation, texts guarded for spreadsheets
// (SheetSafe), the rest as the row holds them.
std::vector<std::vector<std::string>> PlanSheet(const Plan& plan);

}  // namespace lumora::provisioning
