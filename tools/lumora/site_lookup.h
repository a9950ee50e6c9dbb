// `lumora plan`'s guard for hosts that are no camera: the range's planned
// addresses are looked up on the wire, and one that a MAC of no listed
// camera answers on (an NVR, a switch, a PC) is reserved and planned again.
#pragma once

#include <string>
#include <vector>

#include "provisioning/assign.h"
#include "provisioning/found_camera.h"
#include "provisioning/match.h"
#include "provisioning/plan.h"
#include "provisioning/site_facts.h"

namespace lumora::cli {

// PlanAddresses, then the look-up of each address it hands out, until no
// planned address is held by a foreign host. Says on stderr each address
// skipped, with the MAC that holds it, and each that could not be looked up.
// False with `error` when the plan fails or the look-up cannot run.
bool PlanAroundHostsInUse(const std::vector<provisioning::FoundCamera>& cameras,
                          provisioning::AssignOptions& options, provisioning::Plan& plan, std::string& error);

// `apply`'s guard, right before the first send: each address a sent step
// moves its camera onto is looked up, and one that a MAC of no listed camera
// answers on goes into `site.inUse`, so that matching again makes it a
// conflict. Says on stderr each that could not be looked up. False with
// `error` when the look-up cannot run.
bool LookUpSentAddresses(const provisioning::Plan& plan, const std::vector<provisioning::Step>& steps,
                         const std::vector<provisioning::FoundCamera>& cameras, provisioning::SiteFacts& site,
                         std::string& error);

}  // namespace lumora::cli
