// Matching plan rows to cameras by MAC, the changes each row asks for, the
// request that carries them, and the conflicts of the plan with the site.
#include "provisioning/match.h"

#include <algorithm>
#include <map>

#include "protocol/ipv4_subnet.h"
#include "protocol/configuration_request.h"
#include "protocol/decimal_text.h"
#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "protocol/mac_text.h"

namespace lumora::provisioning {
namespace {

// The mode as the request would leave it untouched: the radio buttons'
// reading, or "" when the reply did not carry the flags.
std::string CameraMode(const FoundCamera& camera) {
  return camera.carriesIpAssign ? ModeName(CheckedMode(camera.record.ipAssign)) : "";
}

// Types the row's values over the panel as it shows the camera and lists
// what differs, by the same comparison ComposeRequestFor makes.
std::vector<SettingChange> TypeOver(const PlanRow& row, const FoundCamera& camera, const TextReading& reading,
                                    PanelSnapshot& panel) {
  std::vector<SettingChange> changes;
  for (std::size_t s = 0; s < kSettingCount; ++s) {
    if (!row.values[s]) continue;
    const Setting& setting = kSettings[s];
    const std::string& value = *row.values[s];
    std::string shown;
    bool differs = false;
    switch (setting.kind) {
      case SettingKind::kMac:
      case SettingKind::kVersion: continue;
      case SettingKind::kText:
        shown = setting.shown(camera.record);
        differs = !SameText(shown, value, reading);
        if (differs) panel.*setting.panel = value;
        break;
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
        shown = CameraMode(camera);
        differs = shown != value;
        panel.pppoeChecked = value == "pppoe";
        panel.dhcpChecked = value == "dhcp";
        break;
    }
    if (differs) changes.push_back({s, shown, value});
  }
  return changes;
}

// A port changed to 0, which a scan shows for a camera that did not say its
// port and no camera can be given.
const SettingChange* ZeroPort(const std::vector<SettingChange>& changes) {
  for (const SettingChange& change : changes) {
    if (kSettings[change.setting].kind == SettingKind::kPort && LeadingNumber(change.after.c_str()) == 0) return &change;
  }
  return nullptr;
}

uint32_t AddressOf(const char* text) {
  uint32_t ip = 0;
  ReadDottedIpv4(text, ip);
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

// Conflicts of one matched row with the site: where the camera ends up.
void CheckAgainstSite(const PlanRow& row, std::size_t index, const std::vector<FoundCamera>& cameras,
                      const std::map<std::string, std::size_t>& rowOfMac, const Plan& plan,
                      std::vector<PlanProblem>& conflicts) {
  static const std::size_t ipIndex = SettingIndex("ip"), maskIndex = SettingIndex("mask");
  const DeviceRecord& record = cameras[index].record;
  const uint32_t ip = AddressOf(record.ipText), mask = AddressOf(record.maskText);
  const uint32_t finalIp = row.values[ipIndex] ? AddressOf(row.values[ipIndex]->c_str()) : ip;
  const uint32_t finalMask = row.values[maskIndex] ? AddressOf(row.values[maskIndex]->c_str()) : mask;
  if (finalIp != ip) {
    for (const FoundCamera& other : cameras) {
      if (AddressOf(other.record.ipText) != finalIp || std::equal(other.record.mac, other.record.mac + 6, record.mac)) continue;
      // A camera the plan moves away frees its address; one whose row also
      // sets this address is already two rows on one IP.
      auto otherRow = rowOfMac.find(MacToText(other.record.mac).text);
      if (otherRow != rowOfMac.end() && plan.rows[otherRow->second].values[ipIndex]) continue;
      std::string whose = otherRow == rowOfMac.end() ? "which the plan does not move"
                                                     : "which its row on line " +
                                                           std::to_string(plan.rows[otherRow->second].line) +
                                                           " leaves there";
      conflicts.push_back({row.line, "ip", DottedText(finalIp) + " is the address of camera " +
                                               MacToText(other.record.mac).text + ", " + whose});
    }
  }
  // With both cells in the row the reader has checked this already.
  bool bothGiven = row.values[ipIndex] && row.values[maskIndex];
  if (!bothGiven && (finalIp != ip || finalMask != mask)) {
    std::string edge = SubnetEdgeProblem(finalIp, finalMask);
    if (!edge.empty()) {
      if (row.values[ipIndex]) conflicts.push_back({row.line, "ip", edge + ", under the camera's mask"});
      else conflicts.push_back({row.line, "mask", "the camera keeps its address, and " + edge});
    }
  }
}

}  // namespace

std::vector<Step> MatchPlan(const Plan& plan, const std::vector<FoundCamera>& cameras,
                            std::vector<PlanProblem>& siteConflicts, const TextReading& reading) {
  std::map<std::string, std::vector<std::size_t>> entriesOfMac;
  for (std::size_t i = 0; i < cameras.size(); ++i) entriesOfMac[MacToText(cameras[i].record.mac).text].push_back(i);
  std::map<std::string, std::size_t> rowOfMac;
  for (std::size_t r = 0; r < plan.rows.size(); ++r) rowOfMac.emplace(plan.rows[r].mac, r);

  std::vector<Step> steps;
  for (std::size_t r = 0; r < plan.rows.size(); ++r) {
    const PlanRow& row = plan.rows[r];
    Step step;
    step.row = r;
    auto found = entriesOfMac.find(row.mac);
    if (found == entriesOfMac.end()) {
      step.status = StepStatus::kNotFound;
      step.reason = "it did not answer the scan";
      steps.push_back(step);
      continue;
    }
    if (found->second.size() > 1) {
      step.status = StepStatus::kRefused;
      step.reason = "it answers from " + AddressList(cameras, found->second) +
                    "; one request would reach all of them";
      steps.push_back(step);
      continue;
    }
    const std::size_t index = found->second.front();
    const FoundCamera& camera = cameras[index];
    step.camera = index;
    PanelSnapshot panel = ShownPanel(camera.record);
    step.changes = TypeOver(row, camera, reading, panel);
    CheckAgainstSite(row, index, cameras, rowOfMac, plan, siteConflicts);
    if (step.changes.empty()) {
      // Nothing is sent, so a camera that does not say its mode is no risk.
      step.status = StepStatus::kUnchanged;
    } else if (const SettingChange* zero = ZeroPort(step.changes)) {
      step.status = StepStatus::kRefused;
      step.reason = std::string(kSettings[zero->setting].key) + " 0 cannot be sent: give a port from 1 to 65535";
      step.changes.clear();
    } else if (!camera.carriesIpAssign && !row.values[SettingIndex("mode")]) {
      // Without the flags the panel would check PPPoE, and the request would
      // carry that; a person at the dialog would see it, here nobody would.
      step.status = StepStatus::kRefused;
      step.reason = "the camera did not say how it gets its address (its reply has no IP-assignment field); "
                    "give the row a mode: static, dhcp or pppoe";
      step.changes.clear();
    } else {
      step.status = StepStatus::kSend;
      StartRequest(step.frame);
      ComposeRequestFor(panel, camera.record, step.frame);
    }
    steps.push_back(step);
  }
  return steps;
}

}  // namespace lumora::provisioning
