// The datagrams camsim sends: camera replies, the deliberately malformed
// ones that exercise the program's reader, and plain sized fillers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/camsim/camera_settings.h"

namespace camsim {

// The magic and the camera's eleven fields in the order real cameras send
// them, each at its own width; nothing after the last field.
std::vector<uint8_t> EncodeReply(const CameraSettings& camera);

enum class CraftedKind {
  kNoMagic,      // a reply whose fifth magic byte is wrong
  kUnknownTags,  // a reply with tags 0x16 and 0x30 among the known fields
  kTag0,         // a reply with an end tag after the name, more fields behind it
  kOversize,     // 3001 bytes: a reply padded with zeros
  kEmpty,        // no bytes at all
};

inline constexpr std::size_t kOversizeLength = 3001;
inline constexpr std::size_t kMaxSendSize = 65000;

// "no-magic", "unknown-tags", "tag0", "oversize", "empty".
bool ParseCraftedKind(const std::string& name, CraftedKind& kind);

std::vector<uint8_t> BuildCrafted(CraftedKind kind, const CameraSettings& camera);

// `size` bytes: the magic first when there is room for it, zeros after.
std::vector<uint8_t> BuildSized(std::size_t size);

// A one-shot send as the options and the control channel ask for it.
struct SendRequest {
  enum class Kind { kHex, kCrafted, kSized };
  Kind kind = Kind::kHex;
  std::vector<uint8_t> bytes;  // kHex
  CraftedKind crafted = CraftedKind::kEmpty;
  std::size_t size = 0;  // kSized
};

// Crafted replies are built from `camera`, the simulator's first camera.
std::vector<uint8_t> BuildPayload(const SendRequest& request, const CameraSettings& camera);

}  // namespace camsim
