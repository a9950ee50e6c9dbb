#include "tools/camsim/reply_encoding.h"

#include <cstring>

#include "protocol/packet_format.h"

namespace camsim {
namespace {

struct Field {
  uint8_t tag;
  std::vector<uint8_t> value;
};

std::vector<uint8_t> Raw(const uint8_t* bytes, std::size_t count) {
  return std::vector<uint8_t>(bytes, bytes + count);
}

std::vector<uint8_t> Padded(const std::string& text, std::size_t width) {
  std::vector<uint8_t> value(width, 0);
  std::memcpy(value.data(), text.data(), text.size() < width ? text.size() : width);
  return value;
}

// Replies carry ports as binary, low byte first (requests carry them as text).
std::vector<uint8_t> LittleEndian(uint16_t port) {
  return {static_cast<uint8_t>(port & 0xFF), static_cast<uint8_t>(port >> 8)};
}

std::vector<Field> ReplyFields(const CameraSettings& camera) {
  return {
      {lumora::kTagMac, Raw(camera.mac, 6)},
      {lumora::kTagName, Padded(camera.name, kNameWidth)},
      {lumora::kTagVersion, Padded(camera.version, kVersionWidth)},
      {lumora::kTagIp, Raw(camera.ip, 4)},
      {lumora::kTagMask, Raw(camera.mask, 4)},
      {lumora::kTagGateway, Raw(camera.gateway, 4)},
      {lumora::kTagHttpPort, LittleEndian(camera.httpPort)},
      {lumora::kTagAudioPort, LittleEndian(camera.audioPort)},
      {lumora::kTagIpAssign, Raw(camera.ipAssign, 4)},
      {lumora::kTagPppoeAccount, Padded(camera.pppoeAccount, kPppoeWidth)},
      {lumora::kTagPppoePassword, Padded(camera.pppoePassword, kPppoeWidth)},
  };
}

std::vector<uint8_t> Serialize(const std::vector<Field>& fields) {
  std::vector<uint8_t> out(lumora::kMagic, lumora::kMagic + lumora::kMagicSize);
  for (const Field& field : fields) {
    out.push_back(field.tag);
    out.push_back(static_cast<uint8_t>(field.value.size()));
    out.insert(out.end(), field.value.begin(), field.value.end());
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeReply(const CameraSettings& camera) {
  return Serialize(ReplyFields(camera));
}

bool ParseCraftedKind(const std::string& name, CraftedKind& kind) {
  static const struct {
    const char* name;
    CraftedKind kind;
  } kKinds[] = {
      {"no-magic", CraftedKind::kNoMagic}, {"unknown-tags", CraftedKind::kUnknownTags},
      {"tag0", CraftedKind::kTag0},        {"oversize", CraftedKind::kOversize},
      {"empty", CraftedKind::kEmpty},
  };
  for (const auto& entry : kKinds) {
    if (name == entry.name) {
      kind = entry.kind;
      return true;
    }
  }
  return false;
}

std::vector<uint8_t> BuildCrafted(CraftedKind kind, const CameraSettings& camera) {
  std::vector<Field> fields = ReplyFields(camera);
  std::vector<uint8_t> out;
  switch (kind) {
    case CraftedKind::kNoMagic:
      // Only the last magic byte differs, so a reader that compares fewer
      // than all five bytes takes this for a reply.
      out = Serialize(fields);
      out[lumora::kMagicSize - 1] = '1';
      break;
    case CraftedKind::kUnknownTags:
      // 0x16 sits right after the known port tags and 0x30 past all of them;
      // a reader must step over both by their length bytes.
      fields.insert(fields.begin() + 1, Field{0x16, {0xAA, 0xBB}});
      fields.insert(fields.begin() + 4, Field{0x30, {1, 2, 3, 4, 5, 6, 7}});
      out = Serialize(fields);
      break;
    case CraftedKind::kTag0:
      // MAC and name before the end tag, so a reader that goes on past it
      // shows a version and addresses it should not have read.
      fields.insert(fields.begin() + 2, Field{lumora::kTagEnd, {}});
      out = Serialize(fields);
      break;
    case CraftedKind::kOversize:
      // A whole reply at the front: whether the program drops or truncates
      // the datagram shows in its table.
      out = Serialize(fields);
      out.resize(kOversizeLength, 0);
      break;
    case CraftedKind::kEmpty:
      break;
  }
  return out;
}

std::vector<uint8_t> BuildSized(std::size_t size) {
  std::vector<uint8_t> out(size, 0);
  if (size >= lumora::kMagicSize) std::memcpy(out.data(), lumora::kMagic, lumora::kMagicSize);
  return out;
}

std::vector<uint8_t> BuildPayload(const SendRequest& request, const CameraSettings& camera) {
  switch (request.kind) {
    case SendRequest::Kind::kHex: return request.bytes;
    case SendRequest::Kind::kCrafted: return BuildCrafted(request.crafted, camera);
    case SendRequest::Kind::kSized: return BuildSized(request.size);
  }
  return {};
}

}  // namespace camsim
