// The configuration request: which camera "Submit" addresses and which of its
// settings the request carries, composed from what the details panel holds
// and the table as the camera last replied.
#pragma once

#include <string>

#include "protocol/device_record.h"
#include "protocol/packet_format.h"

namespace lumora {

// The panel as "Submit" finds it. Each text is what the control holds; it is
// used as a 256-byte zeroed buffer would hold it after GetWindowTextA with a
// limit of 256 (at most 255 characters, zero bytes after the text).
struct PanelSnapshot {
  std::string caption;  // the MAC group box: the shown camera's MAC text
  bool newMacVisible = false;
  std::string newMac;
  std::string name, ip, mask, gateway;
  std::string httpPort, audioPort;
  std::string pppoeAccount, pppoePassword;
  bool pppoeChecked = false;
  bool dhcpChecked = false;
};

// The panel as it shows `record`: texts bounded at their width (FieldText),
// ports as "%d", the caption and the new-MAC edit as the MAC text, the radio
// button the flags check. "Submit" compares what the operator leaves of it
// with the same record, so an untouched value is never sent.
PanelSnapshot ShownPanel(const DeviceRecord& record);

// Appends the request's fields at the frame's cursor, behind the magic the
// caller has written. The target is the lowest slot, used or free, whose MAC
// text equals the caption; when none does nothing is appended (the request is
// then the magic alone). Otherwise: the target MAC, a new MAC when the
// new-MAC edit is visible and holds 12 characters other than the target's
// MAC text, each setting whose text (or port number) differs from the
// record, and always the IP-assignment flags. Returns the target slot, or
// kNoSlot (decode_reply.h) when there is none.
int ComposeConfigurationRequest(const PanelSnapshot& panel, const DeviceTable& table, RequestFrame& frame);

// The same fields for `record`, the camera the caption names, without a
// table to find it in: what lumora set and the site plan send.
void ComposeRequestFor(const PanelSnapshot& panel, const DeviceRecord& record, RequestFrame& frame);

// The number at the start of `text` as the C runtime's atoi reads it (blanks,
// a sign, digits), held to the int range instead of overflowing.
int LeadingNumber(const char* text);

}  // namespace lumora
