#include "protocol/decode_reply.h"

#include <cstddef>
#include <cstring>

#include "protocol/byte_reader.h"
#include "protocol/ipv4.h"
#include "protocol/packet_format.h"

namespace lumora {
namespace {

void TakeAddress(const ByteReader& reply, std::size_t value, char (&text)[16]) {
  uint8_t bytes[4];
  reply.CopyZeroPadded(value, sizeof bytes, bytes);
  uint32_t address;
  std::memcpy(&address, bytes, sizeof address);
  const std::string dotted = Ipv4Text(address);
  std::memset(text, 0, sizeof text);
  std::memcpy(text, dotted.data(), dotted.size());
}

int32_t TakePort(const ByteReader& reply, std::size_t value) {
  uint8_t port[2];
  reply.CopyZeroPadded(value, sizeof port, port);
  return static_cast<int32_t>(port[0] | (port[1] << 8));
}

template <std::size_t N, typename Byte>
void TakeRaw(const ByteReader& reply, std::size_t value, Byte (&field)[N]) {
  static_assert(sizeof(Byte) == 1, "raw fields are byte arrays");
  reply.CopyZeroPadded(value, N, reinterpret_cast<uint8_t*>(field));
}

// Stores the field at `value` into the record; unknown tags have no effect.
void TakeField(const ByteReader& reply, uint8_t tag, std::size_t value, DeviceRecord& TempCb) {
  switch (tag) {
    case kTagMac: TakeRaw(reply, value, TempCb.mac); break;
    case kTagIp: TakeAddress(reply, value, TempCb.ipText); break;
    case kTagMask: TakeAddress(reply, value, TempCb.maskText); break;
    case kTagGateway: TakeAddress(reply, value, TempCb.gatewayText); break;
    case kTagHttpPort: TempCb.httpPort = TakePort(reply, value); break;
    case kTagAudioPort: TempCb.audioPort = TakePort(reply, value); break;
    case kTagIpAssign: TakeRaw(reply, value, TempCb.ipAssign); break;
    case kTagName: TakeRaw(reply, value, TempCb.name); break;
    case kTagVersion: TakeRaw(reply, value, TempCb.version); break;
    case kTagPppoeAccount: TakeRaw(reply, value, TempCb.pppoeAccount); break;
    case kTagPppoePassword: TakeRaw(reply, value, TempCb.pppoePassword); break;
    default: break;
  }
}

// The slot whose mac matches, else the free slot with the highest index, else
// kNoSlot. A free slot is all zero, so a zero mac matches the lowest free one.
int ChooseSlot(const DeviceTable& table, const uint8_t (&mac)[6]) {
  int freeSlot = kNoSlot;
  for (int i = 0; i < kTableSlots; ++i) {
    const DeviceRecord& slot = table.slots[i];
    if (slot.number == 0) freeSlot = i;
    if (std::memcmp(slot.mac, mac, sizeof mac) == 0) return i;
  }
  return freeSlot;
}

}  // namespace

bool ParseReply(const uint8_t* data, int length, DeviceRecord& record, CarriedTags& carried) {
  ByteReader reply(data, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (!reply.StartsWith(kMagic, kMagicSize)) return false;

  DeviceRecord& TempCb = record;
  std::memset(&TempCb, 0, sizeof TempCb);
  carried.tags.reset();
  std::size_t p = kMagicSize;
  while (reply.Has(p)) {
    uint8_t tag = reply.At(p);
    if (tag == kTagEnd || !reply.Has(p + 1)) break;
    TakeField(reply, tag, p + 2, TempCb);
    carried.tags.set(tag);
    p += 2 + reply.At(p + 1);
  }
  return true;
}

int StoreReply(SearchState* state, const DeviceRecord& record) {
  int slot = ChooseSlot(state->table, record.mac);
  if (slot == kNoSlot) return kNoSlot;
  state->table.slots[slot] = record;
  state->table.slots[slot].number = slot + 1;
  return slot;
}

int DecodeReply(SearchState* state, const uint8_t* data, int length) {
  DeviceRecord record;
  CarriedTags carried;
  if (!ParseReply(data, length, record, carried)) return kNoSlot;
  return StoreReply(state, record);
}

}  // namespace lumora
