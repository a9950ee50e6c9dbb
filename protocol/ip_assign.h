// The two readings of a camera's IP-assignment bytes (0xFF marks a byte as not
// set). The information text and the radio buttons read them by different
// tests, so for some bytes they name different modes; a configuration request
// writes its flags by the radio buttons' reading.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

enum class IpAssignMode { kStatic, kDhcp, kPppoe };

// The information text's reading: bytes 0 and 1 both set is PPPoE, else
// bytes 2 and 3 both set is DHCP, else static.
IpAssignMode ReportedMode(const uint8_t (&ipAssign)[4]);

// The radio buttons' reading: byte 0 set is PPPoE, else byte 2 set is DHCP,
// else static.
IpAssignMode CheckedMode(const uint8_t (&ipAssign)[4]);

// "static", "dhcp" or "pppoe": the words lumora and the site plan use.
const char* ModeName(IpAssignMode mode);

// The mode a word names; false for any other word.
bool ModeFromName(const std::string& name, IpAssignMode& out);

}  // namespace lumora
