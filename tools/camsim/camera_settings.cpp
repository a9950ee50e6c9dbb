#include "tools/camsim/camera_settings.h"

#include <cstdio>
#include <cstring>

#include "protocol/decimal_text.h"
#include "protocol/ipv4.h"
#include "protocol/mac_text.h"
#include "tools/camsim/hex.h"

namespace camsim {
namespace {

std::string Trim(const std::string& text) {
  const char* kSpace = " \t\r\n";
  std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(kSpace);
  return text.substr(first, last - first + 1);
}

bool ParseFixedHex(const std::string& text, std::size_t count, uint8_t* out) {
  if (text.size() != 2 * count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    int high = HexDigitValue(text[2 * i]);
    int low = HexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<uint8_t>((high << 4) | low);
  }
  return true;
}

// Each part as every camsim number reads, leading zeros as decimal: the
// product's ReadDecimalIpv4 would refuse "010".
bool ParseDotted(const std::string& text, uint8_t out[4]) {
  uint8_t parts[4];
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    std::size_t dot = text.find('.', start);
    if ((i < 3) != (dot != std::string::npos)) return false;
    std::string part = text.substr(start, i < 3 ? dot - start : std::string::npos);
    uint64_t value = 0;
    if (part.size() > 3 || !lumora::ReadDigits(part, 0, 255, value)) return false;
    parts[i] = static_cast<uint8_t>(value);
    start = dot + 1;
  }
  std::memcpy(out, parts, 4);
  return true;
}

// Undoes the \xHH escapes FormatCamera writes; a text may not hold a NUL,
// since the wire would cut it there anyway.
bool ParseText(const std::string& text, std::size_t width, std::string& out, std::string& why) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes.push_back(text[i]);
      continue;
    }
    int high = i + 3 < text.size() && text[i + 1] == 'x' ? HexDigitValue(text[i + 2]) : -1;
    int low = high < 0 ? -1 : HexDigitValue(text[i + 3]);
    if (high >= 0 && low >= 0) {
      if (high == 0 && low == 0) {
        why = "a text cannot hold \\x00";
        return false;
      }
      bytes.push_back(static_cast<char>((high << 4) | low));
      i += 3;
      continue;
    }
    why = "a backslash must start \\xHH";
    return false;
  }
  if (bytes.size() > width) {
    why = "longer than " + std::to_string(width) + " bytes";
    return false;
  }
  out = bytes;
  return true;
}

void AppendText(std::string& line, const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == ',' || c == '=' || c == '\\') {
      line += "\\x";
      line.push_back(kDigits[byte >> 4]);
      line.push_back(kDigits[byte & 0x0F]);
    } else {
      line.push_back(c);
    }
  }
}

std::string AddressText(const uint8_t address[4]) {
  uint32_t ip;
  std::memcpy(&ip, address, 4);
  return lumora::Ipv4Text(ip);
}

std::string FlagText(const uint8_t flags[4]) {
  char text[9];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X", flags[0], flags[1], flags[2], flags[3]);
  return text;
}

// Sets one key; `why` says what a bad value should look like.
bool SetKey(const std::string& key, const std::string& value, CameraSettings& camera,
            std::string& why) {
  uint64_t number = 0;
  if (key == "name") return ParseText(value, kNameWidth, camera.name, why);
  if (key == "version") return ParseText(value, kVersionWidth, camera.version, why);
  if (key == "account") return ParseText(value, kPppoeWidth, camera.pppoeAccount, why);
  if (key == "password") return ParseText(value, kPppoeWidth, camera.pppoePassword, why);
  if (key == "mac") {
    why = "expected 12 hex digits";
    return ParseFixedHex(value, 6, camera.mac);
  }
  if (key == "assign") {
    why = "expected 8 hex digits";
    return ParseFixedHex(value, 4, camera.ipAssign);
  }
  if (key == "ip" || key == "mask" || key == "gateway") {
    why = "expected a dotted address like 10.77.0.10";
    uint8_t* target = key == "ip" ? camera.ip : key == "mask" ? camera.mask : camera.gateway;
    return ParseDotted(value, target);
  }
  if (key == "http" || key == "audio") {
    why = "expected a port 0..65535";
    if (!lumora::ReadDigits(value, 0, 65535, number)) return false;
    (key == "http" ? camera.httpPort : camera.audioPort) = static_cast<uint16_t>(number);
    return true;
  }
  why = "unknown key (known: name version mac ip mask gateway http audio assign account "
        "password)";
  return false;
}

}  // namespace

bool operator==(const CameraSettings& a, const CameraSettings& b) {
  return a.name == b.name && a.version == b.version && std::memcmp(a.mac, b.mac, 6) == 0 &&
         std::memcmp(a.ip, b.ip, 4) == 0 && std::memcmp(a.mask, b.mask, 4) == 0 &&
         std::memcmp(a.gateway, b.gateway, 4) == 0 && a.httpPort == b.httpPort &&
         a.audioPort == b.audioPort && std::memcmp(a.ipAssign, b.ipAssign, 4) == 0 &&
         a.pppoeAccount == b.pppoeAccount && a.pppoePassword == b.pppoePassword;
}

CameraSettings DefaultCamera(std::size_t number) {
  CameraSettings camera;
  camera.name = "Camera-" + std::to_string(number);
  camera.version = "V2.6.0";
  const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, static_cast<uint8_t>(0x4D + (number >> 8)),
                          static_cast<uint8_t>(number & 0xFF)};
  std::memcpy(camera.mac, mac, sizeof mac);
  std::size_t host = 100 + number;
  const uint8_t ip[4] = {10, 77, static_cast<uint8_t>(host >> 8),
                         static_cast<uint8_t>(host & 0xFF)};
  std::memcpy(camera.ip, ip, sizeof ip);
  const uint8_t mask[4] = {255, 255, 255, 0};
  std::memcpy(camera.mask, mask, sizeof mask);
  const uint8_t gateway[4] = {10, 77, 0, 1};
  std::memcpy(camera.gateway, gateway, sizeof gateway);
  camera.httpPort = 80;
  camera.audioPort = 8000;
  std::memset(camera.ipAssign, 0xFF, sizeof camera.ipAssign);
  return camera;
}

bool ParseCamera(const std::string& text, std::size_t number, CameraSettings& out,
                 std::string& error) {
  CameraSettings camera = DefaultCamera(number);
  std::vector<std::string> seen;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string item = Trim(text.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) continue;
    std::size_t equals = item.find('=');
    if (equals == std::string::npos) {
      error = "'" + item + "' is not key=value";
      return false;
    }
    std::string key = Trim(item.substr(0, equals));
    std::string value = Trim(item.substr(equals + 1));
    for (const std::string& earlier : seen) {
      if (earlier == key) {
        error = "key '" + key + "' given twice";
        return false;
      }
    }
    seen.push_back(key);
    std::string why;
    if (!SetKey(key, value, camera, why)) {
      error = "bad value for key '" + key + "': \"" + value + "\" (" + why + ")";
      return false;
    }
  }
  out = camera;
  return true;
}

bool ParseCameraList(const std::string& text, std::size_t firstNumber,
                     std::vector<CameraSettings>& out, std::string& error) {
  std::size_t start = 0;
  std::size_t lineNumber = 0;
  std::size_t number = firstNumber;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    CameraSettings camera;
    std::string why;
    if (!ParseCamera(line, number, camera, why)) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      return false;
    }
    out.push_back(camera);
    ++number;
  }
  return true;
}

std::string FormatCamera(const CameraSettings& camera, char separator) {
  std::string line = "mac=";
  line += lumora::MacToText(camera.mac).text;
  line += separator;
  line += "name=";
  AppendText(line, camera.name);
  line += separator;
  line += "ip=" + AddressText(camera.ip);
  line += separator;
  line += "mask=" + AddressText(camera.mask);
  line += separator;
  line += "gateway=" + AddressText(camera.gateway);
  line += separator;
  line += "http=" + std::to_string(camera.httpPort);
  line += separator;
  line += "audio=" + std::to_string(camera.audioPort);
  line += separator;
  line += "assign=" + FlagText(camera.ipAssign);
  line += separator;
  line += "account=";
  AppendText(line, camera.pppoeAccount);
  line += separator;
  line += "password=";
  AppendText(line, camera.pppoePassword);
  line += separator;
  line += "version=";
  AppendText(line, camera.version);
  return line;
}

}  // namespace camsim
