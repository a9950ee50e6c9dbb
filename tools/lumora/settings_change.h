// `lumora set` and `lumora open` without the network: checking the values an
// operator typed, turning them into the panel the dialog would hold when it
// sends the same change, checking that a camera now shows them, and the
// camera's page address.
#pragma once

#include <optional>
#include <string>

#include "protocol/configuration_request.h"
#include "protocol/device_record.h"

namespace lumora::cli {

// The values given on the command line, as typed; an absent one is left as
// the camera has it.
struct SettingsChange {
  std::optional<std::string> name, ip, mask, gateway, httpPort, audioPort;
  std::optional<std::string> mode;  // "static", "dhcp" or "pppoe"
  std::optional<std::string> pppoeAccount, pppoePassword, newMac;
};

// A 12-digit hexadecimal MAC in upper case, or nothing.
std::optional<std::string> NormalizeMac(const std::string& text);

// Checks every given value; returns "" when all are good, else one message
// naming the option at fault ("--ip: ..."). `newMac` is normalised.
std::string CheckChange(SettingsChange& change);

// Decimal 1..65535, digits only, no leading zero.
bool IsPort(const std::string& text);

// The details panel as it shows `record` (texts through FieldText, ports as
// "%d", the caption and the new-MAC edit as the MAC text, the radio button
// the panel checks), then the operator's edits from `change`.
PanelSnapshot PanelFor(const DeviceRecord& record, const SettingsChange& change);

// "" when `record` shows every value of `change`, else the first that
// differs ("ip is 10.77.0.5, not 10.77.0.9"). The mode is read as the radio
// buttons read it, since that is how the request writes it.
std::string Mismatch(const DeviceRecord& record, const SettingsChange& change);

// "http://IP/index.html" for port 80, else "http://IP:PORT/index.html".
std::string PageAddress(const DeviceRecord& record);

}  // namespace lumora::cli
