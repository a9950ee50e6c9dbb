#include "tools/lumora/settings_change.h"

#include <cctype>
#include <cstdlib>

#include "protocol/decimal_text.h"
#include "protocol/ip_assign.h"
#include "protocol/ipv4.h"

namespace lumora::cli {
namespace {

// "" when `value` is good for the row. A secret is never repeated in a
// message: it would land in logs.
std::string CheckValue(const Setting& setting, const std::string& value) {
  const std::string option = setting.option;
  switch (setting.kind) {
    case SettingKind::kText:
      if (value.size() <= SettingWidth(setting)) return "";
      return option + ": " + (setting.secret ? "the value" : "'" + value + "'") +
             " is longer than the camera keeps (" + std::to_string(SettingWidth(setting)) + " bytes)";
    case SettingKind::kAddress:
      if (IsDecimalIpv4(value)) return "";
      return option + ": '" + value +
             "' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10";
    case SettingKind::kPort:
      if (IsPort(value)) return "";
      return option + ": '" + value + "' is not a decimal port from 1 to 65535 without leading zeros";
    case SettingKind::kMode: {
      IpAssignMode mode;
      if (ModeFromName(value, mode)) return "";
      return option + ": '" + value + "' is none of static, dhcp, pppoe";
    }
    case SettingKind::kMac:
      if (NormalizeMac(value)) return "";
      return option + ": '" + value + "' is not 12 hexadecimal digits";
    case SettingKind::kVersion: break;
  }
  return "";
}

// The pass that checks the row: the values with a width, then the mode, then
// the new MAC. Of several faults the first in that order is named.
int CheckPass(SettingKind kind) {
  if (kind == SettingKind::kMode) return 1;
  return kind == SettingKind::kMac ? 2 : 0;
}

}  // namespace

std::optional<std::string>& SettingsChange::operator[](const std::string& key) {
  const Setting* setting = FindSetting(key);
  if (setting == nullptr) std::abort();
  return (*this)[*setting];
}

const std::optional<std::string>& SettingsChange::operator[](const std::string& key) const {
  return const_cast<SettingsChange&>(*this)[key];
}

std::optional<std::string> NormalizeMac(const std::string& text) {
  if (text.size() != 12) return std::nullopt;
  std::string out = text;
  for (char& c : out) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

bool IsPort(const std::string& text) {
  uint64_t value = 0;
  return ReadDecimal(text, 1, 65535, value);
}

std::string CheckChange(SettingsChange& change) {
  for (int pass = 0; pass < 3; ++pass) {
    for (const Setting& setting : kSettings) {
      if (CheckPass(setting.kind) != pass || !change[setting]) continue;
      std::string message = CheckValue(setting, *change[setting]);
      if (!message.empty()) return message;
    }
  }
  std::optional<std::string>& newMac = change["mac"];
  if (newMac) newMac = NormalizeMac(*newMac);
  return "";
}

provisioning::PlanRow SetRow(const std::string& mac, const SettingsChange& change) {
  provisioning::PlanRow row;
  row.mac = mac;
  for (std::size_t s = 0; s < kSettingCount; ++s) row.values[s] = change.values[s];
  return row;
}

}  // namespace lumora::cli
