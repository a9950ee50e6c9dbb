// `lumora set` without the network: checking the values an operator typed,
// turning them into the request the dialog would send for the same change,
// and checking that a camera now shows them.
#pragma once

#include <optional>
#include <string>

#include "protocol/configuration_request.h"
#include "protocol/device_record.h"
#include "protocol/packet_format.h"
#include "protocol/settings.h"

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

// The details panel as it shows `record` (ShownPanel), then the operator's
// edits from `change`.
PanelSnapshot PanelFor(const DeviceRecord& record, const SettingsChange& change);

// The whole configuration request for `change`: the magic, then the fields
// the dialog composes from PanelFor's panel.
RequestFrame ChangeRequest(const DeviceRecord& record, const SettingsChange& change);

// "" when `record` shows every value of `change`, else the first that
// differs ("ip is 10.77.0.5, not 10.77.0.9"). The mode is read as the radio
// buttons read it, since that is how the request writes it.
std::string Mismatch(const DeviceRecord& record, const SettingsChange& change);

}  // namespace lumora::cli
