#include "protocol/packet_format.h"

#include <cstring>

namespace lumora {
namespace {

// Tag and length byte; the rest of each array is zero-initialised.
constexpr uint8_t kMacBytes[8] = {kTagMac, 6};
constexpr uint8_t kIpBytes[6] = {kTagIp, 4};
constexpr uint8_t kMaskBytes[6] = {kTagMask, 4};
constexpr uint8_t kGatewayBytes[6] = {kTagGateway, 4};
constexpr uint8_t kHttpPortBytes[7] = {kTagHttpPort, 5};
constexpr uint8_t kAudioPortBytes[7] = {kTagAudioPort, 5};
constexpr uint8_t kIpAssignBytes[6] = {kTagIpAssign, 4};
constexpr uint8_t kNameBytes[18] = {kTagName, 16};
constexpr uint8_t kVersionBytes[18] = {kTagVersion, 16};
constexpr uint8_t kPppoeAccountBytes[34] = {kTagPppoeAccount, 32};
constexpr uint8_t kPppoePasswordBytes[34] = {kTagPppoePassword, 32};

}  // namespace

const FieldTemplate kMacTemplate = {kMacBytes, sizeof kMacBytes};
const FieldTemplate kIpTemplate = {kIpBytes, sizeof kIpBytes};
const FieldTemplate kMaskTemplate = {kMaskBytes, sizeof kMaskBytes};
const FieldTemplate kGatewayTemplate = {kGatewayBytes, sizeof kGatewayBytes};
const FieldTemplate kHttpPortTemplate = {kHttpPortBytes, sizeof kHttpPortBytes};
const FieldTemplate kAudioPortTemplate = {kAudioPortBytes, sizeof kAudioPortBytes};
const FieldTemplate kIpAssignTemplate = {kIpAssignBytes, sizeof kIpAssignBytes};
const FieldTemplate kNameTemplate = {kNameBytes, sizeof kNameBytes};
const FieldTemplate kVersionTemplate = {kVersionBytes, sizeof kVersionBytes};
const FieldTemplate kPppoeAccountTemplate = {kPppoeAccountBytes, sizeof kPppoeAccountBytes};
const FieldTemplate kPppoePasswordTemplate = {kPppoePasswordBytes, sizeof kPppoePasswordBytes};

void StartRequest(RequestFrame& frame) {
  std::memset(frame.bytes, 0, sizeof frame.bytes);
  std::memcpy(frame.bytes, kMagic, kMagicSize);
  frame.cursor = kMagicSize;
}

bool AppendField(RequestFrame& frame, const FieldTemplate& tmpl, const void* value) {
  if (frame.cursor > kRequestSize || tmpl.size > kRequestSize - frame.cursor) return false;
  uint8_t* at = frame.bytes + frame.cursor;
  if (value == nullptr) {
    std::memcpy(at, tmpl.bytes, tmpl.size);
  } else {
    std::memcpy(at, tmpl.bytes, 2);
    std::memcpy(at + 2, value, tmpl.length());
  }
  frame.cursor += tmpl.size;
  return true;
}

void BuildSearchRequest(RequestFrame& frame) {
  static const FieldTemplate* const kSearchFields[] = {
      &kNameTemplate,      &kMacTemplate,       &kVersionTemplate,     &kIpTemplate,
      &kMaskTemplate,      &kGatewayTemplate,   &kHttpPortTemplate,    &kAudioPortTemplate,
      &kIpAssignTemplate,  &kPppoeAccountTemplate, &kPppoePasswordTemplate,
  };
  StartRequest(frame);
  for (const FieldTemplate* field : kSearchFields) AppendField(frame, *field);
}

}  // namespace lumora
