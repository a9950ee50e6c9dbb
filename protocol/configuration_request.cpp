#include "protocol/configuration_request.h"

#include <climits>
#include <cstring>

#include "protocol/decode_reply.h"
#include "protocol/field_text.h"
#include "protocol/ip_assign.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "protocol/settings.h"

namespace lumora {
namespace {

// A control's text as the 256-byte zeroed buffer it is read into: a value
// taken from it is the text cut to the field's length or zero-padded to it.
struct TextBuffer {
  char bytes[kRequestSize];

  explicit TextBuffer(const std::string& text) {
    std::memset(bytes, 0, sizeof bytes);
    std::memcpy(bytes, text.data(), text.size() < sizeof bytes ? text.size() : sizeof bytes - 1);
  }
};

int FindTarget(const std::string& caption, const DeviceTable& table) {
  TextBuffer temp(caption);
  for (int i = 0; i < kTableSlots; ++i) {
    if (!TextsDiffer(MacToText(table.slots[i].mac).text, temp.bytes)) return i;
  }
  return kNoSlot;
}

void AppendMac(RequestFrame& frame, const char* text) {
  MacBytes mac = TextToMac(text);
  AppendField(frame, kMacTemplate, mac.bytes);
}

// A text setting goes out when it differs from the stored one, bounded at
// the field's width exactly as the panel shows it.
void AppendTextIfChanged(RequestFrame& frame, const FieldTemplate& tmpl, const std::string& shown,
                         const std::string& stored) {
  TextBuffer temp(shown);
  if (TextsDiffer(temp.bytes, stored.c_str())) AppendField(frame, tmpl, temp.bytes);
}

void AppendAddressIfChanged(RequestFrame& frame, const FieldTemplate& tmpl, const std::string& shown,
                            const std::string& stored) {
  TextBuffer temp(shown);
  if (!TextsDiffer(temp.bytes, stored.c_str())) return;
  Ipv4Bytes ip = ReadInetAddrIpv4(temp.bytes);
  AppendField(frame, tmpl, ip.data());
}

// A port goes out as the text typed, when its number is not the stored one.
// `stored` is the record's port as "%d" writes it.
void AppendPortIfChanged(RequestFrame& frame, const FieldTemplate& tmpl, const std::string& shown,
                         const std::string& stored) {
  TextBuffer temp(shown);
  if (LeadingNumber(temp.bytes) != LeadingNumber(stored.c_str())) AppendField(frame, tmpl, temp.bytes);
}

}  // namespace

PanelSnapshot ShownPanel(const DeviceRecord& record) {
  PanelSnapshot p;
  for (const Setting& setting : kSettings) {
    if (setting.panel != nullptr) p.*setting.panel = setting.shown(record);
  }
  p.caption = MacToText(record.mac).text;
  p.newMacVisible = true;
  IpAssignMode checked = CheckedMode(record.ipAssign);
  p.pppoeChecked = checked == IpAssignMode::kPppoe;
  p.dhcpChecked = checked == IpAssignMode::kDhcp;
  return p;
}

int LeadingNumber(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

void ComposeRequestFor(const PanelSnapshot& panel, const DeviceRecord& record, RequestFrame& frame) {
  AppendMac(frame, TextBuffer(panel.caption).bytes);
  if (panel.newMacVisible) {
    TextBuffer temp(panel.newMac);
    if (std::strlen(temp.bytes) == 12 && TextsDiffer(temp.bytes, MacToText(record.mac).text)) AppendMac(frame, temp.bytes);
  }
  for (const Setting& setting : kSettings) {
    switch (setting.kind) {
      case SettingKind::kText:
        AppendTextIfChanged(frame, *setting.field, panel.*setting.panel, setting.shown(record));
        break;
      case SettingKind::kAddress:
        AppendAddressIfChanged(frame, *setting.field, panel.*setting.panel, setting.shown(record));
        break;
      case SettingKind::kPort:
        AppendPortIfChanged(frame, *setting.field, panel.*setting.panel, setting.shown(record));
        break;
      case SettingKind::kMac:
      case SettingKind::kVersion:
      case SettingKind::kMode: break;
    }
  }
  const uint8_t flags[4] = {static_cast<uint8_t>(panel.pppoeChecked ? 0x01 : 0xFF), 0xFF,
                            static_cast<uint8_t>(panel.dhcpChecked ? 0x01 : 0xFF), 0xFF};
  AppendField(frame, kIpAssignTemplate, flags);
}

int ComposeConfigurationRequest(const PanelSnapshot& panel, const DeviceTable& table, RequestFrame& frame) {
  int target = FindTarget(panel.caption, table);
  if (target != kNoSlot) ComposeRequestFor(panel, table.slots[target], frame);
  return target;
}

}  // namespace lumora
