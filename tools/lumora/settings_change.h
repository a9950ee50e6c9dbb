// `lumora set` without the network: checking the values an operator typed
// and turning them into the one plan row that set runs, matched, sent and
// verified as apply runs every row.
#pragma once

#include <optional>
#include <string>

#include "protocol/settings.h"
#include "provisioning/plan.h"

namespace lumora::cli {

// The values given on the command line, as typed, one per row of kSettings
// (the "mac" row's is --new-mac; the version is never given); an absent one
// is left as the camera has it.
struct SettingsChange {
  std::optional<std::string> values[kSettingCount];

  std::optional<std::string>& operator[](const Setting& setting) { return values[SettingIndex(setting)]; }
  const std::optional<std::string>& operator[](const Setting& setting) const {
    return values[SettingIndex(setting)];
  }
  // By the row's key ("ip"); a key no row has is a slip in the caller.
  std::optional<std::string>& operator[](const std::string& key);
  const std::optional<std::string>& operator[](const std::string& key) const;
};

// A 12-digit hexadecimal MAC in upper case, or nothing.
std::optional<std::string> NormalizeMac(const std::string& text);

// Checks every given value; returns "" when all are good, else one message
// naming the option at fault ("--ip: ..."). The new MAC is normalised.
std::string CheckChange(SettingsChange& change);

// Decimal 1..65535, digits only, no leading zero.
bool IsPort(const std::string& text);

// The one plan row `set` runs: the camera `mac` (12 upper-case digits)
// with the given values, the new MAC among them.
provisioning::PlanRow SetRow(const std::string& mac, const SettingsChange& change);

}  // namespace lumora::cli
