// The value rules. The messages are the ones operators already know from
// set and apply; each front only names where the value came from.
#include "provisioning/value_rules.h"

#include <cctype>

#include "protocol/decimal_text.h"
#include "protocol/ip_assign.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "provisioning/sheet_text.h"

namespace lumora::provisioning {
namespace {

std::string Quoted(const std::string& value) { return "'" + value + "'"; }

std::string Shown(SettingId setting, const std::string& value) {
  return SettingOf(setting).secret ? "the value" : Quoted(value);
}

// Characters of UTF-8 text (a byte that does not continue one starts one).
std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

std::string TooLong(SettingId setting, const std::string& value) {
  return Shown(setting, value) + " is longer than the camera keeps (" + std::to_string(SettingWidth(SettingOf(setting))) +
         " bytes)";
}

constexpr char kNotAddress[] = " is not four decimal numbers 0..255 without leading zeros, such as 192.168.1.10";
constexpr char kNotPort[] = " is not a decimal port from 1 to 65535 without leading zeros";

// Where no camera can be reached: "this network", loopback, and multicast
// with the reserved block above it.
std::string UnreachableProblem(const std::string& value, uint32_t ip) {
  const uint32_t first = HostOrder(ip) >> 24;
  const char* block = nullptr;
  if (first == 0) block = "0.0.0.0/8 (this network)";
  else if (first == 127) block = "127.0.0.0/8 (loopback)";
  else if (first >= 224) block = "224.0.0.0/3 (multicast and reserved)";
  return block ? Quoted(value) + " is in " + block + ", where no camera can be reached" : "";
}

}  // namespace

std::optional<std::string> ReadMacDigits(const std::string& text) {
  if (text.size() != 12) return std::nullopt;
  std::string out = text;
  for (char& c : out) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

std::optional<MacAddress> ReadMacCell(const std::string& cell, std::string& message) {
  std::string digits = cell;
  if (cell.size() == 17 && (cell[2] == ':' || cell[2] == '-')) {
    std::string joined;
    bool oneSeparator = true;  // "00:11-22..." is not a MAC
    for (std::size_t i = 0; i < cell.size(); ++i) {
      if (i % 3 != 2) joined += cell[i];
      else oneSeparator = oneSeparator && cell[i] == cell[2];
    }
    if (oneSeparator) digits = joined;
  }
  if (std::optional<std::string> mac = ReadMacDigits(digits)) return MacOf(TextToMac(mac->c_str()).bytes);
  // Never padded or guessed: a guessed MAC could name another camera.
  const std::string cause = " (keep the mac column as text, or export with this version of lumora)";
  bool decimal = !cell.empty() && cell.size() < 12 && cell.find_first_not_of("0123456789") == std::string::npos;
  if (decimal) {
    message = cell + " is not a MAC; a spreadsheet may have read " + std::string(12 - cell.size(), '0') + cell +
              " as a number" + cause;
  } else if (ReadsAsNumber(cell)) {
    message = cell + " is not a MAC; a spreadsheet may have read a MAC as a number" + cause;
  } else {
    message = Quoted(cell) + " is not a MAC (12 hexadecimal digits, with : or - between the pairs or without)";
  }
  return std::nullopt;
}

std::string ValueProblem(SettingId setting, const std::string& value) {
  const Setting& s = SettingOf(setting);
  switch (s.kind) {
    case SettingKind::kMac: {
      std::string message;
      return ReadMacCell(value, message) ? "" : message;
    }
    case SettingKind::kVersion: return "";
    case SettingKind::kText:
      // The request carries the text up to its first zero byte.
      if (value.find('\0') != std::string::npos) return Shown(setting, value) + " holds a zero byte";
      return CharacterCount(value) > SettingWidth(s) ? TooLong(setting, value) : "";
    case SettingKind::kAddress: {
      uint32_t ip = 0;
      if (!ReadDecimalIpv4(value, ip)) return Quoted(value) + kNotAddress;
      if (setting == SettingId::kMask && !IsSubnetMask(ip)) {
        return Quoted(value) + " is not a subnet mask (its one bits do not run unbroken from the left)";
      }
      return "";
    }
    case SettingKind::kPort: {
      uint64_t port = 0;
      return ReadDecimal(value, 0, 65535, port) ? "" : Quoted(value) + kNotPort;
    }
    case SettingKind::kMode: {
      IpAssignMode mode;
      return ModeFromName(value, mode) ? "" : Quoted(value) + " is none of static, dhcp, pppoe";
    }
  }
  return "";
}

std::string SentValueProblem(SettingId setting, const std::string& value) {
  std::string problem = TypedValueProblem(setting, value);
  if (!problem.empty() || SettingOf(setting).kind != SettingKind::kText) return problem;
  return value.size() > SettingWidth(SettingOf(setting)) ? TooLong(setting, value) : "";
}

std::string TypedValueProblem(SettingId setting, const std::string& value) {
  std::string problem = ValueProblem(setting, value);
  if (!problem.empty()) return problem;
  uint32_t ip = 0;
  switch (setting) {
    case SettingId::kHttpPort:
    case SettingId::kAudioPort: {
      uint64_t port = 0;
      return ReadDecimal(value, 1, 65535, port) ? "" : Quoted(value) + kNotPort;
    }
    case SettingId::kMask:
      ReadDecimalIpv4(value, ip);
      if (ip == 0 || ip == 0xFFFFFFFFu) {
        return Quoted(value) + " leaves the camera no " + (ip == 0 ? "network" : "host") +
               ": give a mask from 128.0.0.0 to 255.255.255.254";
      }
      return "";
    case SettingId::kIp:
      ReadDecimalIpv4(value, ip);
      return UnreachableProblem(value, ip);
    default: return "";
  }
}

}  // namespace lumora::provisioning
