// The settings table.
#include "protocol/settings.h"

#include <cstdio>

#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "protocol/mac_text.h"

namespace lumora {
namespace {

std::string PortText(int32_t port) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(port));
  return text;
}

}  // namespace

const Setting kSettings[kSettingCount] = {
    {"mac", "--new-mac", SettingKind::kMac, &kMacTemplate, &PanelSnapshot::newMac, false,
     [](const DeviceRecord& r) { return std::string(MacToText(r.mac).text); }},
    {"name", "--name", SettingKind::kText, &kNameTemplate, &PanelSnapshot::name, false,
     [](const DeviceRecord& r) { return FieldText(r.name); }},
    {"version", "", SettingKind::kVersion, &kVersionTemplate, nullptr, false,
     [](const DeviceRecord& r) { return FieldText(r.version); }},
    {"ip", "--ip", SettingKind::kAddress, &kIpTemplate, &PanelSnapshot::ip, false,
     [](const DeviceRecord& r) { return FieldText(r.ipText); }},
    {"mask", "--mask", SettingKind::kAddress, &kMaskTemplate, &PanelSnapshot::mask, false,
     [](const DeviceRecord& r) { return FieldText(r.maskText); }},
    {"gateway", "--gateway", SettingKind::kAddress, &kGatewayTemplate, &PanelSnapshot::gateway, false,
     [](const DeviceRecord& r) { return FieldText(r.gatewayText); }},
    {"http_port", "--http-port", SettingKind::kPort, &kHttpPortTemplate, &PanelSnapshot::httpPort, false,
     [](const DeviceRecord& r) { return PortText(r.httpPort); }},
    {"audio_port", "--audio-port", SettingKind::kPort, &kAudioPortTemplate, &PanelSnapshot::audioPort, false,
     [](const DeviceRecord& r) { return PortText(r.audioPort); }},
    {"mode", "--mode", SettingKind::kMode, &kIpAssignTemplate, nullptr, false,
     [](const DeviceRecord& r) { return std::string(ModeName(CheckedMode(r.ipAssign))); }},
    {"pppoe_account", "--pppoe-account", SettingKind::kText, &kPppoeAccountTemplate, &PanelSnapshot::pppoeAccount,
     false, [](const DeviceRecord& r) { return FieldText(r.pppoeAccount); }},
    {"pppoe_password", "--pppoe-password", SettingKind::kText, &kPppoePasswordTemplate,
     &PanelSnapshot::pppoePassword, true, [](const DeviceRecord& r) { return FieldText(r.pppoePassword); }},
};

const Setting* FindSetting(const std::string& key) {
  for (const Setting& setting : kSettings) {
    if (key == setting.key) return &setting;
  }
  return nullptr;
}

}  // namespace lumora
