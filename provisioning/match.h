// The plan against the cameras a scan found: for each row, whether a request
// goes out and which, composed exactly as `lumora set` and the dialog's
// "Submit" compose it (the panel as it shows the camera, the row's values
// typed over it, ComposeRequestFor: only the changed fields and the mode).
// `--dry-run` prints these steps; apply sends them. Nothing here sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/packet_format.h"
#include "provisioning/found_camera.h"
#include "provisioning/plan.h"
#include "provisioning/site_facts.h"

namespace lumora::provisioning {

enum class StepStatus { kSend, kUnchanged, kNotFound, kRefused };

// One setting the request changes. For pppoe_password `before` and `after`
// hold the password itself: whoever prints a change masks it unless asked
// to show secrets.
struct SettingChange {
  std::size_t setting;  // kSettings index
  std::string before, after;
};

struct Step {
  std::size_t row = 0;  // index into plan.rows
  StepStatus status = StepStatus::kNotFound;
  std::string reason;                  // for kNotFound and kRefused
  std::optional<std::size_t> camera;   // index into cameras, when one answered
  std::vector<SettingChange> changes;  // kSend: what the request changes
  RequestFrame frame{};                // kSend: the whole request, magic first
  std::string warning;                 // kSend: said beside the row, sent all the same
};

// One step per row, in row order. A MAC that answered from two addresses is
// refused (one request would reach both); a MAC that did not answer is not
// found; a row that asks for what the camera has is unchanged (nothing is
// sent, whether or not the camera said its mode); a camera whose reply had
// no IP-assignment field needs a mode cell before anything is sent to it.
// Problems with the site go into `siteConflicts` and mean apply must stop
// before sending. Only a step that is sent moves its camera, and only what
// it sends is checked: an address that another camera keeps (because the
// plan does not move it, or its row is refused or unchanged), one that two
// sent rows both take, an address of the PC's own adapters or one of its
// default gateways, an address a row gives as its gateway, one in use by a
// MAC that is no listed camera's (`site`), and an address that is the
// network or broadcast address of the mask the camera would have. A
// gateway a row gives (0.0.0.0 is none) must lie inside the camera's final
// subnet and be neither its network nor its broadcast address. A sent step
// whose row gives no gateway and leaves the camera's gateway outside its
// new subnet carries a warning, and is sent. A value sent must keep the rules of a sent value
// (SentValueProblem): a changed text is counted in the bytes sent, so a
// name the camera holds in another encoding is never refused for its
// length, being unchanged. An untouched row, such as an unconfigured camera's at
// 0.0.0.0, is never a conflict.
//
// A text equal to the camera's under `reading` is unchanged; a changed text
// is sent as the plan holds it, as set sends it. A port cell of 0 (see
// value_rules.h) is unchanged on a camera that did not say its port and
// refused on any other: 0 cannot be sent. The mode is compared
// with the radio buttons' reading, since that is what a request writes; on
// a camera that did not say its mode it is sent with the other changes but
// is no change by itself.
std::vector<Step> MatchPlan(const Plan& plan, const std::vector<FoundCamera>& cameras,
                            std::vector<PlanProblem>& siteConflicts, const TextReading& reading = {},
                            const SiteFacts& site = {});

// The warning for a row that gives no gateway but moves its camera (a new
// address or mask) to a subnet its present gateway is outside of; "" else.
// The camera still works on its own segment, so it is said, not refused.
std::string LostGatewayWarning(const PlanRow& row, const DeviceRecord& record);

// Before a resend, against the latest scan: why the request would now reach
// more than the camera it was matched to (its MAC answers from several
// addresses, or no longer on the interface `matchedAdapter`); "" when it is
// still that one camera, heard at its one address through one adapter or
// more, or when the MAC did not answer.
std::string ResendRefusal(const MacAddress& mac, const std::vector<FoundCamera>& seenNow, uint32_t matchedAdapter);

}  // namespace lumora::provisioning
