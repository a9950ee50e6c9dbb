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
    {SettingId::kMac, "mac", "--new-mac", SettingKind::kMac, &kMacTemplate, &PanelSnapshot::newMac, false,
     [](const DeviceRecord& r) { return std::string(MacToText(r.mac).text); }, nullptr, "MAC", 0},
    {SettingId::kName, "name", "--name", SettingKind::kText, &kNameTemplate, &PanelSnapshot::name, false,
     [](const DeviceRecord& r) { return FieldText(r.name); }, nullptr, "NAME", 1},
    {SettingId::kVersion, "version", "", SettingKind::kVersion, &kVersionTemplate, nullptr, false,
     [](const DeviceRecord& r) { return FieldText(r.version); }, nullptr, "VERSION", 8},
    {SettingId::kIp, "ip", "--ip", SettingKind::kAddress, &kIpTemplate, &PanelSnapshot::ip, false,
     [](const DeviceRecord& r) { return FieldText(r.ipText); }, nullptr, "IP", 2},
    {SettingId::kMask, "mask", "--mask", SettingKind::kAddress, &kMaskTemplate, &PanelSnapshot::mask, false,
     [](const DeviceRecord& r) { return FieldText(r.maskText); }, nullptr, "MASK", 3},
    {SettingId::kGateway, "gateway", "--gateway", SettingKind::kAddress, &kGatewayTemplate, &PanelSnapshot::gateway, false,
     [](const DeviceRecord& r) { return FieldText(r.gatewayText); }, nullptr, "GATEWAY", 4},
    {SettingId::kHttpPort, "http_port", "--http-port", SettingKind::kPort, &kHttpPortTemplate, &PanelSnapshot::httpPort, false,
     [](const DeviceRecord& r) { return PortText(r.httpPort); }, &DeviceRecord::httpPort, "HTTP", 5},
    {SettingId::kAudioPort, "audio_port", "--audio-port", SettingKind::kPort, &kAudioPortTemplate, &PanelSnapshot::audioPort, false,
     [](const DeviceRecord& r) { return PortText(r.audioPort); }, &DeviceRecord::audioPort, "AUDIO", 6},
    {SettingId::kMode, "mode", "--mode", SettingKind::kMode, &kIpAssignTemplate, nullptr, false,
     [](const DeviceRecord& r) { return std::string(ModeName(CheckedMode(r.ipAssign))); }, nullptr, "MODE", 7},
    {SettingId::kPppoeAccount, "pppoe_account", "--pppoe-account", SettingKind::kText, &kPppoeAccountTemplate, &PanelSnapshot::pppoeAccount,
     false, [](const DeviceRecord& r) { return FieldText(r.pppoeAccount); }, nullptr, nullptr, -1},
    {SettingId::kPppoePassword, "pppoe_password", "--pppoe-password", SettingKind::kText, &kPppoePasswordTemplate,
     &PanelSnapshot::pppoePassword, true, [](const DeviceRecord& r) { return FieldText(r.pppoePassword); }, nullptr, nullptr, -1},
};

std::size_t ShownWidth(const Setting& setting) {
  switch (setting.kind) {
    case SettingKind::kMac: return 12;
    case SettingKind::kAddress: return 15;  // 255.255.255.255
    case SettingKind::kPort: return 5;      // 65535
    case SettingKind::kMode: return 6;      // "static"
    case SettingKind::kText:
    case SettingKind::kVersion: break;
  }
  return SettingWidth(setting);
}

const Setting* FindSetting(const std::string& key) {
  for (const Setting& setting : kSettings) {
    if (key == setting.key) return &setting;
  }
  return nullptr;
}

}  // namespace lumora
