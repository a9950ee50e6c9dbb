// Value checks, the panel a change is composed from, and its verification.
#include "tools/lumora/settings_change.h"

#include <cctype>

#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "protocol/mac_text.h"
#include "protocol/web_address.h"
#include "tools/lumora/camera_list.h"
#include "tools/lumora/number_text.h"

namespace lumora::cli {
namespace {

// A secret is never repeated in a message: it would land in logs.
std::string CheckText(const char* option, const std::optional<std::string>& value, std::size_t width,
                      bool secret = false) {
  if (value && value->size() > width) {
    std::string shown = secret ? "the value" : "'" + *value + "'";
    return std::string(option) + ": " + shown + " is longer than the camera keeps (" + std::to_string(width) +
           " bytes)";
  }
  return "";
}

std::string CheckAddress(const char* option, const std::optional<std::string>& value) {
  if (value && !IsDottedIpv4(*value)) {
    return std::string(option) + ": '" + *value + "' is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10";
  }
  return "";
}

std::string CheckPort(const char* option, const std::optional<std::string>& value) {
  if (value && !IsPort(*value)) return std::string(option) + ": '" + *value + "' is not a decimal port from 1 to 65535 without leading zeros";
  return "";
}

std::string Differs(const char* what, const std::string& shown, const std::string& wanted) {
  if (shown == wanted) return "";
  return std::string(what) + " is '" + shown + "', not '" + wanted + "'";
}

}  // namespace

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
  long long value = 0;
  return ReadWholeNumber(text, 1, 65535, value);
}

std::string CheckChange(SettingsChange& change) {
  const std::string checks[] = {
      CheckText("--name", change.name, sizeof(DeviceRecord::name)),
      CheckAddress("--ip", change.ip),
      CheckAddress("--mask", change.mask),
      CheckAddress("--gateway", change.gateway),
      CheckPort("--http-port", change.httpPort),
      CheckPort("--audio-port", change.audioPort),
      CheckText("--pppoe-account", change.pppoeAccount, sizeof(DeviceRecord::pppoeAccount)),
      CheckText("--pppoe-password", change.pppoePassword, sizeof(DeviceRecord::pppoePassword), true),
  };
  for (const std::string& message : checks) {
    if (!message.empty()) return message;
  }
  if (change.mode && *change.mode != "static" && *change.mode != "dhcp" && *change.mode != "pppoe") {
    return "--mode: '" + *change.mode + "' is none of static, dhcp, pppoe";
  }
  if (change.newMac) {
    std::optional<std::string> mac = NormalizeMac(*change.newMac);
    if (!mac) return "--new-mac: '" + *change.newMac + "' is not 12 hexadecimal digits";
    change.newMac = mac;
  }
  return "";
}

PanelSnapshot PanelFor(const DeviceRecord& record, const SettingsChange& change) {
  PanelSnapshot panel = ShownPanel(record);
  if (change.name) panel.name = *change.name;
  if (change.ip) panel.ip = *change.ip;
  if (change.mask) panel.mask = *change.mask;
  if (change.gateway) panel.gateway = *change.gateway;
  if (change.httpPort) panel.httpPort = *change.httpPort;
  if (change.audioPort) panel.audioPort = *change.audioPort;
  if (change.pppoeAccount) panel.pppoeAccount = *change.pppoeAccount;
  if (change.pppoePassword) panel.pppoePassword = *change.pppoePassword;
  if (change.newMac) panel.newMac = *change.newMac;
  if (change.mode) {
    panel.pppoeChecked = *change.mode == "pppoe";
    panel.dhcpChecked = *change.mode == "dhcp";
  }
  return panel;
}

std::string Mismatch(const DeviceRecord& record, const SettingsChange& change) {
  std::string checks[] = {
      change.newMac ? Differs("mac", MacToText(record.mac).text, *change.newMac) : "",
      change.name ? Differs("name", FieldText(record.name), *change.name) : "",
      change.ip ? Differs("ip", FieldText(record.ipText), *change.ip) : "",
      change.mask ? Differs("mask", FieldText(record.maskText), *change.mask) : "",
      change.gateway ? Differs("gateway", FieldText(record.gatewayText), *change.gateway) : "",
      change.httpPort ? Differs("http_port", std::to_string(record.httpPort), std::to_string(std::stoi(*change.httpPort)))
                      : "",
      change.audioPort
          ? Differs("audio_port", std::to_string(record.audioPort), std::to_string(std::stoi(*change.audioPort)))
          : "",
      change.mode ? Differs("mode", ModeName(CheckedMode(record.ipAssign)), *change.mode) : "",
      change.pppoeAccount ? Differs("pppoe_account", FieldText(record.pppoeAccount), *change.pppoeAccount) : "",
      // The password is never echoed.
      change.pppoePassword && FieldText(record.pppoePassword) != *change.pppoePassword ? "pppoe_password differs"
                                                                                       : "",
  };
  for (const std::string& message : checks) {
    if (!message.empty()) return message;
  }
  return "";
}

std::string PageAddress(const DeviceRecord& record) {
  return DeviceWebAddress(FieldText(record.ipText).c_str(), record.httpPort);
}

}  // namespace lumora::cli
