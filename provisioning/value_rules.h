// The rules a setting's value keeps, one set for every front: a plan's cell,
// `lumora set`'s and `lumora plan`'s options and the dialog's range form all
// ask here, and each puts its own place (line and column, option, field) in
// front of the same message. A secret's value is never repeated in one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "protocol/settings.h"
#include "provisioning/mac_address.h"

namespace lumora::provisioning {

// The 12 upper-case digits of a MAC written as 12 hexadecimal digits in
// either case; nullopt otherwise.
std::optional<std::string> ReadMacDigits(const std::string& text);

// The MAC of a cell written as 12 hexadecimal digits with ':' or '-' between
// the pairs, or with neither, in either case; nullopt otherwise, with
// `message` saying why (the wording for a MAC a spreadsheet turned into a
// number included).
std::optional<MacAddress> ReadMacCell(const std::string& cell, std::string& message);

// "" when `value` is one a camera may hold for `setting`: an address of four
// decimal numbers, a mask whose one bits run unbroken, a port 0..65535 (scan
// writes 0 for a camera that did not say its port, and a scan's own output
// is a plan), a mode's name, a text without a zero byte and of no more
// characters than its field has bytes (in another encoding the camera may
// hold it in as many bytes). Else the message.
std::string ValueProblem(SettingId setting, const std::string& value);

// "" when `value` may be sent for `setting`: ValueProblem's rules, and a
// text of at most its field's bytes as sent, a port from 1, a mask neither
// 0.0.0.0 nor 255.255.255.255, and a camera address outside 0.0.0.0/8,
// 127.0.0.0/8 and 224.0.0.0/3, where no camera can be reached. Whether the
// address is its network's or broadcast address depends on the mask the
// camera ends with, which MatchPlan knows.
std::string SentValueProblem(SettingId setting, const std::string& value);

// The rules of a value typed to be sent (an option, a form's field):
// SentValueProblem's, but a text's length as ValueProblem counts it, since
// whether a text is sent at all depends on what the camera holds.
std::string TypedValueProblem(SettingId setting, const std::string& value);

}  // namespace lumora::provisioning
