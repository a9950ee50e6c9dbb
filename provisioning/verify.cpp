// Verification of a camera against its plan row, by the texts the details
// panel would show for it.
#include "provisioning/verify.h"

#include "protocol/configuration_request.h"

namespace lumora::provisioning {

std::string PlanMismatch(const PlanRow& row, const FoundCamera& camera, const TextReading& reading) {
  for (std::size_t s = 0; s < kSettingCount; ++s) {
    if (!row.values[s]) continue;
    const Setting& setting = kSettings[s];
    if (setting.kind == SettingKind::kMac || setting.kind == SettingKind::kVersion) continue;
    if (setting.kind == SettingKind::kMode && !camera.carriesIpAssign) continue;
    const std::string& wanted = *row.values[s];
    std::string shown = setting.shown(camera.record);
    bool same = setting.kind == SettingKind::kPort   ? LeadingNumber(shown.c_str()) == LeadingNumber(wanted.c_str())
                : setting.kind == SettingKind::kText ? SameText(shown, wanted, reading)
                                                     : shown == wanted;
    if (same) continue;
    if (setting.secret) return std::string(setting.key) + " differs";
    return std::string(setting.key) + " is '" + shown + "', not '" + wanted + "'";
  }
  return "";
}

}  // namespace lumora::provisioning
