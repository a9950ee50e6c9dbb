// `lumora plan`'s guard for hosts that are no camera: the range's planned
// addresses are looked up on the wire, and one that a MAC of no listed
// camera answers on (an NVR, a switch, a PC) is reserved and planned again.
#pragma once

#include <string>
#include <vector>

#include "provisioning/assign.h"
#include "provisioning/found_camera.h"
#include "provisioning/plan.h"

namespace lumora::cli {

// PlanAddresses, then the look-up of each address it hands out, until no
// planned address is held by a foreign host. Says on stderr each address
// skipped, with the MAC that holds it, and each that could not be looked up.
// False with `error` when the plan fails or the look-up cannot run.
bool PlanAroundHostsInUse(const std::vector<provisioning::FoundCamera>& cameras,
                          provisioning::AssignOptions& options, provisioning::Plan& plan, std::string& error);

}  // namespace lumora::cli
