// `lumora set` without the network: the values an operator typed fill the
// one plan row that set runs, matched, sent and verified as apply runs
// every row; checked here by provisioning's value rules, each message
// behind the option that gave the value.
#pragma once

#include <string>

#include "provisioning/found_camera.h"
#include "provisioning/plan.h"
#include "tools/lumora/code_page.h"

namespace lumora::cli {

// Checks every value the row gives (its mac entry is --new-mac); "" when
// all are good, else one message naming the option at fault ("--ip: ...").
// The new MAC is normalised to 12 upper-case digits.
std::string CheckSetRow(provisioning::PlanRow& row);

// The plan of set's one row for the camera `mac` (12 upper-case digits), and
// how its texts compare with the camera's: a typed text equal to the
// camera's, read as scan prints it, is no change; a changed one is sent as
// typed.
struct SetPlan {
  provisioning::Plan plan;
  provisioning::TextReading reading;
};
SetPlan SetPlanFor(const std::string& mac, const provisioning::PlanRow& row, const CodePageReader& readCodePage);

// A conflict of set's row as set says it: behind the option, not the column.
std::string SetConflictText(const provisioning::PlanProblem& conflict);

}  // namespace lumora::cli
