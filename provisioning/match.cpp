// Matching plan rows to cameras by MAC, the changes each row asks for, the
// request that carries them, and the conflicts of the plan with the site.
#include "provisioning/match.h"

#include <algorithm>
#include <unordered_map>
#include <optional>

#include "protocol/ipv4.h"
#include "protocol/configuration_request.h"
#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "provisioning/value_rules.h"

namespace lumora::provisioning {
namespace {

// Types the row's values over the panel as it shows the camera and lists
// what differs, by the same comparison ComposeRequestFor makes. A camera
// that did not say its mode cannot be compared on it: the row's mode goes
// into a request that changes anything else, but is no change by itself,
// so the plan that set such a camera up reads as unchanged afterwards.
std::vector<SettingChange> TypeOver(const PlanRow& row, const FoundCamera& camera, const TextReading& reading,
                                    PanelSnapshot& panel) {
  std::vector<SettingChange> changes;
  std::optional<SettingChange> unknownMode;
  for (std::size_t s = 0; s < kSettingCount; ++s) {
    if (!row.values[s]) continue;
    const Setting& setting = kSettings[s];
    const std::string& value = *row.values[s];
    std::string shown;
    bool differs = false;
    switch (setting.kind) {
      case SettingKind::kVersion: continue;
      case SettingKind::kText:
        shown = setting.shown(camera.record);
        differs = !SameText(shown, value, reading);
        if (differs) panel.*setting.panel = value;
        break;
      case SettingKind::kMac:  // a new MAC, which `lumora set --new-mac` gives
      case SettingKind::kAddress:
        shown = setting.shown(camera.record);
        differs = shown != value;
        panel.*setting.panel = value;
        break;
      case SettingKind::kPort:
        shown = setting.shown(camera.record);
        differs = LeadingNumber(shown.c_str()) != LeadingNumber(value.c_str());
        panel.*setting.panel = value;
        break;
      case SettingKind::kMode:
        panel.pppoeChecked = value == "pppoe";
        panel.dhcpChecked = value == "dhcp";
        if (!camera.carriesIpAssign) {
          unknownMode = SettingChange{s, "", value};
          continue;
        }
        shown = setting.shown(camera.record);
        differs = shown != value;
        break;
    }
    if (differs) changes.push_back({s, shown, value});
  }
  if (unknownMode && !changes.empty()) {
    auto after = std::find_if(changes.begin(), changes.end(),
                              [&](const SettingChange& c) { return c.setting > unknownMode->setting; });
    changes.insert(after, *unknownMode);
  }
  return changes;
}

// A port changed to 0, which no camera can be given.
const SettingChange* ZeroPort(const std::vector<SettingChange>& changes) {
  for (const SettingChange& change : changes) {
    if (kSettings[change.setting].kind == SettingKind::kPort && LeadingNumber(change.after.c_str()) == 0) return &change;
  }
  return nullptr;
}

uint32_t AddressOf(const char* text) {
  uint32_t ip = 0;
  ReadDecimalIpv4(text, ip);
  return ip;
}

std::string AddressList(const std::vector<FoundCamera>& cameras, const std::vector<std::size_t>& entries) {
  std::string out;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i != 0) out += i + 1 == entries.size() ? " and " : ", ";
    out += FieldText(cameras[entries[i]].record.ipText);
  }
  return out;
}

using EntriesByMac = std::unordered_map<MacAddress, std::vector<std::size_t>, MacAddressHash>;

EntriesByMac EntriesOfMac(const std::vector<FoundCamera>& cameras) {
  EntriesByMac entries;
  for (std::size_t i = 0; i < cameras.size(); ++i) entries[MacOf(cameras[i].record.mac)].push_back(i);
  return entries;
}

bool Changes(const Step& step, std::size_t setting) {
  return std::any_of(step.changes.begin(), step.changes.end(),
                     [setting](const SettingChange& c) { return c.setting == setting; });
}

// Why one request cannot go to the camera of `entries` (the indexes of the
// cameras with one MAC): it answers from several addresses, and a request
// named by the MAC would reach all of them. "" for a single entry.
std::string SharedMacReason(const std::vector<FoundCamera>& cameras, const std::vector<std::size_t>& entries) {
  if (entries.size() > 1) {
    return "it answers from " + AddressList(cameras, entries) + "; one request would reach all of them";
  }
  return "";
}

// The step for one row, before the site is looked at.
Step StepFor(const Plan& plan, std::size_t r, const std::vector<FoundCamera>& cameras,
             const EntriesByMac& entriesOfMac, const TextReading& reading) {
  const PlanRow& row = plan.rows[r];
  Step step;
  step.row = r;
  auto found = entriesOfMac.find(row.mac);
  if (found == entriesOfMac.end()) {
    step.status = StepStatus::kNotFound;
    step.reason = "it did not answer the scan";
    return step;
  }
  step.reason = SharedMacReason(cameras, found->second);
  if (!step.reason.empty()) {
    step.status = StepStatus::kRefused;
    return step;
  }
  const std::size_t index = found->second.front();
  const FoundCamera& camera = cameras[index];
  step.camera = index;
  PanelSnapshot panel = ShownPanel(camera.record);
  step.changes = TypeOver(row, camera, reading, panel);
  if (step.changes.empty()) {
    // Nothing is sent, so a camera that does not say its mode is no risk.
    step.status = StepStatus::kUnchanged;
    if (!camera.carriesIpAssign && row[SettingId::kMode]) {
      step.reason = "the camera does not say its mode, so a mode alone is not sent";
    }
  } else if (const SettingChange* zero = ZeroPort(step.changes)) {
    step.status = StepStatus::kRefused;
    step.reason = std::string(kSettings[zero->setting].key) + " 0 cannot be sent: give a port from 1 to 65535";
    step.changes.clear();
  } else if (!camera.carriesIpAssign && !row[SettingId::kMode]) {
    // Without the flags the panel would check PPPoE, and the request would
    // carry that; a person at the dialog would see it, here nobody would.
    step.status = StepStatus::kRefused;
    step.reason = "the camera did not say how it gets its address (its reply has no IP-assignment field); "
                  "give it a mode (static, dhcp or pppoe)";
    step.changes.clear();
  } else {
    step.status = StepStatus::kSend;
    StartRequest(step.frame);
    ComposeRequestFor(panel, camera.record, step.frame);
  }
  return step;
}

// A conflict of a row's setting, named by its column.
PlanProblem Conflict(int line, SettingId setting, std::string message) {
  return {line, SettingOf(setting).key, std::move(message), setting};
}

// Where every camera ends up once the requests to send have been kept: only
// a request moves a camera, so a refused or unchanged row holds its address.
struct SiteAfter {
  std::vector<uint32_t> ip;                   // per camera
  std::vector<std::optional<std::size_t>> step;  // the sent step that moves it
};

SiteAfter PlaceCameras(const Plan& plan, const std::vector<Step>& steps, const std::vector<FoundCamera>& cameras) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp);
  SiteAfter after;
  for (const FoundCamera& camera : cameras) after.ip.push_back(AddressOf(camera.record.ipText));
  after.step.resize(cameras.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    if (step.status != StepStatus::kSend || !Changes(step, ipIndex)) continue;
    after.ip[*step.camera] = AddressOf(plan.rows[step.row].values[ipIndex]->c_str());
    after.step[*step.camera] = i;
  }
  return after;
}

uint32_t FinalMask(const PlanRow& row, const DeviceRecord& record) {
  const auto& mask = row[SettingId::kMask];
  return mask ? AddressOf(mask->c_str()) : AddressOf(record.maskText);
}

// The line of the first row that gives `ip` as its gateway; 0 for none.
int GatewayLine(const Plan& plan, uint32_t ip) {
  for (const PlanRow& row : plan.rows) {
    const auto& gateway = row[SettingId::kGateway];
    if (ip != 0 && gateway && AddressOf(gateway->c_str()) == ip) return row.line;
  }
  return 0;
}

// A new address onto whatever is not a camera of the plan: the PC, a
// gateway, a host that answered there.
void CheckForeignHosts(const Plan& plan, const PlanRow& row, uint32_t finalIp, const std::vector<FoundCamera>& cameras,
                       const SiteFacts& site, std::vector<PlanProblem>& conflicts) {
  const std::string ip = Ipv4Text(finalIp);
  if (std::find(site.pcAddresses.begin(), site.pcAddresses.end(), finalIp) != site.pcAddresses.end()) {
    conflicts.push_back(Conflict(row.line, SettingId::kIp, ip + " is the address of an adapter of this PC"));
  }
  if (std::find(site.pcGateways.begin(), site.pcGateways.end(), finalIp) != site.pcGateways.end()) {
    conflicts.push_back(Conflict(row.line, SettingId::kIp, ip + " is a default gateway of this PC"));
  }
  if (int line = GatewayLine(plan, finalIp)) {
    conflicts.push_back(Conflict(row.line, SettingId::kIp, ip + " is the gateway the row on line " + std::to_string(line) + " gives"));
  }
  if (const AddressInUse* holder = ForeignHolder(site, cameras, finalIp)) {
    conflicts.push_back(Conflict(row.line, SettingId::kIp, ip + " is in use by " + MacDigits(holder->mac) + ", which is no listed camera"));
  }
}

// The gateway a row gives must be reachable from where its camera ends up.
void CheckGateway(const PlanRow& row, uint32_t finalIp, uint32_t finalMask, std::vector<PlanProblem>& conflicts) {
  const auto& cell = row[SettingId::kGateway];
  if (!cell) return;
  const uint32_t gateway = AddressOf(cell->c_str());
  if (gateway == 0) return;  // none
  if (!InSubnet(gateway, finalIp, finalMask)) {
    conflicts.push_back(Conflict(row.line, SettingId::kGateway, *cell + " is outside the camera's subnet " + SubnetText(finalIp, finalMask)));
    return;
  }
  std::string edge = SubnetEdgeProblem(gateway, finalMask);
  if (!edge.empty()) conflicts.push_back(Conflict(row.line, SettingId::kGateway, edge));
}

// Conflicts of one step that is sent with the site: where its camera ends up.
void CheckAgainstSite(const Plan& plan, const std::vector<Step>& steps, std::size_t index,
                      const std::vector<FoundCamera>& cameras, const SiteAfter& after,
                      const SiteFacts& site, std::vector<PlanProblem>& conflicts) {
  constexpr std::size_t ipIndex = SettingIndex(SettingId::kIp), maskIndex = SettingIndex(SettingId::kMask),
                        gatewayIndex = SettingIndex(SettingId::kGateway);
  const Step& step = steps[index];
  const PlanRow& row = plan.rows[step.row];
  const std::size_t camera = *step.camera;
  const DeviceRecord& record = cameras[camera].record;
  const uint32_t finalIp = after.ip[camera];
  const uint32_t finalMask = FinalMask(row, record);
  if (Changes(step, ipIndex)) {
    CheckForeignHosts(plan, row, finalIp, cameras, site, conflicts);
    for (std::size_t other = 0; other < cameras.size(); ++other) {
      if (other == camera || after.ip[other] != finalIp) continue;
      const MacAddress otherMac = MacOf(cameras[other].record.mac);
      if (after.step[other]) {
        // Two rows onto one new address: said once, at the later row.
        if (*after.step[other] < index) {
          conflicts.push_back(Conflict(row.line, SettingId::kIp, Ipv4Text(finalIp) + " is also planned for camera " + MacDigits(otherMac) +
                                                   " on line " + std::to_string(plan.rows[steps[*after.step[other]].row].line)));
        }
        continue;
      }
      int otherLine = 0;
      for (const Step& s : steps) {
        if (plan.rows[s.row].mac == otherMac) otherLine = plan.rows[s.row].line;
      }
      std::string whose = otherLine == 0 ? "which the plan does not move"
                                         : "which its row on line " + std::to_string(otherLine) + " leaves there";
      conflicts.push_back(Conflict(row.line, SettingId::kIp, Ipv4Text(finalIp) + " is the address of camera " + MacDigits(otherMac) + ", " + whose));
    }
  }
  if (Changes(step, ipIndex) || Changes(step, maskIndex)) {
    std::string edge = SubnetEdgeProblem(finalIp, finalMask);
    if (!edge.empty()) {
      if (Changes(step, ipIndex)) conflicts.push_back(Conflict(row.line, SettingId::kIp, edge));
      else conflicts.push_back(Conflict(row.line, SettingId::kMask, "the camera keeps its address, and " + edge));
    }
  }
  if (Changes(step, ipIndex) || Changes(step, maskIndex) || Changes(step, gatewayIndex)) {
    CheckGateway(row, finalIp, finalMask, conflicts);
  }
}

// The values a sent step carries, by the rules of a value that is sent: a
// value only the plan holds (one the camera has already is not sent) is
// where a name too long for its field or an unreachable address shows.
void CheckSentValues(const Plan& plan, const Step& step, std::vector<PlanProblem>& conflicts) {
  for (const SettingChange& change : step.changes) {
    const Setting& setting = kSettings[change.setting];
    std::string problem = SentValueProblem(setting.id, change.after);
    if (!problem.empty()) conflicts.push_back(Conflict(plan.rows[step.row].line, setting.id, problem));
  }
}

}  // namespace

std::vector<Step> MatchPlan(const Plan& plan, const std::vector<FoundCamera>& cameras,
                            std::vector<PlanProblem>& siteConflicts, const TextReading& reading,
                            const SiteFacts& site) {
  const auto entriesOfMac = EntriesOfMac(cameras);
  std::vector<Step> steps;
  for (std::size_t r = 0; r < plan.rows.size(); ++r) steps.push_back(StepFor(plan, r, cameras, entriesOfMac, reading));
  const SiteAfter after = PlaceCameras(plan, steps, cameras);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].status != StepStatus::kSend) continue;
    CheckSentValues(plan, steps[i], siteConflicts);
    CheckAgainstSite(plan, steps, i, cameras, after, site, siteConflicts);
    steps[i].warning = LostGatewayWarning(plan.rows[steps[i].row], cameras[*steps[i].camera].record);
  }
  return steps;
}

std::string LostGatewayWarning(const PlanRow& row, const DeviceRecord& record) {
  if (row[SettingId::kGateway]) return "";
  const uint32_t ip = row[SettingId::kIp] ? AddressOf(row[SettingId::kIp]->c_str()) : AddressOf(record.ipText);
  const uint32_t mask = FinalMask(row, record);
  const bool moves = ip != AddressOf(record.ipText) || mask != AddressOf(record.maskText);
  const uint32_t gateway = AddressOf(record.gatewayText);
  if (!moves || gateway == 0 || InSubnet(gateway, ip, mask)) return "";
  return "its gateway " + Ipv4Text(gateway) + " is outside its new subnet " + SubnetText(ip, mask) +
         "; give a gateway to reach beyond it";
}

std::string ResendRefusal(const MacAddress& mac, const std::vector<FoundCamera>& seenNow, uint32_t matchedAdapter) {
  std::vector<std::size_t> entries;  // one per address
  bool onMatched = false;
  for (std::size_t i = 0; i < seenNow.size(); ++i) {
    if (MacOf(seenNow[i].record.mac) != mac) continue;
    onMatched = onMatched || seenNow[i].arrival.index == matchedAdapter;
    const uint32_t ip = RecordIp(seenNow[i].record);
    if (std::none_of(entries.begin(), entries.end(), [&](std::size_t e) { return RecordIp(seenNow[e].record) == ip; })) {
      entries.push_back(i);
    }
  }
  std::string shared = SharedMacReason(seenNow, entries);
  if (!shared.empty() || entries.empty()) return shared;
  if (!onMatched) {
    return "it now answers on " + seenNow[entries.front()].arrival.name + ", not on the interface it was matched on";
  }
  return "";
}

}  // namespace lumora::provisioning
