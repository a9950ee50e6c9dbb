// What a received datagram asks of the simulator, and how a configuration
// request changes the camera it names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/camsim/camera_settings.h"

namespace camsim {

enum class DatagramKind {
  kNoMagic,        // ignored
  kNoFields,       // the magic alone, or an end tag right after it: ignored
  kSearch,         // answered by every camera
  kConfiguration,  // the first field is a MAC: changes the camera it names
};

DatagramKind ClassifyDatagram(const uint8_t* data, std::size_t size);

// The settings a configuration request carries; an empty member stays as it is.
struct ConfigurationChange {
  std::array<uint8_t, 6> target{};
  std::optional<std::array<uint8_t, 6>> mac;
  std::optional<std::string> name;
  std::optional<std::array<uint8_t, 4>> ip;
  std::optional<std::array<uint8_t, 4>> mask;
  std::optional<std::array<uint8_t, 4>> gateway;
  std::optional<uint16_t> httpPort;
  std::optional<uint16_t> audioPort;
  std::optional<std::array<uint8_t, 4>> ipAssign;
  std::optional<std::string> pppoeAccount;
  std::optional<std::string> pppoePassword;
};

// Walks the fields by their length bytes up to an end tag or the end of the
// data; a field whose value was not wholly received ends the walk unread.
// The first field names the target; any later MAC field is the new MAC.
// Texts are cut at their width and at the first NUL, ports are decimal text,
// addresses and flags need all four bytes. False when the datagram is no
// configuration request or its target MAC is not all there.
bool ReadConfiguration(const uint8_t* data, std::size_t size, ConfigurationChange& change);

void ApplyChange(const ConfigurationChange& change, CameraSettings& camera);

// The port a request spells as text: its leading digits (at most five, as
// the field is five bytes) modulo 65536; 0 when it starts with no digit.
uint16_t PortFromText(const uint8_t* value, std::size_t length);

// Applies the request to every camera whose MAC is the target (two cameras
// configured with the same MAC both hear it, as on a real network). Returns
// the indexes of the cameras changed; none when the request names no camera.
std::vector<std::size_t> ApplyConfiguration(const uint8_t* data, std::size_t size,
                                            std::vector<CameraSettings>& cameras);

}  // namespace camsim
