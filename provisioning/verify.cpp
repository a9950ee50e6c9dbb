// Verification of a camera against its plan row, by the texts the details
// panel would show for it.
#include "provisioning/verify.h"

#include "protocol/configuration_request.h"
#include "protocol/mac_text.h"

namespace lumora::provisioning {

std::string PlanMismatch(const PlanRow& row, const DeviceRecord& record, const TextReading& reading) {
  for (std::size_t s = 0; s < kSettingCount; ++s) {
    if (!row.values[s]) continue;
    const Setting& setting = kSettings[s];
    if (setting.kind == SettingKind::kMac || setting.kind == SettingKind::kVersion) continue;
    const std::string& wanted = *row.values[s];
    std::string shown = setting.shown(record);
    bool same = setting.kind == SettingKind::kPort   ? LeadingNumber(shown.c_str()) == LeadingNumber(wanted.c_str())
                : setting.kind == SettingKind::kText ? SameText(shown, wanted, reading)
                                                     : shown == wanted;
    if (same) continue;
    if (setting.secret) return std::string(setting.key) + " differs";
    return std::string(setting.key) + " is '" + shown + "', not '" + wanted + "'";
  }
  return "";
}

std::string VerifyRow(const PlanRow& row, const std::vector<FoundCamera>& seenNow, const TextReading& reading) {
  std::string mismatch = "it did not answer the rescan";
  for (const FoundCamera& camera : seenNow) {
    if (row.mac != MacToText(camera.record.mac).text) continue;
    mismatch = PlanMismatch(row, camera.record, reading);
    if (mismatch.empty()) break;
  }
  return mismatch;
}

}  // namespace lumora::provisioning
