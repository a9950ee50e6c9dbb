// Whether a camera, as a rescan after the request sees it, shows what its
// plan row asks for.
#pragma once

#include <string>

#include "provisioning/found_camera.h"
#include "provisioning/plan.h"

namespace lumora::provisioning {

// "" when `camera` shows every value of `row`, else the first that differs
// ("ip is '10.77.0.5', not '10.77.0.9'"). Ports are compared as numbers; the
// mode as the radio buttons read the flags, since that is how the request
// writes them, and not at all for a camera whose reply had no IP-assignment
// field (its zeroed flags would read as PPPoE); the password is never echoed
// ("pppoe_password differs"). Texts are read as MatchPlan reads them.
std::string PlanMismatch(const PlanRow& row, const FoundCamera& camera, const TextReading& reading = {});

}  // namespace lumora::provisioning
