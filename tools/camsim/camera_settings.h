// One simulated camera's settings, the defaults a camera gets from its
// number, and the key=value text that --camera, --config and the control
// channel's `cameras` use for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

inline constexpr std::size_t kNameWidth = 16;
inline constexpr std::size_t kVersionWidth = 16;
inline constexpr std::size_t kPppoeWidth = 32;
inline constexpr std::size_t kMaxCameras = 1000;

// Texts hold at most their field width in bytes and never a NUL, so a text
// that fills its width goes on the wire with no terminator.
struct CameraSettings {
  std::string name;
  std::string version;
  uint8_t mac[6];
  uint8_t ip[4];
  uint8_t mask[4];
  uint8_t gateway[4];
  uint16_t httpPort;
  uint16_t audioPort;
  uint8_t ipAssign[4];
  std::string pppoeAccount;
  std::string pppoePassword;
};

bool operator==(const CameraSettings& a, const CameraSettings& b);
inline bool operator!=(const CameraSettings& a, const CameraSettings& b) { return !(a == b); }

// The settings of camera `number` (1-based) when nothing is given for it.
// Numbers past 255 carry into the byte before, so every default camera of a
// large burst still has its own MAC and address.
CameraSettings DefaultCamera(std::size_t number);

// Reads "key=value,key=value,..." over the defaults of camera `number`.
// Keys: name version mac ip mask gateway http audio assign account password.
// Texts may spell any byte as \xHH. On failure `error` names the bad key.
bool ParseCamera(const std::string& text, std::size_t number, CameraSettings& out,
                 std::string& error);

// A --config file's contents: one camera per line, blank lines and lines
// starting with # skipped. Cameras are numbered on from `firstNumber` and
// appended to `out`; `error` names the line.
bool ParseCameraList(const std::string& text, std::size_t firstNumber,
                     std::vector<CameraSettings>& out, std::string& error);

// The settings as "mac=...<sep>name=...<sep>..." in the order the control
// channel lists them. Bytes of texts that could not be read back (controls,
// space, ',', '=', '\', non-ASCII) are written as \xHH, so with ',' as the
// separator ParseCamera reads the line back to the same settings.
std::string FormatCamera(const CameraSettings& camera, char separator);

}  // namespace camsim
