// The eleven settings a camera reports, one row each, in the order scan's CSV
// and JSON columns give them. Every reader and writer of settings (the
// panel, the configuration request, lumora's columns and checks, the site
// plan) loops over this table instead of naming the settings again.
//
// The configuration request carries the changeable ones in this same order
// (name, ip, mask, gateway, http_port, audio_port, pppoe_account,
// pppoe_password), behind the MAC fields and ahead of the mode's flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/configuration_request.h"
#include "protocol/device_record.h"
#include "protocol/packet_format.h"

namespace lumora {

enum class SettingKind {
  kMac,      // 6 bytes; the table's key, shown as 12 hexadecimal digits
  kText,     // a fixed-width text field
  kVersion,  // reported only: never sent with a value
  kAddress,  // dotted IPv4 text, 4 bytes on the wire
  kPort,     // decimal text in a request, a number in a reply
  kMode,     // the IP-assignment flags: "static", "dhcp" or "pppoe"
};

// The settings by name, in kSettings' order: a setting is never looked up
// by its key except where a key is read (a plan's column title).
enum class SettingId {
  kMac,
  kName,
  kVersion,
  kIp,
  kMask,
  kGateway,
  kHttpPort,
  kAudioPort,
  kMode,
  kPppoeAccount,
  kPppoePassword,
};

struct Setting {
  SettingId id;
  const char* key;       // the column: "http_port"
  const char* option;    // lumora set's option: "--http-port"
  SettingKind kind;
  const FieldTemplate* field;          // tag and width on the wire
  std::string PanelSnapshot::*panel;   // the control that shows it; nullptr for version and mode
  bool secret;                         // never printed unless asked for
  // The text the details panel shows for it: FieldText of a text, "%d" of a
  // port, the MAC text, the mode as the radio buttons read it.
  std::string (*shown)(const DeviceRecord& record);
  int32_t DeviceRecord::*number;       // a port's value; nullptr for the rest
  // lumora's table: the column's title and its place, counted from 0; the
  // table puts the version after the mode and leaves out the PPPoE texts
  // (title nullptr).
  const char* tableTitle;
  int tableColumn;
};

inline constexpr std::size_t kSettingCount = 11;
extern const Setting kSettings[kSettingCount];

// The row with this key, or nullptr: for reading a column's title only.
const Setting* FindSetting(const std::string& key);

inline constexpr std::size_t SettingIndex(SettingId id) { return static_cast<std::size_t>(id); }
inline const Setting& SettingOf(SettingId id) { return kSettings[SettingIndex(id)]; }

// The row's place in kSettings, for values kept one per row.
inline std::size_t SettingIndex(const Setting& setting) { return static_cast<std::size_t>(&setting - kSettings); }

// Field width in bytes (16 for a name, 4 for an address).
inline std::size_t SettingWidth(const Setting& setting) { return setting.field->length(); }

// The longest text `shown` gives for the setting: 12 for the MAC, the field
// width for a text, 15 for an address, 5 for a port, 6 for a mode.
std::size_t ShownWidth(const Setting& setting);

}  // namespace lumora
