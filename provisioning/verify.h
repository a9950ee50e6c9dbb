// Whether a camera, as a rescan after the request sees it, shows what its
// plan row asks for.
#pragma once

#include <string>
#include <vector>

#include "protocol/device_record.h"
#include "provisioning/found_camera.h"
#include "provisioning/plan.h"

namespace lumora::provisioning {

// "" when `record` shows every value of `row`, else the first that differs
// ("ip is '10.77.0.5', not '10.77.0.9'"). Ports are compared as numbers; the
// mode as the radio buttons read the flags, since that is how the request
// writes them; the password is never echoed ("pppoe_password differs").
// Texts are read as MatchPlan reads them.
std::string PlanMismatch(const PlanRow& row, const DeviceRecord& record, const TextReading& reading = {});

inline bool ShowsPlan(const PlanRow& row, const DeviceRecord& record, const TextReading& reading = {}) {
  return PlanMismatch(row, record, reading).empty();
}

// After a rescan: "" when a camera with the row's MAC shows the plan, else
// the mismatch ("it did not answer the rescan" when none answered).
std::string VerifyRow(const PlanRow& row, const std::vector<FoundCamera>& seenNow, const TextReading& reading = {});

}  // namespace lumora::provisioning
