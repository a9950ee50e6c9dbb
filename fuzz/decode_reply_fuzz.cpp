// Fuzz entry for the reply decoder: any bytes, decoded into a table that
// persists across inputs so that slot choice is exercised too; after every
// input the table's invariants must hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "protocol/decode_reply.h"

namespace {

lumora::SearchState& State() {
  static lumora::SearchState state;
  return state;
}

bool IsFree(const lumora::DeviceRecord& slot) {
  static const lumora::DeviceRecord kZero{};
  return std::memcmp(&slot, &kZero, sizeof kZero) == 0;
}

bool Terminated(const char* text, std::size_t width) { return std::memchr(text, 0, width) != nullptr; }

// Every slot: free slots all zero, used slots numbered by their index with
// terminated addresses. The slot just written: its MAC nowhere else in use.
void CheckTable(const lumora::DeviceTable& table, int written) {
  for (int i = 0; i < lumora::kTableSlots; ++i) {
    const lumora::DeviceRecord& slot = table.slots[i];
    if (slot.number == 0) {
      if (!IsFree(slot)) std::abort();
      continue;
    }
    if (slot.number != i + 1) std::abort();
    if (!Terminated(slot.ipText, 16) || !Terminated(slot.maskText, 16) || !Terminated(slot.gatewayText, 16)) {
      std::abort();
    }
    if (slot.httpPort < 0 || slot.httpPort > 65535 || slot.audioPort < 0 || slot.audioPort > 65535) std::abort();
    if (written != lumora::kNoSlot && i != written &&
        std::memcmp(slot.mac, table.slots[written].mac, 6) == 0) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  lumora::SearchState& state = State();
  int length = size > 65535 ? 65535 : static_cast<int>(size);
  int slot = lumora::DecodeReply(&state, data, length);
  if (slot != lumora::kNoSlot && (slot < 0 || slot >= lumora::kTableSlots)) std::abort();
  CheckTable(state.table, slot);
  // Start again now and then, so that inputs also meet an empty table.
  if (state.table.slots[0].number != 0) lumora::ZeroTable(state.table);
  return 0;
}
